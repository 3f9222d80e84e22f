// What every feature object shares: the device type object it was made for, held through that
// object's lifetime handle, and the rules of a device-backed method: E_FAIL without traffic
// while the device type object has no handler, E_HANDLE once it is gone (a client may keep a
// feature object longer than its device type object).
#pragma once
#include <objbase.h>

#include <memory>

#include "middleware/objects/win/device_type.h"
#include "middleware/transport/driver_handler.h"

namespace quill::server {

class DeviceBound {
 protected:
  explicit DeviceBound(CDeviceType& owner) : owner_(owner.LifetimeHandle()) { Remember(owner); }

  // Binds to another device type object (IMeridexMacroManager::Bind and the like).
  void Rebind(CDeviceType& owner) { owner_ = owner.LifetimeHandle(); }

  // The device type object behind `device` when it is one of this module's, else null (a
  // client may hand in an IDeviceType of another implementation).
  static CDeviceType* DeviceTypeOf(IDeviceType* device) {
    if (!device || !VtableOfDeviceType()) return nullptr;
    return *reinterpret_cast<void* const*>(device) == VtableOfDeviceType()
               ? static_cast<CDeviceType*>(device)
               : nullptr;
  }

  // Null once the device type object is gone.
  CDeviceType* owner() const { return *owner_; }

  // call(CDeviceType&, DriverHandler&).
  template <class Call>
  HRESULT WithDevice(Call&& call) const {
    CDeviceType* const owner = *owner_;
    if (!owner) return E_HANDLE;
    DriverHandler* const handler = owner->handler();
    return handler ? static_cast<HRESULT>(call(*owner, *handler)) : E_FAIL;
  }
  // call(DriverHandler&).
  template <class Call>
  HRESULT WithHandler(Call&& call) const {
    return WithDevice([&](CDeviceType&, DriverHandler& handler) { return call(handler); });
  }

 private:
  static const void*& VtableOfDeviceType() {
    static const void* vtable = nullptr;
    return vtable;
  }
  static void Remember(CDeviceType& owner) {
    VtableOfDeviceType() = *reinterpret_cast<void* const*>(static_cast<IDeviceType*>(&owner));
  }

  std::shared_ptr<CDeviceType*> owner_;
};

}  // namespace quill::server
