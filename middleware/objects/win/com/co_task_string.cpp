#include "middleware/objects/win/com/co_task_string.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "middleware/typelib/hresult_codes.h"

namespace quill::com {

static_assert(sizeof(wchar_t) == sizeof(char16_t));

HRESULT CoTaskStringCopy(std::u16string_view text, size_t capacity, LPWSTR* out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (capacity == 0 || text.size() > capacity - 1) return kE_INSUFFICIENT_BUFFER;
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

}  // namespace quill::com
