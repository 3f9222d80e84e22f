// What the macro and user-action interface objects share around their stores: name arguments,
// caller-sized name arrays, counts, and one export/import run per call.
#pragma once
#include <objbase.h>

#include <cstdint>
#include <memory>
#include <new>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "middleware/objects/win/com/com_object.h"
#include "middleware/storage/store_exchange.h"
#include "middleware/storage/win/win_file_system.h"
#include "middleware/storage/win/win_registry_key.h"

namespace quill::server {

// Runs a method body (returning HRESULT) so that no exception leaves the interface: running out
// of memory gives E_OUTOFMEMORY, anything else E_FAIL.
template <class Body>
HRESULT Guarded(Body&& body) noexcept {
  try {
    return body();
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  } catch (...) {
    return E_FAIL;
  }
}

// A name argument as the store takes it; E_POINTER for a null one.
HRESULT NameArgument(LPCWSTR text, std::u16string_view& name);

// The `count` names of an input array (LPWSTR* of a group save). E_INVALIDARG for a negative
// count, E_POINTER for a null array with count > 0 or a null name, E_OUTOFMEMORY.
HRESULT NameArguments(LONG count, LPWSTR* names, std::vector<std::u16string>& out);

// Checks a caller-sized output array of `count` slots and sets every slot null. E_INVALIDARG
// for a negative count, E_POINTER for a null array with count > 0.
HRESULT ClearNameSlots(LONG count, LPWSTR* slots);

// Copies `names` into the first names.size() slots as CoTaskMem strings. On failure the slots
// filled so far are freed and set null again (E_OUTOFMEMORY).
HRESULT HandOutNames(const std::vector<std::u16string>& names, LPWSTR* slots);

// The names `list(count, names)` produces into `count` checked slots (all null on failure).
template <class List>
HRESULT LoadNames(LONG count, LPWSTR* slots, List&& list) {
  HRESULT hr = ClearNameSlots(count, slots);
  if (FAILED(hr)) return hr;
  std::vector<std::u16string> names;
  hr = list(static_cast<int32_t>(count), names);
  return FAILED(hr) ? hr : HandOutNames(names, slots);
}

// A collection's item count through a LONG out-parameter (0 on failure).
template <class Store>
HRESULT LoadCount(Store& store, LONG* out) {
  if (!out) return E_POINTER;
  *out = 0;
  uint32_t count = 0;
  const HRESULT hr = store.Count(count);
  if (SUCCEEDED(hr)) *out = count > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<LONG>(count);
  return hr;
}

// One export or import: `run(StoreExchange&, const std::u16string& path)` over the registry
// under HKEY_LOCAL_MACHINE and the file `file`. E_FAIL when `usable` is false (the device entry
// is gone or closed), E_POINTER for a null file name.
template <class Run>
HRESULT RunExchange(bool usable, const std::u16string& device_key_name, LPCWSTR file, Run&& run) {
  if (!usable) return E_FAIL;
  std::u16string_view path;
  HRESULT hr = NameArgument(file, path);
  if (FAILED(hr)) return hr;
  return Guarded([&]() -> HRESULT {
    const std::unique_ptr<storage::RegistryKey> machine = storage::LocalMachineKey();
    storage::WinFileSystem files;
    storage::StoreExchange exchange(*machine, files, device_key_name);
    return run(exchange, std::u16string(path));
  });
}

// The same for the export or import of one named object.
template <class Run>
HRESULT RunNamedExchange(bool usable, const std::u16string& device_key_name, LPCWSTR object,
                         LPCWSTR file, Run&& run) {
  std::u16string_view name;
  const HRESULT hr = NameArgument(object, name);
  if (FAILED(hr)) return hr;
  return RunExchange(usable, device_key_name, file,
                     [&](storage::StoreExchange& exchange, const std::u16string& path) {
                       return run(exchange, name, path);
                     });
}

}  // namespace quill::server

namespace quill::server {

class CDeviceType;

// The maker of a store interface object T: a new T(owner), its Initialise() run, its one
// reference handed over as IUnknown; a failed Initialise releases it and is returned.
template <class T>
HRESULT MakeStoreFeature(CDeviceType& owner, IUnknown** object) {
  *object = nullptr;
  com::ComPtr<T> made = com::MakeComObject<T>(owner);
  if (!made) return E_OUTOFMEMORY;
  const HRESULT hr = made->Initialise();
  if (FAILED(hr)) return hr;
  *object = made->Identity();
  made.Detach();
  return S_OK;
}

}  // namespace quill::server
