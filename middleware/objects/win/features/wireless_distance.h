// CWirelessDistance (IWirelessDistance): the automatic mode and the range go through the driver
// control channel (never open: E_HANDLE); the distance itself is one report exchange.
#pragma once
#include <ServerLib.h>

#include "middleware/objects/win/com/com_object.h"
#include "middleware/objects/win/com/connection_point.h"
#include "middleware/objects/win/features/device_bound.h"

namespace quill::server {

class CWirelessDistance final
    : public com::ComObject<IWirelessDistance, com::EventSource<_IWirelessDistanceEvents>>,
      private DeviceBound {
 public:
  explicit CWirelessDistance(CDeviceType& owner) : DeviceBound(owner) {}

  STDMETHODIMP SetAuto(LONG bIsAuto) override;
  // The range record is left untouched unless the control read succeeds.
  STDMETHODIMP GetRange(_TWirelessDistanceInfoType* pInfo) override;
  STDMETHODIMP Set(LONG lDistance) override;
  STDMETHODIMP Get(LONG* lpDistance) override;
};

}  // namespace quill::server
