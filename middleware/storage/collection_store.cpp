#include "middleware/storage/collection_store.h"

#include "middleware/storage/storage_errors.h"
#include "middleware/storage/store_names.h"

namespace quill::storage {

CollectionStore::CollectionStore(std::unique_ptr<RegistryKey> key, std::u16string device_key_name)
    : key_(std::move(key)), device_key_name_(std::move(device_key_name)) {}

HResult CollectionStore::OpenCollection(RegistryKey& machine, std::u16string_view device_key_name,
                                        std::u16string_view suffix, std::unique_ptr<RegistryKey>& key) {
  key.reset();
  if (Failed(CheckItemName(device_key_name))) return kE_INVALID_NAME;
  return machine.CreateSubkey(CollectionPath(device_key_name, suffix), key);
}

HResult CollectionStore::Count(uint32_t& count) { return key_->CountSubkeys(count); }

HResult CollectionStore::List(int32_t count, std::vector<std::u16string>& names) {
  names.clear();
  if (count < 0) return kE_INVALIDARG;
  uint32_t stored = 0;
  HResult hr = key_->CountSubkeys(stored);
  if (Failed(hr)) return hr;
  if (stored < static_cast<uint32_t>(count)) return kE_FAIL;
  names.reserve(static_cast<size_t>(count));
  for (uint32_t i = 0; i < static_cast<uint32_t>(count); ++i) {
    std::u16string name;
    hr = key_->SubkeyName(i, name);
    if (Failed(hr)) {
      names.clear();
      return hr == kE_NO_MORE_ITEMS ? kE_FAIL : hr;
    }
    names.push_back(std::move(name));
  }
  return kS_OK;
}

HResult CollectionStore::ListAll(std::vector<std::u16string>& names) {
  names.clear();
  uint32_t count = 0;
  const HResult hr = key_->CountSubkeys(count);
  if (Failed(hr)) return hr;
  if (count > static_cast<uint32_t>(INT32_MAX)) return kE_FAIL;
  return List(static_cast<int32_t>(count), names);
}

HResult CollectionStore::OpenItem(std::u16string_view name, std::unique_ptr<RegistryKey>& item) {
  item.reset();
  HResult hr = CheckItemName(name);
  if (Failed(hr)) return hr;
  hr = key_->OpenSubkey(name, item);
  return hr == kE_FILE_NOT_FOUND ? kE_FAIL : hr;
}

HResult CollectionStore::RewriteItem(std::u16string_view name, const ValueList& values,
                                     const ValueList* previous) {
  HResult hr = CheckItemName(name);
  if (Failed(hr)) return hr;
  hr = key_->DeleteSubkey(name);
  if (Failed(hr) && hr != kE_FILE_NOT_FOUND) return hr;
  std::unique_ptr<RegistryKey> item;
  hr = key_->CreateSubkey(name, item);
  if (Succeeded(hr)) hr = WriteValues(*item, values);
  if (Succeeded(hr)) return kS_OK;
  item.reset();
  key_->DeleteSubkey(name);
  if (previous != nullptr && Succeeded(key_->CreateSubkey(name, item))) WriteValues(*item, *previous);
  return hr;
}

HResult CollectionStore::DeleteItem(std::u16string_view name) {
  HResult hr = CheckItemName(name);
  if (Failed(hr)) return hr;
  hr = key_->DeleteSubkey(name);
  return hr == kE_FILE_NOT_FOUND ? kE_FAIL : hr;
}

HResult RefCountedStore::ReadRefCount(std::u16string_view name, int32_t& count) {
  count = 0;
  const HResult hr = ReadItem(name, [&](RegistryKey& item) { return ReadDword(item, kRefCountValue, count); });
  if (count < 0) count = 0;
  return hr;
}

HResult RefCountedStore::WriteRefCount(std::u16string_view name, int32_t count) {
  if (count < 0) return kE_INVALIDARG;
  ValueList values;
  AddDword(values, kRefCountValue, count);
  return ReadItem(name, [&](RegistryKey& item) { return WriteValues(item, values); });
}

HResult RefCountedStore::KeptRefCount(std::u16string_view name, int32_t& count, bool& exists) {
  exists = false;
  const HResult hr = ReadRefCount(name, count);
  if (hr == kE_FAIL) return kS_OK;  // not stored: a new item starts at 0
  exists = Succeeded(hr);
  return hr;
}

HResult RefCountedStore::CheckUnreferenced(std::u16string_view name) {
  int32_t count = 0;
  const HResult hr = ReadRefCount(name, count);
  if (Failed(hr)) return hr;
  return count == 0 ? kS_OK : kE_FAIL;
}

HResult RefCountedStore::DeleteUnreferenced(std::u16string_view name) {
  const auto lock = LockWrites();
  const HResult hr = CheckUnreferenced(name);
  return Failed(hr) ? hr : DeleteItem(name);
}

}  // namespace quill::storage
