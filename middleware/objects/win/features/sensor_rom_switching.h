// CSensorRomSwitching (ISensorRomSwitching): the sensor-ROM status byte of command 0x30.
#pragma once
#include <ServerLib.h>

#include "middleware/objects/win/com/com_object.h"
#include "middleware/objects/win/com/connection_point.h"
#include "middleware/objects/win/features/device_bound.h"

namespace quill::server {

class CSensorRomSwitching final
    : public com::ComObject<ISensorRomSwitching, com::EventSource<_ISensorRomSwitchingEvents>>,
      private DeviceBound {
 public:
  explicit CSensorRomSwitching(CDeviceType& owner) : DeviceBound(owner) {}

  STDMETHODIMP SetStatus(LONG lStatus) override;
  STDMETHODIMP GetStatus(LONG* lpStatus) override;
};

}  // namespace quill::server
