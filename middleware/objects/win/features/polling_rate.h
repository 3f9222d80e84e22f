// CPollingRate (IPollingRate): the report rate of the mouse (1000, 500 or 125 Hz).
#pragma once
#include <ServerLib.h>

#include "middleware/objects/win/com/com_object.h"
#include "middleware/objects/win/com/connection_point.h"
#include "middleware/objects/win/features/device_bound.h"

namespace quill::server {

class CPollingRate final
    : public com::ComObject<IPollingRate, com::EventSource<_IPollingRateEvents>>,
      private DeviceBound {
 public:
  explicit CPollingRate(CDeviceType& owner) : DeviceBound(owner) {}

  STDMETHODIMP SetRate(LONG lRate) override;
  STDMETHODIMP GetRate(LONG* lpRate) override;
  // 3 and a CoTaskMem array {1000, 500, 125}, the caller's to free; no device traffic.
  STDMETHODIMP GetRateList(LONG* lpNumRates, LONG** lppRates) override;
  // Not provided: E_FAIL, with 0 and null stored.
  STDMETHODIMP GetRateListManaged(LONG* lpNumRates, SAFEARRAY** lppRates) override;
};

}  // namespace quill::server
