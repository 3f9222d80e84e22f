#include "middleware/objects/device/dpi_table.h"

#include "middleware/objects/device/performance_features.h"
#include "middleware/objects/device/profile_manager.h"
#include "middleware/transport/device_ids.h"

namespace quill::device {

HResult LoadDpiTable(FeatureChannel& channel, uint16_t product_id, DpiTable& table) {
  if (product_id == EXCLUDED_PID) return kE_FAIL;
  table.Clear();
  int32_t active = 0;
  if (Succeeded(GetActiveProfileNumber(channel, active))) table.current_slot = active;

  HResult hr = kS_OK;
  for (int32_t index = 0; index < static_cast<int32_t>(kProfileSlots); ++index) {
    int32_t slot = 0;
    hr = GetProfileByIndex(channel, index, slot);
    if (Failed(hr)) continue;
    DpiStageRecord record;
    bool filled = false;
    const HResult stages = GetDpiStages(channel, slot, record, filled);
    if (!filled) continue;
    if (Succeeded(stages)) GetDpiLevel(channel, record.CurrentDpiStage);
    table.records[static_cast<size_t>(slot - 1)] = record;
  }
  table.loaded = true;
  return hr;
}

}  // namespace quill::device
