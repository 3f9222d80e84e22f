// CLedStatus (ILedStatus): the LED bits of one profile block (slot 0: the active profile).
#pragma once
#include <ServerLib.h>

#include <cstdint>

#include "middleware/objects/win/com/com_object.h"
#include "middleware/objects/win/com/connection_point.h"
#include "middleware/objects/win/features/device_bound.h"

namespace quill::server {

class CLedStatus final : public com::ComObject<ILedStatus, com::EventSource<_ILedStatusEvents>>,
                         private DeviceBound {
 public:
  explicit CLedStatus(CDeviceType& owner, int32_t slot = 0) : DeviceBound(owner), slot_(slot) {}

  STDMETHODIMP SetStatus(LONG lStatus) override;
  STDMETHODIMP GetStatus(LONG* lpStatus) override;

 private:
  int32_t slot_;
};

}  // namespace quill::server
