#include "middleware/objects/win/features/meridex_profile_object.h"

#include <algorithm>
#include <string>
#include <vector>

#include "middleware/objects/device/button_entries.h"
#include "middleware/objects/device/profile_manager.h"
#include "middleware/objects/win/features/dpi.h"
#include "middleware/objects/win/features/led_status.h"
#include "middleware/objects/win/features/record_copy.h"
#include "winsupport/bstr.h"

namespace quill::server {
namespace {

template <class T>
HRESULT HandOutUnknown(com::ComPtr<T> object, IUnknown** out) {
  if (!object) return E_OUTOFMEMORY;
  return object->Identity()->QueryInterface(IID_IUnknown, reinterpret_cast<void**>(out));
}

}  // namespace

STDMETHODIMP CMeridexProfileObject::CreateSubInterface(REFIID iid, IUnknown** ppInterface) {
  if (!ppInterface) return E_POINTER;
  *ppInterface = nullptr;
  CDeviceType* const device = owner();
  if (!device) return E_HANDLE;
  if (IsEqualIID(iid, __uuidof(IDpi))) {
    return HandOutUnknown(com::MakeComObject<CDpi>(*device, number_), ppInterface);
  }
  if (IsEqualIID(iid, __uuidof(ILedStatus))) {
    return HandOutUnknown(com::MakeComObject<CLedStatus>(*device, number_), ppInterface);
  }
  return E_NOINTERFACE;
}

STDMETHODIMP CMeridexProfileObject::GetProfileNumber(LONG* lpNumber) {
  if (!lpNumber) return E_POINTER;
  *lpNumber = number_;
  return S_OK;
}

STDMETHODIMP CMeridexProfileObject::SetProfileName(LPCWSTR pszName) {
  if (!pszName) return E_POINTER;
  const std::u16string_view name(reinterpret_cast<const char16_t*>(pszName), wcslen(pszName));
  return WithHandler(
      [&](DriverHandler& channel) { return device::SetProfileName(channel, number_, name); });
}

STDMETHODIMP CMeridexProfileObject::GetProfileName(BSTR* pName) {
  if (!pName) return E_POINTER;
  *pName = nullptr;
  return WithHandler([&](DriverHandler& channel) -> HResult {
    std::u16string name;
    const HResult hr = device::GetProfileName(channel, number_, name);
    if (Failed(hr)) return hr;
    com::Bstr text = com::Bstr::FromText(name);
    if (!text) return E_OUTOFMEMORY;
    *pName = text.Detach();
    return hr;
  });
}

STDMETHODIMP CMeridexProfileObject::SetProfileMappings(_TProfileParams* pParams) {
  if (!pParams) return E_POINTER;
  if (pParams->lNumMappings < 0) return E_INVALIDARG;
  const size_t count = static_cast<size_t>(pParams->lNumMappings);
  if (count > 0 && (!pParams->ppMappings || !*pParams->ppMappings)) return E_POINTER;
  std::vector<device::ButtonMappingRecord> mappings;
  mappings.reserve(std::min<size_t>(count, 10));
  for (size_t i = 0; i < count && i < 10; ++i) mappings.push_back(FromTypelib((*pParams->ppMappings)[i]));
  if (count > mappings.size()) return E_INVALIDARG;  // more than the block holds
  return WithHandler([&](DriverHandler& channel) {
    return device::SetProfileMappings(channel, number_, mappings);
  });
}

STDMETHODIMP CMeridexProfileObject::GetProfileMappings(_TProfileParams* pParams) {
  if (!pParams || !pParams->ppMappings || !*pParams->ppMappings) return E_POINTER;
  return WithHandler([&](DriverHandler& channel) {
    std::vector<device::ButtonMappingRecord> mappings;
    const HResult hr = device::GetProfileMappings(channel, number_, mappings);
    if (Failed(hr)) return hr;
    pParams->lNumMappings = static_cast<LONG>(mappings.size());
    for (size_t i = 0; i < mappings.size(); ++i) ToTypelib(mappings[i], (*pParams->ppMappings)[i]);
    return hr;
  });
}

}  // namespace quill::server
