// The part every store shares: the open collection key and the operations on its items.
#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "middleware/storage/item_values.h"
#include "middleware/storage/registry_key.h"

namespace quill::storage {

class CollectionStore {
 public:
  virtual ~CollectionStore() = default;
  CollectionStore(const CollectionStore&) = delete;
  CollectionStore& operator=(const CollectionStore&) = delete;

  // Number of items in the collection.
  HResult Count(uint32_t& count);
  // Names of the first `count` items in enumeration order. E_FAIL when fewer exist,
  // E_INVALIDARG for a negative count; `names` is empty on failure.
  HResult List(int32_t count, std::vector<std::u16string>& names);
  // Names of every item in enumeration order.
  HResult ListAll(std::vector<std::u16string>& names);

  const std::u16string& device_key_name() const { return device_key_name_; }

 protected:
  CollectionStore(std::unique_ptr<RegistryKey> key, std::u16string device_key_name);

  // Creates or opens the collection key "Software\Torvo\<device key name><suffix>".
  static HResult OpenCollection(RegistryKey& machine, std::u16string_view device_key_name,
                                std::u16string_view suffix, std::unique_ptr<RegistryKey>& key);

  // Opens the collection key and builds a store of type Store on it (Store befriends
  // CollectionStore for its constructor).
  template <class Store>
  static HResult Build(RegistryKey& machine, std::u16string_view device_key_name, std::u16string_view suffix,
                       std::unique_ptr<Store>& store) {
    store.reset();
    std::unique_ptr<RegistryKey> key;
    const HResult hr = OpenCollection(machine, device_key_name, suffix, key);
    if (Failed(hr)) return hr;
    store.reset(new Store(std::move(key), std::u16string(device_key_name)));
    return kS_OK;
  }

  // Opens an existing item. E_FAIL when it is not stored, kE_INVALID_NAME for a name that
  // cannot be an item's.
  HResult OpenItem(std::u16string_view name, std::unique_ptr<RegistryKey>& item);
  // Opens the item and hands it to `read` (HResult(RegistryKey&)).
  template <class Reader>
  HResult ReadItem(std::u16string_view name, Reader&& read) {
    std::unique_ptr<RegistryKey> item;
    const HResult hr = OpenItem(name, item);
    return Failed(hr) ? hr : read(*item);
  }
  // Replaces the item by one holding exactly `values`. When a write fails the partial item is
  // removed and, given `previous`, the item is written back as it was.
  HResult RewriteItem(std::u16string_view name, const ValueList& values, const ValueList* previous);
  // Removes the item (E_FAIL when it is not stored).
  HResult DeleteItem(std::u16string_view name);
  // The registry's write lock (see RegistryKey::LockWrites); every operation that changes
  // items or reference counts holds it throughout.
  std::unique_ptr<RegistryKey::WriteLock> LockWrites() { return key_->LockWrites(); }

 private:
  std::unique_ptr<RegistryKey> key_;
  std::u16string device_key_name_;
};

// A collection whose items carry a "RefCount" (profiles, macros, user actions).
class RefCountedStore : public CollectionStore {
 public:
  // The item's "RefCount"; E_FAIL and 0 when the item is not stored. A stored negative count
  // reads as 0.
  HResult ReadRefCount(std::u16string_view name, int32_t& count);
  // Overwrites "RefCount"; E_FAIL when the item is not stored, E_INVALIDARG below zero.
  HResult WriteRefCount(std::u16string_view name, int32_t count);

 protected:
  using CollectionStore::CollectionStore;

  // The count a re-saved item keeps: its "RefCount" when stored (`exists` true), else 0.
  HResult KeptRefCount(std::u16string_view name, int32_t& count, bool& exists);
  // S_OK when the item is stored and nothing refers to it; E_FAIL while its "RefCount" is
  // not 0.
  HResult CheckUnreferenced(std::u16string_view name);
  // Removes an item nothing refers to.
  HResult DeleteUnreferenced(std::u16string_view name);

  // Stores `record` as the values `values_of(kept count, record)`; when the item was stored and
  // still loads (`self.Load`), a failed write puts it back.
  template <class Store, class Record>
  HResult SaveKeepingRefCount(Store& self, std::u16string_view name, const Record& record,
                              ValueList (*values_of)(int32_t, const Record&)) {
    const auto lock = LockWrites();
    int32_t ref_count = 0;
    bool exists = false;
    const HResult hr = KeptRefCount(name, ref_count, exists);
    if (Failed(hr)) return hr;
    Record old;
    ValueList previous;
    const bool keep_previous = exists && Succeeded(self.Load(name, old));
    if (keep_previous) previous = values_of(ref_count, old);
    return RewriteItem(name, values_of(ref_count, record), keep_previous ? &previous : nullptr);
  }
};

// "RefCount", the value every counted item begins with.
inline constexpr std::u16string_view kRefCountValue = u"RefCount";

}  // namespace quill::storage
