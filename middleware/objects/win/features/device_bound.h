// What every feature object shares: the device type object it was made for (a plain pointer:
// clients keep the device type object alive while they use its features) and the rule that a
// device-backed method fails with E_FAIL, without traffic, while that object has no handler.
#pragma once
#include <objbase.h>

#include "middleware/objects/win/device_type.h"
#include "middleware/transport/driver_handler.h"

namespace quill::server {

class DeviceBound {
 protected:
  explicit DeviceBound(CDeviceType& owner) : owner_(&owner) {}

  CDeviceType& owner() const { return *owner_; }

  // call(DriverHandler&) with the owner's handler; E_FAIL when there is none.
  template <class Call>
  HRESULT WithHandler(Call&& call) const {
    DriverHandler* const handler = owner_->handler();
    return handler ? static_cast<HRESULT>(call(*handler)) : E_FAIL;
  }

 private:
  CDeviceType* owner_;
};

}  // namespace quill::server
