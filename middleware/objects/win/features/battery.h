// CBattery (IBattery): this mouse is wired; neither query is provided.
#pragma once
#include <ServerLib.h>

#include "middleware/objects/win/com/com_object.h"
#include "middleware/objects/win/com/connection_point.h"

namespace quill::server {

class CDeviceType;

class CBattery final : public com::ComObject<IBattery, com::EventSource<_IBatteryEvents>> {
 public:
  explicit CBattery(CDeviceType&) {}

  STDMETHODIMP GetRemaingPower(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP IsCharging(LONG*) override { return E_NOTIMPL; }
};

}  // namespace quill::server
