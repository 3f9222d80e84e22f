// The macros of a device ("\Macros"): parameters and 24-byte elements per item.
#pragma once
#include <memory>

#include "middleware/storage/collection_store.h"
#include "middleware/storage/store_records.h"

namespace quill::storage {

class MacroStore : public RefCountedStore {
 public:
  static HResult Create(RegistryKey& machine, std::u16string_view device_key_name,
                        std::unique_ptr<MacroStore>& store);

  // Stores the macro; one stored under the name is replaced and keeps its "RefCount". A save
  // that fails leaves the stored macro as it was. E_INVALIDARG for an icon file name longer than
  // kMaxIconFileLength or holding a zero unit.
  HResult Save(std::u16string_view name, const MacroRecord& macro);
  HResult Load(std::u16string_view name, MacroRecord& macro);
  // E_FAIL while "RefCount" is not 0.
  HResult Delete(std::u16string_view name);

 private:
  friend class CollectionStore;
  using RefCountedStore::RefCountedStore;
};

}  // namespace quill::storage
