#include "middleware/objects/win/features/sensor_rom_switching.h"

#include "middleware/objects/device/device_parts.h"

namespace quill::server {

STDMETHODIMP CSensorRomSwitching::SetStatus(LONG lStatus) {
  return WithHandler(
      [&](DriverHandler& channel) { return device::SetSensorRomStatus(channel, lStatus); });
}

STDMETHODIMP CSensorRomSwitching::GetStatus(LONG* lpStatus) {
  if (!lpStatus) return E_POINTER;
  return WithHandler([&](DriverHandler& channel) {
    int32_t status = 0;
    const HResult hr = device::GetSensorRomStatus(channel, status);
    if (Succeeded(hr)) *lpStatus = status;
    return hr;
  });
}

}  // namespace quill::server
