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

  // Opens an existing item. E_FAIL when it is not stored, kE_INVALID_NAME for a name that
  // cannot be an item's.
  HResult OpenItem(std::u16string_view name, std::unique_ptr<RegistryKey>& item);
  // Replaces the item by one holding exactly `values`. When a write fails the partial item is
  // removed and, given `previous`, the item is written back as it was.
  HResult RewriteItem(std::u16string_view name, const ValueList& values, const ValueList* previous);
  // Removes the item (E_FAIL when it is not stored).
  HResult DeleteItem(std::u16string_view name);

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
  // Removes an item nothing refers to; E_FAIL while its "RefCount" is not 0.
  HResult DeleteUnreferenced(std::u16string_view name);
};

// "RefCount", the value every counted item begins with.
inline constexpr std::u16string_view kRefCountValue = u"RefCount";

}  // namespace quill::storage
