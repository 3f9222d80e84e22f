// The user actions of a device ("\UserActions"): a code and a byte string per item.
#pragma once
#include <memory>

#include "middleware/storage/collection_store.h"
#include "middleware/storage/store_records.h"

namespace quill::storage {

class UserActionStore : public RefCountedStore {
 public:
  static HResult Create(RegistryKey& machine, std::u16string_view device_key_name,
                        std::unique_ptr<UserActionStore>& store);

  // Stores the user action; one stored under the name is replaced and keeps its "RefCount". A
  // save that fails leaves the stored one as it was. E_INVALIDARG beyond kMaxUserActionData.
  HResult Save(std::u16string_view name, const UserActionRecord& action);
  // "Data" must hold exactly "NumData" bytes.
  HResult Load(std::u16string_view name, UserActionRecord& action);
  // E_FAIL while "RefCount" is not 0.
  HResult Delete(std::u16string_view name);

 private:
  friend class CollectionStore;
  using RefCountedStore::RefCountedStore;
};

}  // namespace quill::storage
