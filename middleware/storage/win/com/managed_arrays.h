// SAFEARRAYs of the store's "Managed" methods, and the three adapters that the storage
// interfaces share (IProfile, IMacroHandling, IUserAction).
//
// Arrays handed out are one-dimensional with lower bound 0, made with SafeArrayCreateVectorEx;
// the caller destroys them (SafeArrayDestroy). On every failure the out-array is null and nothing
// stays allocated. Input arrays are read through their data pointer without locking, after a
// check that they are vectors of the expected element type holding at least the elements the
// call names.
//
// The adapters call the unmanaged method at a given slot of the interface they are called on,
// through a pointer to member:
//
//   STDMETHODIMP CMacroHandling::LoadSpellBookListManaged(LONG n, SAFEARRAY** names) {
//     return FirstListManaged<IMacroHandling, &IMacroHandling::LoadSpellBookList>(this, n, names);
//   }
#pragma once
#include <ServerLib.h>
#include <oleauto.h>

#include <new>
#include <utility>
#include <vector>

#include "winsupport/safe_array.h"

namespace quill::server {

using com::SafeArrayPtr;

// A VT_BSTR vector of `count` null BSTRs. E_POINTER for a null `out`, E_INVALIDARG for a
// negative count, E_OUTOFMEMORY when it cannot be made.
HRESULT MakeBstrVector(LONG count, SAFEARRAY** out);

// Moves `count` CoTaskMem strings (null slots give null BSTRs) into a new VT_BSTR vector. The
// strings are freed and their slots set to null whatever the result.
HRESULT CoTaskStringsToBstrVector(LPWSTR* strings, LONG count, SAFEARRAY** out);

// A VT_RECORD vector of `count` zeroed records described by `info`.
HRESULT MakeRecordVector(IRecordInfo* info, LONG count, SAFEARRAY** out);

// A VT_UI1 vector holding `count` bytes copied from `bytes` (which may be null for 0 bytes).
HRESULT MakeByteVector(const BYTE* bytes, LONG count, SAFEARRAY** out);

// The element data of an input array that must hold at least `count` elements of `vartype`,
// each `element_size` bytes. E_POINTER for a null `data`, or for a null array when count > 0
// (a null array with count 0 gives null data); E_INVALIDARG for a negative count, an array that
// is not one-dimensional, of another element type or size, or with fewer than `count` elements.
// *data is null on failure.
HRESULT InputVectorData(SAFEARRAY* array, VARTYPE vartype, ULONG element_size, LONG count,
                        void** data);

template <class T>
HRESULT InputVector(SAFEARRAY* array, VARTYPE vartype, LONG count, T** data) {
  void* raw = nullptr;
  const HRESULT hr = InputVectorData(array, vartype, sizeof(T), count, &raw);
  *data = static_cast<T*>(raw);
  return hr;
}

// The record information of the type library's record `record` (ServerLib 1.0, LCID 1033).
HRESULT ServerRecordInfo(REFGUID record, IRecordInfo** info);

// Most names a Managed list hands out. The adapters allocate the unmanaged method's n slots
// before the store can say how many names exist, so a larger n is refused with E_OUTOFMEMORY
// instead of making the server allocate and clear gigabytes for a count no store reaches.
inline constexpr LONG kMaxManagedNames = 1 << 20;

// n string slots (one at least) for an unmanaged list method, all null; false when they cannot
// be allocated or n is above kMaxManagedNames.
bool MakeStringSlots(LONG count, std::vector<LPWSTR>& slots);

// Runs `fill(LPWSTR* slots)`, an unmanaged method that fills `count` string slots, and hands
// the strings out as a VT_BSTR vector of `count` elements.
template <class Fill>
HRESULT NamesAsBstrVector(LONG count, SAFEARRAY** names, Fill&& fill) {
  if (!names) return E_POINTER;
  *names = nullptr;
  if (count < 0) return E_INVALIDARG;
  std::vector<LPWSTR> slots;
  if (!MakeStringSlots(count, slots)) return E_OUTOFMEMORY;
  const HRESULT hr = fill(slots.data());
  if (FAILED(hr)) return hr;
  return CoTaskStringsToBstrVector(slots.data(), count, names);
}

// Managed form of a first-n list method (LoadProfileGroupList, LoadSpellBookList,
// LoadUserActionList): the names as a VT_BSTR vector of n elements.
template <class I, HRESULT (STDMETHODCALLTYPE I::*List)(LONG, LPWSTR*)>
HRESULT FirstListManaged(I* self, LONG count, SAFEARRAY** names) {
  return NamesAsBstrVector(count, names, [&](LPWSTR* slots) { return (self->*List)(count, slots); });
}

// Managed form of a group load (LoadProfileGroup, LoadSpellBook): the first n member names as a
// VT_BSTR vector of n elements.
template <class I, HRESULT (STDMETHODCALLTYPE I::*Load)(LPCWSTR, LONG, LPWSTR*)>
HRESULT GroupLoadManaged(I* self, LPCWSTR group, LONG count, SAFEARRAY** names) {
  return NamesAsBstrVector(count, names,
                           [&](LPWSTR* slots) { return (self->*Load)(group, count, slots); });
}

// Managed form of a group save (SaveProfileGroup, SaveSpellBook): the vector's BSTRs are the
// member names.
template <class I, HRESULT (STDMETHODCALLTYPE I::*Save)(LPCWSTR, LONG, LPWSTR*)>
HRESULT GroupSaveManaged(I* self, LPCWSTR group, LONG count, SAFEARRAY* names) {
  BSTR* members = nullptr;
  const HRESULT hr = InputVector(names, VT_BSTR, count, &members);
  if (FAILED(hr)) return hr;
  return (self->*Save)(group, count, members);
}

}  // namespace quill::server
