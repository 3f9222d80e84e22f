#include "middleware/objects/win/features/performance_settings.h"

#include <windows.h>

#include <array>
#include <cstdint>

namespace quill::server {
namespace {

constexpr UINT kSaveAndBroadcast = SPIF_UPDATEINIFILE | SPIF_SENDCHANGE;
using MouseTriple = std::array<int, 3>;  // threshold 1, threshold 2, acceleration

HRESULT LastError() { return HRESULT_FROM_WIN32(GetLastError()); }

// The raw result of SPI_GETMOUSE (callers tell apart "exactly 1").
BOOL ReadTriple(MouseTriple& triple) {
  return SystemParametersInfoW(SPI_GETMOUSE, 0, triple.data(), kSaveAndBroadcast);
}
HRESULT WriteTriple(MouseTriple triple) {
  return SystemParametersInfoW(SPI_SETMOUSE, 0, triple.data(), kSaveAndBroadcast) ? S_OK
                                                                                 : LastError();
}

}  // namespace

STDMETHODIMP CPerformanceSettings::SetWindowsPointerSpeed(LONG lSpeed) {
  if (static_cast<ULONG>(lSpeed) > 20) return E_INVALIDARG;
  // Windows takes the speed from the pointer parameter, Wine from the integer one.
  const auto speed = static_cast<uintptr_t>(lSpeed);
  return SystemParametersInfoW(SPI_SETMOUSESPEED, static_cast<UINT>(speed),
                               reinterpret_cast<void*>(speed), kSaveAndBroadcast)
             ? S_OK
             : LastError();
}

STDMETHODIMP CPerformanceSettings::GetWindowsPointerSpeed(LONG* lpSpeed) {
  if (!lpSpeed) return E_POINTER;
  return SystemParametersInfoW(SPI_GETMOUSESPEED, 0, lpSpeed, kSaveAndBroadcast) ? S_OK
                                                                                 : LastError();
}

STDMETHODIMP CPerformanceSettings::SetAccelerationControl(LONG lControl) {
  MouseTriple triple{};
  if (ReadTriple(triple) != 1) return S_OK;
  triple[2] = lControl ? (triple[1] <= 0 ? 1 : 2) : 0;
  return WriteTriple(triple);
}

STDMETHODIMP CPerformanceSettings::GetAccelerationStatus(LONG* lpStatus) {
  if (!lpStatus) return E_POINTER;
  MouseTriple triple{};
  if (!ReadTriple(triple)) return LastError();
  *lpStatus = triple[2] > 0 ? 1 : 0;
  return S_OK;
}

STDMETHODIMP CPerformanceSettings::SetAcceleration(LONG lAcceleration) {
  if (static_cast<ULONG>(lAcceleration) > 10) return E_INVALIDARG;
  const int a = static_cast<int>(lAcceleration);
  if (a == 0) return WriteTriple({0, 0, 1});
  if (a <= 5) return WriteTriple({12 - 2 * a, 0, 1});
  return WriteTriple({2, 24 - 2 * a, 2});
}

STDMETHODIMP CPerformanceSettings::GetAcceleration(LONG* lpAcceleration) {
  if (!lpAcceleration) return E_POINTER;
  MouseTriple triple{};
  if (ReadTriple(triple) != 1) return S_OK;
  if (triple[1] > 0) {
    *lpAcceleration = (triple[0] - triple[1] + 12) / 2 + 5;
  } else if (triple[0] > 0) {
    *lpAcceleration = (12 - triple[0]) / 2;
  } else {
    return E_ACCESSDENIED;
  }
  return S_OK;
}

}  // namespace quill::server
