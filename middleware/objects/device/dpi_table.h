// The per-profile DPI table an IMeridex object keeps for its device-event reaction, and its
// load (IMeridexDpiTable::LoadDpiTable).
#pragma once
#include <array>
#include <cstdint>
#include <optional>

#include "middleware/objects/device/device_records.h"
#include "middleware/transport/feature_channel.h"
#include "middleware/typelib/hresult_codes.h"

namespace quill::device {

struct DpiTable {
  int32_t current_slot = 0;
  // Index slot - 1; empty where no record was read.
  std::array<std::optional<DpiStageRecord>, kProfileSlots> records;
  bool loaded = false;

  void Clear() {
    for (auto& record : records) record.reset();
    loaded = false;
  }
  // The record of slot 1 to 5, or null.
  DpiStageRecord* Record(int32_t slot) {
    return ValidSlot(slot) && records[static_cast<size_t>(slot - 1)]
               ? &*records[static_cast<size_t>(slot - 1)]
               : nullptr;
  }
};

// E_FAIL for EXCLUDED_PID (table untouched). Otherwise clears the table, stores the active slot
// as the current one (kept when that read fails), then for each index 0 to 4 takes the profile
// of that index and, when its stages can be read, stores them in its slot's entry with the
// current DPI in CurrentDpiStage. Marks the table loaded and returns the result of the last
// profile lookup (E_FAIL whenever fewer than five profiles exist).
HResult LoadDpiTable(FeatureChannel& channel, uint16_t product_id, DpiTable& table);

}  // namespace quill::device
