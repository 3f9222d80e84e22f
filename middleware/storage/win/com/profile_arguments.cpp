#include "middleware/storage/win/com/profile_arguments.h"

#include "middleware/storage/storage_errors.h"
#include "middleware/storage/store_names.h"

namespace quill::server {

HRESULT ReadBoundedText(LPCWSTR text, size_t max_length, HRESULT too_long, std::u16string& out) {
  out.clear();
  if (!text) return E_POINTER;
  size_t length = 0;
  while (length <= max_length && text[length] != L'\0') ++length;
  if (length > max_length) return too_long;
  try {
    out.assign(reinterpret_cast<const char16_t*>(text), length);
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

HRESULT ReadItemName(LPCWSTR text, std::u16string& out) {
  return ReadBoundedText(text, storage::kMaxItemNameLength, storage::kE_INVALID_NAME, out);
}

HRESULT ReadFileName(LPCWSTR text, std::u16string& out) {
  return ReadBoundedText(text, kMaxFileNameLength, E_INVALIDARG, out);
}

HRESULT ReadItemNames(const LPWSTR* names, LONG count, std::vector<std::u16string>& out) {
  out.clear();
  if (count < 0) return E_INVALIDARG;
  if (count > 0 && !names) return E_POINTER;
  try {
    out.resize(static_cast<size_t>(count));
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  for (LONG i = 0; i < count; ++i) {
    const HRESULT hr = ReadItemName(names[i], out[static_cast<size_t>(i)]);
    if (FAILED(hr)) {
      out.clear();
      return hr;
    }
  }
  return S_OK;
}

}  // namespace quill::server
