#include "middleware/objects/win/features/record_copy.h"

#include <cstddef>

namespace quill::server {

static_assert(sizeof(_stDpiStageType::Sensitivity) / sizeof(_stSensitivityType) ==
              device::DpiStageRecord{}.Sensitivity.size());

device::DpiStageRecord FromTypelib(const _stDpiStageType& in) {
  device::DpiStageRecord out;
  out.ulTotalStages = in.ulTotalStages;
  out.CurrentDpiStage = FromTypelib(in.CurrentDpiStage);
  out.lCurrentStage = in.lCurrentStage;
  out.lDefaultStage = in.lDefaultStage;
  for (size_t i = 0; i < out.Sensitivity.size(); ++i) out.Sensitivity[i] = FromTypelib(in.Sensitivity[i]);
  return out;
}

void ToTypelib(const device::DpiStageRecord& in, _stDpiStageType& out) {
  out.ulTotalStages = in.ulTotalStages;
  ToTypelib(in.CurrentDpiStage, out.CurrentDpiStage);
  out.lCurrentStage = in.lCurrentStage;
  out.lDefaultStage = in.lDefaultStage;
  for (size_t i = 0; i < in.Sensitivity.size(); ++i) ToTypelib(in.Sensitivity[i], out.Sensitivity[i]);
}

}  // namespace quill::server

namespace quill::server {

device::ButtonMappingRecord FromTypelib(const _TButtonMappingInfo& in) {
  device::ButtonMappingRecord out;
  out.lButton = in.lButton;
  out.mappingType = in.mappingType;
  out.actionType = in.actionOrMacro.actionInfo.actionType;
  for (size_t i = 0; i < out.info.size(); ++i) out.info[i] = in.actionOrMacro.actionInfo.info.alWords[i];
  return out;
}

void ToTypelib(const device::ButtonMappingRecord& in, _TButtonMappingInfo& out) {
  out.lButton = in.lButton;
  out.mappingType = static_cast<_TButtonMappingType>(in.mappingType);
  out.actionOrMacro.actionInfo.actionType = static_cast<_TButtonActionType>(in.actionType);
  for (size_t i = 0; i < in.info.size(); ++i) out.actionOrMacro.actionInfo.info.alWords[i] = in.info[i];
}

}  // namespace quill::server
