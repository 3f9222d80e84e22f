#include "middleware/storage/win/com/store_calls.h"

#include <new>

#include "winsupport/co_task_string.h"

namespace quill::server {

HRESULT NameArgument(LPCWSTR text, std::u16string_view& name) {
  if (!text) return E_POINTER;
  name = reinterpret_cast<const char16_t*>(text);
  return S_OK;
}

HRESULT NameArguments(LONG count, LPWSTR* names, std::vector<std::u16string>& out) {
  out.clear();
  if (count < 0) return E_INVALIDARG;
  if (count > 0 && !names) return E_POINTER;
  try {
    out.reserve(static_cast<size_t>(count));
    for (LONG i = 0; i < count; ++i) {
      if (!names[i]) {
        out.clear();
        return E_POINTER;
      }
      out.emplace_back(reinterpret_cast<const char16_t*>(names[i]));
    }
  } catch (const std::bad_alloc&) {
    out.clear();
    return E_OUTOFMEMORY;
  }
  return S_OK;
}

HRESULT ClearNameSlots(LONG count, LPWSTR* slots) {
  if (count < 0) return E_INVALIDARG;
  if (count > 0 && !slots) return E_POINTER;
  for (LONG i = 0; i < count; ++i) slots[i] = nullptr;
  return S_OK;
}

HRESULT HandOutNames(const std::vector<std::u16string>& names, LPWSTR* slots) {
  for (size_t i = 0; i < names.size(); ++i) {
    const HRESULT hr = com::CoTaskStringDup(names[i], &slots[i]);
    if (FAILED(hr)) {
      for (size_t j = 0; j < i; ++j) {
        CoTaskMemFree(slots[j]);
        slots[j] = nullptr;
      }
      return hr;
    }
  }
  return S_OK;
}

}  // namespace quill::server
