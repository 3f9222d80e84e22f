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

#include "winsupport/co_task_string.h"

namespace quill::server {

device::MacroElementRecord FromTypelib(const _TMacroElement& in) {
  device::MacroElementRecord out;
  out.actionType = in.action.actionType;
  for (size_t i = 0; i < out.info.size(); ++i) out.info[i] = in.action.info.alWords[i];
  out.lDelayMs = in.lDelayMs;
  out.lHoldMs = in.lHoldMs;
  return out;
}

void ToTypelib(const device::MacroElementRecord& in, _TMacroElement& out) {
  out.action.actionType = static_cast<_TButtonActionType>(in.actionType);
  for (size_t i = 0; i < in.info.size(); ++i) out.action.info.alWords[i] = in.info[i];
  out.lDelayMs = in.lDelayMs;
  out.lHoldMs = in.lHoldMs;
}

HRESULT FromTypelib(const _TMacroParams& in, device::MacroRecord& out) {
  if (in.lNumElements < 0) return E_INVALIDARG;
  if (in.lNumElements > 0 && (!in.ppElements || !*in.ppElements)) return E_POINTER;
  out.lVersion = in.lVersion;
  out.options = in.options;
  out.type = in.type;
  out.FixedDelay = in.FixedDelay;
  out.lRepeat = in.lRepeat;
  out.elements.clear();
  try {
    out.elements.reserve(static_cast<size_t>(in.lNumElements));
    for (LONG i = 0; i < in.lNumElements; ++i) out.elements.push_back(FromTypelib((*in.ppElements)[i]));
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

HRESULT ToTypelib(const device::MacroRecord& in, _TMacroParams& out) {
  if (!out.ppElements) return E_POINTER;
  *out.ppElements = nullptr;
  out.lNumElements = 0;
  com::CoTaskMemPtr<_TMacroElement> elements;
  if (!in.elements.empty()) {
    if (in.elements.size() > 0x7FFFFFFF / sizeof(_TMacroElement)) return E_OUTOFMEMORY;
    elements.Reset(static_cast<_TMacroElement*>(CoTaskMemAlloc(in.elements.size() * sizeof(_TMacroElement))));
    if (!elements.Get()) return E_OUTOFMEMORY;
    for (size_t i = 0; i < in.elements.size(); ++i) ToTypelib(in.elements[i], elements.Get()[i]);
  }
  out.lVersion = in.lVersion;
  out.options = static_cast<_TMacroOptions>(in.options);
  out.type = static_cast<_TMacroType>(in.type);
  out.FixedDelay = in.FixedDelay;
  out.lRepeat = in.lRepeat;
  if (out.ppszIconFile) *out.ppszIconFile = nullptr;
  out.lNumElements = static_cast<LONG>(in.elements.size());
  *out.ppElements = elements.Detach();
  return S_OK;
}

}  // namespace quill::server
