#include "middleware/objects/device/performance_features.h"

#include <algorithm>

#include "middleware/objects/device/channel_io.h"
#include "middleware/transport/commands.h"

namespace quill::device {
namespace {

constexpr uint8_t kPerformanceWriteLength = commands::kPerformanceWrite.length;
constexpr uint8_t kProfileWriteLength = commands::kProfileWrite.length;

bool LevelFits(const SensitivityRecord& level) {
  return DpiFitsCode(level.ulXSensitivity) && DpiFitsCode(level.ulYSensitivity);
}

constexpr size_t StageX(size_t index) { return kBlockStages + 2 * index; }
constexpr size_t StageY(size_t index) { return kBlockStages + 2 * index + 1; }

bool ValidStageNumber(int32_t stage) {
  return stage >= 1 && stage <= static_cast<int32_t>(kMaxDpiStages);
}

HResult CheckStages(const DpiStageRecord& stages) {
  if (stages.ulTotalStages > kMaxDpiStages) return kE_INVALIDARG;
  for (size_t i = 0; i < stages.ulTotalStages; ++i)
    if (!LevelFits(stages.Sensitivity[i])) return kE_INVALIDARG;
  if (!ValidStageNumber(stages.lDefaultStage) || !ValidStageNumber(stages.lCurrentStage))
    return kE_INVALIDARG;
  return kS_OK;
}

}  // namespace

HResult GetDpiLevel(FeatureChannel& channel, SensitivityRecord& level) {
  FeatureReport report = BuildPerformanceRead();
  const HResult hr = ReadReport(channel, report);
  if (Failed(hr)) return hr;
  const Performance performance = ParsePerformance(report);
  level.ulXSensitivity = CodeToDpi(performance.dpi_x_code);
  level.ulYSensitivity = CodeToDpi(performance.dpi_y_code);
  return hr;
}

HResult SetDpiLevel(FeatureChannel& channel, const SensitivityRecord& level) {
  if (!LevelFits(level)) return kE_INVALIDARG;
  return ReadModifyWrite(channel, BuildPerformanceRead(), kPerformanceWriteLength,
                         [&](FeatureReport& report) {
                           Performance performance = ParsePerformance(report);
                           performance.dpi_x_code = DpiToCode(level.ulXSensitivity);
                           performance.dpi_y_code = DpiToCode(level.ulYSensitivity);
                           StorePerformance(report, performance);
                         });
}

HResult GetDpiStages(FeatureChannel& channel, int32_t slot, DpiStageRecord& stages, bool& filled) {
  filled = false;
  if (!ValidFeatureSlot(slot)) return kE_INVALIDARG;
  FeatureReport report = BuildProfileRead(static_cast<uint8_t>(slot));
  HResult hr = ReadReport(channel, report);
  if (Failed(hr)) return hr;

  const size_t count = std::min<size_t>(report[kBlockStageCount], kMaxDpiStages);
  stages.ulTotalStages = static_cast<uint32_t>(count);
  stages.lDefaultStage = report[kBlockDefaultStage];
  for (size_t i = 0; i < count; ++i) {
    stages.Sensitivity[i].ulXSensitivity = CodeToDpi(report[StageX(i)]);
    stages.Sensitivity[i].ulYSensitivity = CodeToDpi(report[StageY(i)]);
  }
  filled = true;

  FeatureReport performance = BuildPerformanceRead();
  hr = ReadReport(channel, performance);
  if (Succeeded(hr)) stages.lCurrentStage = ParsePerformance(performance).dpi_stage;
  return hr;
}

HResult SetDpiStages(FeatureChannel& channel, int32_t slot, const DpiStageRecord& stages) {
  if (!ValidFeatureSlot(slot)) return kE_INVALIDARG;
  HResult hr = CheckStages(stages);
  if (Failed(hr)) return hr;

  // The codes of the current stage as they go to the device: new ones for the stages written,
  // the reported ones for a stage beyond the new count.
  uint8_t current_x = 0, current_y = 0;
  const size_t current = static_cast<size_t>(stages.lCurrentStage - 1);
  hr = ReadModifyWrite(channel, BuildProfileRead(static_cast<uint8_t>(slot)), kProfileWriteLength,
                       [&](FeatureReport& report) {
                         report[kBlockStageCount] = static_cast<uint8_t>(stages.ulTotalStages);
                         report[kBlockDefaultStage] = static_cast<uint8_t>(stages.lDefaultStage);
                         for (size_t i = 0; i < stages.ulTotalStages; ++i) {
                           report[StageX(i)] = DpiToCode(stages.Sensitivity[i].ulXSensitivity);
                           report[StageY(i)] = DpiToCode(stages.Sensitivity[i].ulYSensitivity);
                         }
                         current_x = report[StageX(current)];
                         current_y = report[StageY(current)];
                       });
  if (Failed(hr)) return hr;

  FeatureReport report = BuildPerformanceRead();
  hr = ReadReport(channel, report);
  if (Failed(hr)) return hr;
  Performance performance = ParsePerformance(report);
  if (performance.active_slot != slot) return kS_OK;  // an inactive profile keeps the current DPI

  PrepareWriteFromReply(report, kPerformanceWriteLength);
  performance.dpi_stage = static_cast<uint8_t>(stages.lCurrentStage);
  performance.dpi_x_code = current_x;
  performance.dpi_y_code = current_y;
  StorePerformance(report, performance);
  return WriteReport(channel, report);
}

HResult GetRate(FeatureChannel& channel, int32_t& rate) {
  FeatureReport report = BuildPerformanceRead();
  const HResult hr = ReadReport(channel, report, /*recover=*/true);
  if (Failed(hr)) return hr;
  const std::optional<uint32_t> hz = PollingCodeToRate(ParsePerformance(report).polling_code);
  if (!hz) return kE_FAIL;
  rate = static_cast<int32_t>(*hz);
  return hr;
}

HResult SetRate(FeatureChannel& channel, int32_t rate) {
  const std::optional<uint8_t> code =
      rate > 0 ? PollingRateToCode(static_cast<uint32_t>(rate)) : std::nullopt;
  if (!code) return kE_INVALIDARG;
  return ReadModifyWrite(channel, BuildPerformanceRead(), kPerformanceWriteLength,
                         [&](FeatureReport& report) {
                           Performance performance = ParsePerformance(report);
                           performance.polling_code = *code;
                           StorePerformance(report, performance);
                         });
}

HResult GetLedStatus(FeatureChannel& channel, int32_t slot, int32_t& status) {
  if (!ValidFeatureSlot(slot)) return kE_INVALIDARG;
  FeatureReport report = BuildProfileRead(static_cast<uint8_t>(slot));
  const HResult hr = ReadReport(channel, report);
  if (Succeeded(hr)) status = report[kBlockLedBits];
  return hr;
}

HResult SetLedStatus(FeatureChannel& channel, int32_t slot, int32_t status) {
  if (!ValidFeatureSlot(slot)) return kE_INVALIDARG;
  return ReadModifyWrite(channel, BuildProfileRead(static_cast<uint8_t>(slot)),
                         kProfileWriteLength, [&](FeatureReport& report) {
                           report[kBlockLedBits] = static_cast<uint8_t>(status & 0xFF);
                         });
}

}  // namespace quill::device
