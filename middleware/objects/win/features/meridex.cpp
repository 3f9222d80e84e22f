#include "middleware/objects/win/features/meridex.h"

#include "middleware/objects/device/memory_space.h"
#include "middleware/objects/win/features/device_event_reaction.h"
#include "middleware/objects/win/features/meridex_macro_manager.h"
#include "middleware/objects/win/features/meridex_profile_manager.h"

namespace quill::server {

CMeridex::CMeridex(CDeviceType& owner) : DeviceBound(owner) {
  if (const DriverHandler* handler = owner.handler()) path_ = handler->device_path();
}

CMeridex::~CMeridex() {
  if (registered_) UnregisterDeviceListener(this);
}

HRESULT CMeridex::RegisterWithMonitor() {
  registration_ = RegisterDeviceListener(this);
  registered_ = SUCCEEDED(registration_);
  return registration_;
}

STDMETHODIMP CMeridex::GetTotalSpace(LONG* lpTotalSpace) {
  if (!lpTotalSpace) return E_POINTER;
  return WithHandler([&](DriverHandler& channel) {
    int32_t total = 0;
    const HResult hr = device::GetTotalSpace(channel, total);
    if (Succeeded(hr)) *lpTotalSpace = total;
    return hr;
  });
}

STDMETHODIMP CMeridex::GetRemainingSpace(LONG* lpRemainingSpace) {
  if (!lpRemainingSpace) return E_POINTER;
  return WithHandler([&](DriverHandler& channel) {
    int32_t remaining = 0;
    const HResult hr = device::GetRemainingSpace(channel, remaining);
    if (Succeeded(hr)) *lpRemainingSpace = remaining;
    return hr;
  });
}

STDMETHODIMP CMeridex::CreateInterfaceInstance(REFIID iid, IUnknown** ppInterface) {
  if (!ppInterface) return E_POINTER;
  *ppInterface = nullptr;
  CDeviceType* const device = owner();
  if (!device) return E_HANDLE;
  if (IsEqualIID(iid, __uuidof(IMeridexProfileManager))) {
    return com::HandOut(com::MakeComObject<CMeridexProfileManager>(*device),
                        reinterpret_cast<IMeridexProfileManager**>(ppInterface));
  }
  if (IsEqualIID(iid, __uuidof(IMeridexMacroManager))) {
    // A new manager with a cleared directory, bound to this object's device type.
    return com::HandOut(com::MakeComObject<CMeridexMacroManager>(*device),
                        reinterpret_cast<IMeridexMacroManager**>(ppInterface));
  }
  return E_NOINTERFACE;
}

STDMETHODIMP CMeridex::LoadDpiTable() {
  return WithDevice([&](CDeviceType& device, DriverHandler& channel) {
    return device::LoadDpiTable(channel, device.pid(), table_);
  });
}

void CMeridex::OnDeviceEvent() {
  WithHandler([&](DriverHandler& handler) -> HResult {
    const std::optional<_TMeridexInfoType> event =
        ReactToDeviceEvent(handler, path_.empty() ? handler.device_path() : path_, table_);
    if (!event) return S_OK;
    _TMeridexInfoType info = *event;
    return FireEvents(E_FAIL, [&](_IMeridexEvents* sink) { return sink->OnMeridexEvent(&info); });
  });
}

HRESULT MakeMeridex(CDeviceType& owner, IUnknown** object) {
  *object = nullptr;
  com::ComPtr<CMeridex> made = com::MakeComObject<CMeridex>(owner);
  if (!made) return E_OUTOFMEMORY;
  made->RegisterWithMonitor();  // a failed registration still hands the object out
  *object = made->Identity();
  made.Detach();
  return S_OK;
}

}  // namespace quill::server
