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
