#include "middleware/storage/win/com/managed_arrays.h"

#include <cstring>

namespace quill::server {

namespace {

// A vector of `count` elements of `vartype` (`extra` is the record information for VT_RECORD).
HRESULT MakeVector(VARTYPE vartype, LONG count, void* extra, SAFEARRAY** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (count < 0) return E_INVALIDARG;
  *out = SafeArrayCreateVectorEx(vartype, 0, static_cast<ULONG>(count), extra);
  return *out ? S_OK : E_OUTOFMEMORY;
}

void FreeStrings(LPWSTR* strings, LONG count) {
  if (!strings) return;
  for (LONG i = 0; i < count; ++i) {
    CoTaskMemFree(strings[i]);
    strings[i] = nullptr;
  }
}

}  // namespace

HRESULT MakeBstrVector(LONG count, SAFEARRAY** out) { return MakeVector(VT_BSTR, count, nullptr, out); }

HRESULT CoTaskStringsToBstrVector(LPWSTR* strings, LONG count, SAFEARRAY** out) {
  if (!out || (count > 0 && !strings)) {
    FreeStrings(strings, count);
    if (out) *out = nullptr;
    return E_POINTER;
  }
  SAFEARRAY* made = nullptr;
  HRESULT hr = MakeBstrVector(count, &made);
  SafeArrayPtr array(made);
  BSTR* const data = array.Get() ? static_cast<BSTR*>(array.Get()->pvData) : nullptr;
  for (LONG i = 0; SUCCEEDED(hr) && i < count; ++i) {
    if (!strings[i]) continue;
    data[i] = SysAllocString(strings[i]);
    if (!data[i]) hr = E_OUTOFMEMORY;
  }
  FreeStrings(strings, count);
  *out = SUCCEEDED(hr) ? array.Detach() : nullptr;
  return hr;
}

HRESULT MakeRecordVector(IRecordInfo* info, LONG count, SAFEARRAY** out) {
  if (!info) {
    if (out) *out = nullptr;
    return E_POINTER;
  }
  return MakeVector(VT_RECORD, count, info, out);
}

HRESULT MakeByteVector(const BYTE* bytes, LONG count, SAFEARRAY** out) {
  if (count > 0 && !bytes) {
    if (out) *out = nullptr;
    return E_POINTER;
  }
  const HRESULT hr = MakeVector(VT_UI1, count, nullptr, out);
  if (SUCCEEDED(hr) && count > 0) std::memcpy((*out)->pvData, bytes, static_cast<size_t>(count));
  return hr;
}

HRESULT InputVectorData(SAFEARRAY* array, VARTYPE vartype, ULONG element_size, LONG count,
                        void** data) {
  if (!data) return E_POINTER;
  *data = nullptr;
  if (count < 0) return E_INVALIDARG;
  if (!array) return count == 0 ? S_OK : E_POINTER;
  if (SafeArrayGetDim(array) != 1) return E_INVALIDARG;
  VARTYPE stored = VT_EMPTY;
  if (FAILED(SafeArrayGetVartype(array, &stored)) || stored != vartype) return E_INVALIDARG;
  if (array->cbElements != element_size) return E_INVALIDARG;
  if (array->rgsabound[0].cElements < static_cast<ULONG>(count)) return E_INVALIDARG;
  if (count > 0 && !array->pvData) return E_INVALIDARG;
  *data = array->pvData;
  return S_OK;
}

HRESULT ServerRecordInfo(REFGUID record, IRecordInfo** info) {
  if (!info) return E_POINTER;
  *info = nullptr;
  return GetRecordInfoFromGuids(LIBID_ServerLib, 1, 0, 1033, record, info);
}

bool MakeStringSlots(LONG count, std::vector<LPWSTR>& slots) {
  slots.clear();
  if (count > kMaxManagedNames) return false;
  try {
    // One slot at least, so that the method never sees a null array.
    slots.assign(static_cast<size_t>(count > 1 ? count : 1), nullptr);
    return true;
  } catch (const std::bad_alloc&) {
    slots.clear();
    return false;
  }
}

}  // namespace quill::server
