// The reference-count changes of one store operation, applied as one step.
//
// Every count is read before any is written: an item that must gain a reference and is not
// stored stops the operation with E_FAIL before anything changed. A write that fails part way
// puts back the counts already written, and Undo does the same when a later step of the
// operation fails. Counts never go below zero.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "middleware/storage/collection_store.h"

namespace quill::storage {

class RefCountChanges {
 public:
  // One more reference to an item that must be stored.
  void Raise(RefCountedStore& store, std::u16string_view name);
  // One reference less to an item, if it is still stored; a missing item has nothing to
  // release.
  void Release(RefCountedStore& store, std::u16string_view name);

  HResult Apply();
  // Writes back the counts Apply changed, newest first.
  void Undo();

 private:
  struct Change {
    RefCountedStore* store;
    std::u16string name;
    int delta;
    bool skip = false;     // released item that is not stored
    bool written = false;  // Apply changed it from `before`
    int32_t before = 0;
  };
  std::vector<Change> changes_;
};

}  // namespace quill::storage
