#include "middleware/objects/win/features/led_status.h"

#include "middleware/objects/device/performance_features.h"

namespace quill::server {

STDMETHODIMP CLedStatus::SetStatus(LONG lStatus) {
  return WithHandler(
      [&](DriverHandler& channel) { return device::SetLedStatus(channel, slot_, lStatus); });
}

STDMETHODIMP CLedStatus::GetStatus(LONG* lpStatus) {
  if (!lpStatus) return E_POINTER;
  return WithHandler([&](DriverHandler& channel) {
    int32_t status = 0;
    const HResult hr = device::GetLedStatus(channel, slot_, status);
    if (Succeeded(hr)) *lpStatus = status;
    return hr;
  });
}

}  // namespace quill::server
