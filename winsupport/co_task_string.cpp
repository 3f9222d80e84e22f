#include "winsupport/co_task_string.h"

#include <winerror.h>

#include <algorithm>
#include <cstring>
#include <limits>

namespace quill::com {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

HRESULT CoTaskStringCopy(std::u16string_view text, size_t capacity, LPWSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (capacity == 0 || text.size() > capacity - 1) return HRESULT_FROM_WIN32(ERROR_INSUFFICIENT_BUFFER);
  if (capacity > std::numeric_limits<SIZE_T>::max() / sizeof(wchar_t)) return E_OUTOFMEMORY;
  CoTaskMemPtr<wchar_t> block(static_cast<wchar_t*>(CoTaskMemAlloc(capacity * sizeof(wchar_t))));
  if (!block.Get()) return E_OUTOFMEMORY;
  std::fill_n(block.Get(), capacity, L'\0');
  std::memcpy(block.Get(), text.data(), text.size() * sizeof(wchar_t));
  *out = block.Detach();
  return S_OK;
}

HRESULT CoTaskStringDup(std::u16string_view text, LPWSTR* out) {
  if (text.size() == std::numeric_limits<size_t>::max()) {
    if (out) *out = nullptr;
    return E_OUTOFMEMORY;
  }
  return CoTaskStringCopy(text, text.size() + 1, out);
}

SIZE_T AllocationSize(void* block) {
  IMalloc* malloc = nullptr;
  if (FAILED(CoGetMalloc(1, &malloc))) return 0;
  const SIZE_T size = malloc->GetSize(block);
  malloc->Release();
  return size;
}

}  // namespace quill::com
