#include "middleware/objects/win/features/wireless_distance.h"

#include <array>
#include <cstdint>

#include "middleware/objects/device/device_parts.h"

namespace quill::server {
namespace {

LONG TakeWord(const uint8_t* at) {
  uint32_t value = 0;
  for (int i = 0; i < 4; ++i) value |= static_cast<uint32_t>(at[i]) << (8 * i);
  return static_cast<LONG>(value);
}

}  // namespace

STDMETHODIMP CWirelessDistance::SetAuto(LONG bIsAuto) {
  return WithHandler([&](DriverHandler& handler) {
    std::array<uint8_t, kWirelessDistanceSize> block{};
    block[0] = bIsAuto ? 1 : 0;
    return handler.WriteWirelessDistance(block);
  });
}

STDMETHODIMP CWirelessDistance::GetRange(_TWirelessDistanceInfoType* pInfo) {
  if (!pInfo) return E_POINTER;
  return WithHandler([&](DriverHandler& handler) {
    std::array<uint8_t, kWirelessDistanceSize> block{};
    const HResult hr = handler.ReadWirelessDistance(block);
    if (Failed(hr)) return hr;
    // Automatic flag, then five little-endian words.
    pInfo->bIsAuto = block[0];
    pInfo->lCurrentDist = TakeWord(&block[1]);
    pInfo->lMin = TakeWord(&block[5]);
    pInfo->lMax = TakeWord(&block[9]);
    pInfo->lGran = TakeWord(&block[13]);
    pInfo->lDefault = TakeWord(&block[17]);
    return hr;
  });
}

STDMETHODIMP CWirelessDistance::Set(LONG lDistance) {
  return WithHandler(
      [&](DriverHandler& channel) { return device::SetWirelessDistance(channel, lDistance); });
}

STDMETHODIMP CWirelessDistance::Get(LONG* lpDistance) {
  if (!lpDistance) return E_POINTER;
  return WithHandler([&](DriverHandler& channel) {
    int32_t distance = 0;
    const HResult hr = device::GetWirelessDistance(channel, distance);
    if (Succeeded(hr)) *lpDistance = distance;
    return hr;
  });
}

}  // namespace quill::server
