// Field-by-field copies between the type-library records and the device features' records.
#pragma once
#include <ServerLib.h>

#include "middleware/objects/device/device_records.h"

namespace quill::server {

inline device::SensitivityRecord FromTypelib(const _stSensitivityType& in) {
  return {in.ulXSensitivity, in.ulYSensitivity};
}
inline void ToTypelib(const device::SensitivityRecord& in, _stSensitivityType& out) {
  out.ulXSensitivity = in.ulXSensitivity;
  out.ulYSensitivity = in.ulYSensitivity;
}

device::DpiStageRecord FromTypelib(const _stDpiStageType& in);
void ToTypelib(const device::DpiStageRecord& in, _stDpiStageType& out);

}  // namespace quill::server

namespace quill::server {

// _TButtonMappingInfo: the union is read and written as its action (type and three words).
device::ButtonMappingRecord FromTypelib(const _TButtonMappingInfo& in);
void ToTypelib(const device::ButtonMappingRecord& in, _TButtonMappingInfo& out);

}  // namespace quill::server

namespace quill::server {

device::MacroElementRecord FromTypelib(const _TMacroElement& in);
void ToTypelib(const device::MacroElementRecord& in, _TMacroElement& out);
// The elements are params.ppMappings-style: (*in.ppElements)[0 .. lNumElements - 1].
// E_POINTER for elements without an array, E_INVALIDARG for a negative count.
HRESULT FromTypelib(const _TMacroParams& in, device::MacroRecord& out);
// The elements go to a new CoTaskMem array stored in *out.ppElements (the caller's to free);
// the icon file cell, when there is one, is set to null: the device stores no icon.
// E_POINTER without an element cell, E_OUTOFMEMORY when the array cannot be allocated.
HRESULT ToTypelib(const device::MacroRecord& in, _TMacroParams& out);

}  // namespace quill::server
