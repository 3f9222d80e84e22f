#include "middleware/storage/user_action_store.h"

#include "middleware/storage/storage_errors.h"
#include "middleware/storage/store_names.h"

namespace quill::storage {

namespace {

ValueList UserActionValues(int32_t ref_count, const UserActionRecord& action) {
  ValueList values;
  AddDword(values, kRefCountValue, ref_count);
  AddDword(values, kCodeValue, action.code);
  AddDword(values, kNumDataValue, static_cast<int32_t>(action.data.size()));
  AddBinary(values, kDataValue, action.data);
  return values;
}

}  // namespace

HResult UserActionStore::Create(RegistryKey& machine, std::u16string_view device_key_name,
                                std::unique_ptr<UserActionStore>& store) {
  return Build(machine, device_key_name, kUserActionsSuffix, store);
}

HResult UserActionStore::Save(std::u16string_view name, const UserActionRecord& action) {
  const HResult hr = CheckItemName(name);
  if (Failed(hr)) return hr;
  if (action.data.size() > kMaxUserActionData) return kE_INVALIDARG;
  return SaveKeepingRefCount(*this, name, action, UserActionValues);
}

HResult UserActionStore::Load(std::u16string_view name, UserActionRecord& action) {
  action = UserActionRecord{};
  return ReadItem(name, [&](RegistryKey& item) {
    UserActionRecord loaded;
    uint32_t count = 0;
    HResult hr;
    if (Failed(hr = ReadDword(item, kCodeValue, loaded.code)) || Failed(hr = ReadCount(item, kNumDataValue, count))) {
      return hr;
    }
    if (count > kMaxUserActionData) return kE_INVALID_DATA;
    hr = ReadBinary(item, kDataValue, count, loaded.data);
    if (Failed(hr)) return hr;
    if (loaded.data.size() != count) return kE_INVALID_DATA;
    action = std::move(loaded);
    return kS_OK;
  });
}

HResult UserActionStore::Delete(std::u16string_view name) { return DeleteUnreferenced(name); }

}  // namespace quill::storage
