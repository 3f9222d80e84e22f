// HRESULT values of the middleware, usable from portable code. Windows code checks that
// they equal the SDK's (see middleware/objects/win/hresult_check.cpp).
#pragma once
#include <cstdint>

namespace quill {

using HResult = int32_t;

constexpr HResult kS_OK = 0;
constexpr HResult kS_FALSE = 1;
constexpr HResult kE_NOTIMPL = static_cast<HResult>(0x80004001u);
constexpr HResult kE_NOINTERFACE = static_cast<HResult>(0x80004002u);
constexpr HResult kE_POINTER = static_cast<HResult>(0x80004003u);
constexpr HResult kE_ABORT = static_cast<HResult>(0x80004004u);
constexpr HResult kE_FAIL = static_cast<HResult>(0x80004005u);
constexpr HResult kE_HANDLE = static_cast<HResult>(0x80070006u);
constexpr HResult kE_OUTOFMEMORY = static_cast<HResult>(0x8007000Eu);
constexpr HResult kE_INVALIDARG = static_cast<HResult>(0x80070057u);
constexpr HResult kE_ACCESSDENIED = static_cast<HResult>(0x80070005u);
// A formatted string did not fit its fixed buffer (HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER)).
constexpr HResult kE_INSUFFICIENT_BUFFER = static_cast<HResult>(0x8007007Au);
// End of a device enumeration (HRESULT_FROM_WIN32(ERROR_NO_MORE_ITEMS)).
constexpr HResult kE_NO_MORE_ITEMS = static_cast<HResult>(0x80070103u);

// Windows error codes the portable code meets.
constexpr uint32_t kErrorInsufficientBuffer = 122;
constexpr uint32_t kErrorAlreadyExists = 183;
constexpr uint32_t kErrorNoMoreItems = 259;

// HRESULT_FROM_WIN32: values 0 or below pass through, positive errors become 0x8007xxxx.
constexpr HResult HResultFromWin32(uint32_t error) {
  return static_cast<int32_t>(error) <= 0
             ? static_cast<HResult>(error)
             : static_cast<HResult>((error & 0x0000FFFFu) | 0x80070000u);
}

constexpr bool Succeeded(HResult hr) { return hr >= 0; }
constexpr bool Failed(HResult hr) { return hr < 0; }

}  // namespace quill
