#include "middleware/objects/win/features/device_event_reaction.h"

#include "middleware/objects/device/profile_manager.h"
#include "middleware/transport/commands.h"

namespace quill::server {

std::optional<_TMeridexInfoType> ReactToDeviceEvent(DriverHandler& handler,
                                                    const std::u16string& path,
                                                    device::DpiTable& table) {
  int32_t active = 0;
  const bool known = Succeeded(device::GetActiveProfileNumber(handler, active));
  if (known && active != table.current_slot) {
    if (table.loaded) {
      table.current_slot = active;
      // The device switches to the profile's default stage.
      if (device::DpiStageRecord* record = table.Record(active)) {
        const int32_t stage = record->lDefaultStage;
        if (stage >= 1 && stage <= static_cast<int32_t>(kMaxDpiStages)) {
          record->CurrentDpiStage = record->Sensitivity[static_cast<size_t>(stage - 1)];
        }
      }
    }
    return _TMeridexInfoType{2, 0, 0, active};
  }

  FeatureReport report = BuildPerformanceRead();
  if (Failed(handler.GetFeatureRawEx(path, report, report.size(), false))) return std::nullopt;
  const Performance performance = ParsePerformance(report);
  const device::SensitivityRecord now{CodeToDpi(performance.dpi_x_code),
                                      CodeToDpi(performance.dpi_y_code)};
  device::DpiStageRecord* record = table.Record(known ? active : 1);
  if (!record || record->CurrentDpiStage == now) return std::nullopt;
  record->CurrentDpiStage = now;
  return _TMeridexInfoType{1, static_cast<LONG>(now.ulXSensitivity),
                           static_cast<LONG>(now.ulYSensitivity), 0};
}

}  // namespace quill::server
