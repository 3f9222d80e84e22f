// Compile-time proof that the portable HRESULT and error values equal the Windows SDK's.
#include <windows.h>
#include <winerror.h>

#include "middleware/typelib/hresult_codes.h"

namespace {

// HRESULT_FROM_WIN32 as the SDK defines it, written out so that it is a constant expression.
constexpr HRESULT SdkFromWin32(DWORD error) {
  return static_cast<HRESULT>(error) <= 0
             ? static_cast<HRESULT>(error)
             : static_cast<HRESULT>((error & 0x0000FFFF) | (FACILITY_WIN32 << 16) | 0x80000000);
}

static_assert(sizeof(quill::HResult) == sizeof(HRESULT));
static_assert(quill::kS_OK == S_OK);
static_assert(quill::kS_FALSE == S_FALSE);
static_assert(quill::kE_NOTIMPL == E_NOTIMPL);
static_assert(quill::kE_NOINTERFACE == E_NOINTERFACE);
static_assert(quill::kE_POINTER == E_POINTER);
static_assert(quill::kE_ABORT == E_ABORT);
static_assert(quill::kE_FAIL == E_FAIL);
static_assert(quill::kE_HANDLE == E_HANDLE);
static_assert(quill::kE_OUTOFMEMORY == E_OUTOFMEMORY);
static_assert(quill::kE_INVALIDARG == E_INVALIDARG);
static_assert(quill::kE_ACCESSDENIED == E_ACCESSDENIED);
static_assert(quill::kE_INSUFFICIENT_BUFFER == SdkFromWin32(ERROR_INSUFFICIENT_BUFFER));
static_assert(quill::kE_NO_MORE_ITEMS == SdkFromWin32(ERROR_NO_MORE_ITEMS));
static_assert(quill::kErrorInsufficientBuffer == ERROR_INSUFFICIENT_BUFFER);
static_assert(quill::kErrorAlreadyExists == ERROR_ALREADY_EXISTS);
static_assert(quill::kErrorNoMoreItems == ERROR_NO_MORE_ITEMS);

// The portable conversion agrees with the SDK's on both sides of zero.
static_assert(quill::HResultFromWin32(ERROR_NO_MORE_ITEMS) == SdkFromWin32(ERROR_NO_MORE_ITEMS));
static_assert(quill::HResultFromWin32(ERROR_ACCESS_DENIED) == E_ACCESSDENIED);
static_assert(quill::HResultFromWin32(ERROR_SUCCESS) == S_OK);
static_assert(quill::HResultFromWin32(0x80004005u) == E_FAIL);

}  // namespace
