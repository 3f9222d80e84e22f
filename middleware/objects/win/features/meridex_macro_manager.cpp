#include "middleware/objects/win/features/meridex_macro_manager.h"

#include "middleware/objects/device/device_records.h"
#include "middleware/objects/device/memory_space.h"
#include "middleware/objects/win/features/meridex_macro_object.h"

namespace quill::server {

HRESULT CMeridexMacroManager::HandOutMacro(CDeviceType& device, LONG macro_id,
                                           IMeridexMacroObject** out) {
  // Identifiers start at 1; none below has a macro number (and LONG_MIN - 1 would wrap).
  const int32_t number = macro_id > 0 ? macro_id - 1 : device::kNoNumber;
  return com::HandOut(com::MakeComObject<CMeridexMacroObject>(device, number), out);
}

STDMETHODIMP CMeridexMacroManager::GetMacroByIndex(LONG lIndex, IMeridexMacroObject** ppMacro) {
  if (!ppMacro) return E_POINTER;
  *ppMacro = nullptr;
  return WithDevice([&](CDeviceType& device, DriverHandler& channel) -> HRESULT {
    int32_t macro_id = 0;
    const HResult hr = macros_.GetMacroByIndex(channel, lIndex, macro_id);
    if (Failed(hr)) return hr;
    return HandOutMacro(device, macro_id, ppMacro);
  });
}

STDMETHODIMP CMeridexMacroManager::OpenMacro(LONG lMacroId, IMeridexMacroObject** ppMacro) {
  if (!ppMacro) return E_POINTER;
  *ppMacro = nullptr;
  CDeviceType* const device = owner();
  if (!device) return E_HANDLE;
  return HandOutMacro(*device, lMacroId, ppMacro);
}

STDMETHODIMP CMeridexMacroManager::CreateMacro(IMeridexMacroObject** ppMacro) {
  if (!ppMacro) return E_POINTER;
  *ppMacro = nullptr;
  return WithDevice([&](CDeviceType& device, DriverHandler& channel) -> HRESULT {
    int32_t macro_id = 0;
    const HResult hr = macros_.CreateMacro(channel, macro_id);
    if (Failed(hr)) return hr;
    return HandOutMacro(device, macro_id, ppMacro);
  });
}

STDMETHODIMP CMeridexMacroManager::DeleteMacro(IMeridexMacroObject* pMacro) {
  if (!pMacro) return E_POINTER;
  LONG macro_id = 0;
  const HRESULT hr = pMacro->GetMacroId(&macro_id);
  if (FAILED(hr)) return hr;
  return WithHandler(
      [&](DriverHandler& channel) { return macros_.DeleteMacro(channel, macro_id); });
}

STDMETHODIMP CMeridexMacroManager::Bind(IDeviceType* pDeviceType) {
  if (!pDeviceType) return E_POINTER;
  CDeviceType* const device = DeviceTypeOf(pDeviceType);
  if (!device) return E_INVALIDARG;
  Rebind(*device);
  return S_OK;
}

STDMETHODIMP CMeridexMacroManager::ReadDirectory(LONG alNumbers[70], LONG alSizes[70]) {
  if (!alNumbers || !alSizes) return E_POINTER;
  for (size_t i = 0; i < kMaxMacros; ++i) {
    alNumbers[i] = -1;
    alSizes[i] = 0;
  }
  return WithHandler(
      [&](DriverHandler& channel) { return ReadDirectoryInto(channel, alNumbers, alSizes); });
}

STDMETHODIMP CMeridexMacroManager::CompactDirectory() {
  return WithHandler([&](DriverHandler& channel) { return macros_.CompactDirectory(channel); });
}

STDMETHODIMP_(BOOL) CMeridexMacroManager::HasFreeSpace() {
  return SUCCEEDED(WithHandler([&](DriverHandler& channel) {
    return device::HasFreeSpace(channel) ? S_OK : E_FAIL;
  }));
}

}  // namespace quill::server
