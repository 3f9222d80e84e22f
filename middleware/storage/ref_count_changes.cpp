#include "middleware/storage/ref_count_changes.h"

#include <limits>

#include "middleware/storage/storage_errors.h"

namespace quill::storage {

void RefCountChanges::Raise(RefCountedStore& store, std::u16string_view name) {
  changes_.push_back({&store, std::u16string(name), +1});
}

void RefCountChanges::Release(RefCountedStore& store, std::u16string_view name) {
  changes_.push_back({&store, std::u16string(name), -1});
}

HResult RefCountChanges::Apply() {
  for (Change& change : changes_) {
    int32_t count = 0;
    const HResult hr = change.store->ReadRefCount(change.name, count);
    const bool missing = hr == kE_FAIL || hr == kE_INVALID_NAME;
    if (missing && change.delta < 0) {
      change.skip = true;
      continue;
    }
    if (Failed(hr)) return hr;
  }
  for (Change& change : changes_) {
    if (change.skip) continue;
    int32_t count = 0;
    HResult hr = change.store->ReadRefCount(change.name, count);
    if (Succeeded(hr)) {
      int32_t next = count;
      if (change.delta > 0 && count < std::numeric_limits<int32_t>::max()) ++next;
      if (change.delta < 0 && count > 0) --next;
      hr = change.store->WriteRefCount(change.name, next);
    }
    if (Failed(hr)) {
      Undo();
      return hr;
    }
    change.written = true;
    change.before = count;
  }
  return kS_OK;
}

void RefCountChanges::Undo() {
  for (auto it = changes_.rbegin(); it != changes_.rend(); ++it) {
    if (!it->written) continue;
    it->store->WriteRefCount(it->name, it->before);
    it->written = false;
  }
}

}  // namespace quill::storage
