#include "middleware/objects/win/features/meridex_profile_manager.h"

#include "middleware/objects/device/profile_manager.h"
#include "middleware/objects/win/features/meridex_profile_object.h"

namespace quill::server {
namespace {

// The slot number of a client's profile object.
HRESULT NumberOf(IMeridexProfileObject* profile, int32_t& number) {
  if (!profile) return E_POINTER;
  LONG value = 0;
  const HRESULT hr = profile->GetProfileNumber(&value);
  number = value;
  return hr;
}

}  // namespace

template <class Find>
HRESULT CMeridexProfileManager::HandOutProfile(IMeridexProfileObject** out, Find&& find) {
  if (!out) return E_POINTER;
  *out = nullptr;
  return WithDevice([&](CDeviceType& device, DriverHandler& channel) -> HRESULT {
    int32_t slot = 0;
    const HResult hr = find(channel, slot);
    if (Failed(hr)) return hr;
    return com::HandOut(com::MakeComObject<CMeridexProfileObject>(device, slot), out);
  });
}

STDMETHODIMP CMeridexProfileManager::GetProfileByIndex(LONG lIndex,
                                                       IMeridexProfileObject** ppProfile) {
  return HandOutProfile(ppProfile, [&](DriverHandler& channel, int32_t& slot) {
    return device::GetProfileByIndex(channel, lIndex, slot);
  });
}

STDMETHODIMP CMeridexProfileManager::OpenProfile(LONG lNumber,
                                                 IMeridexProfileObject** ppProfile) {
  return HandOutProfile(ppProfile, [&](DriverHandler& channel, int32_t& slot) {
    return device::OpenProfile(channel, lNumber, slot);
  });
}

STDMETHODIMP CMeridexProfileManager::GetActiveProfile(IMeridexProfileObject** ppProfile) {
  return HandOutProfile(ppProfile, [&](DriverHandler& channel, int32_t& slot) {
    return device::GetActiveProfileNumber(channel, slot);
  });
}

STDMETHODIMP CMeridexProfileManager::CreateProfile(IMeridexProfileObject** ppProfile) {
  return HandOutProfile(ppProfile, [&](DriverHandler& channel, int32_t& slot) {
    return device::CreateProfile(channel, slot);
  });
}

STDMETHODIMP CMeridexProfileManager::SetActiveProfile(IMeridexProfileObject* pProfile) {
  int32_t number = 0;
  const HRESULT hr = NumberOf(pProfile, number);
  if (FAILED(hr)) return hr;
  return WithHandler(
      [&](DriverHandler& channel) { return device::SetActiveProfile(channel, number); });
}

STDMETHODIMP CMeridexProfileManager::DeleteProfile(IMeridexProfileObject* pProfile) {
  int32_t number = 0;
  const HRESULT hr = NumberOf(pProfile, number);
  if (FAILED(hr)) return hr;
  return WithHandler(
      [&](DriverHandler& channel) { return device::DeleteProfile(channel, number); });
}

STDMETHODIMP CMeridexProfileManager::NotifyActiveProfile() {
  return WithHandler([&](DriverHandler& channel) -> HRESULT {
    int32_t slot = 0;
    const HResult hr = device::GetActiveProfileNumber(channel, slot);
    if (Failed(hr)) return hr;
    _TMeridexProfileManagerInfo info{slot};
    return FireEvents(E_FAIL, [&](_IMeridexProfileManagerEvents* sink) {
      return sink->OnMeridexProfileManagerEvent(&info);
    });
  });
}

STDMETHODIMP CMeridexProfileManager::GetActiveProfileNumber(LONG* lpNumber) {
  if (!lpNumber) return E_POINTER;
  return WithHandler([&](DriverHandler& channel) {
    int32_t slot = 0;
    const HResult hr = device::GetActiveProfileNumber(channel, slot);
    if (Succeeded(hr)) *lpNumber = slot;
    return hr;
  });
}

STDMETHODIMP CMeridexProfileManager::ProfileExists(LONG lNumber) {
  return WithHandler(
      [&](DriverHandler& channel) { return device::ProfileExists(channel, lNumber); });
}

}  // namespace quill::server
