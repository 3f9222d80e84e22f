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
  store.reset();
  std::unique_ptr<RegistryKey> key;
  const HResult hr = OpenCollection(machine, device_key_name, kUserActionsSuffix, key);
  if (Failed(hr)) return hr;
  store.reset(new UserActionStore(std::move(key), std::u16string(device_key_name)));
  return kS_OK;
}

HResult UserActionStore::Save(std::u16string_view name, const UserActionRecord& action) {
  HResult hr = CheckItemName(name);
  if (Failed(hr)) return hr;
  if (action.data.size() > kMaxUserActionData) return kE_INVALIDARG;
  int32_t ref_count = 0;
  bool exists = false;
  hr = KeptRefCount(name, ref_count, exists);
  if (Failed(hr)) return hr;
  UserActionRecord old;
  ValueList previous;
  const bool keep_previous = exists && Succeeded(Load(name, old));
  if (keep_previous) previous = UserActionValues(ref_count, old);
  return RewriteItem(name, UserActionValues(ref_count, action), keep_previous ? &previous : nullptr);
}

HResult UserActionStore::Load(std::u16string_view name, UserActionRecord& action) {
  action = UserActionRecord{};
  std::unique_ptr<RegistryKey> item;
  HResult hr = OpenItem(name, item);
  if (Failed(hr)) return hr;
  UserActionRecord loaded;
  uint32_t count = 0;
  if (Failed(hr = ReadDword(*item, kCodeValue, loaded.code)) ||
      Failed(hr = ReadCount(*item, kNumDataValue, count))) {
    return hr;
  }
  if (count > kMaxUserActionData) return kE_INVALID_DATA;
  hr = ReadBinary(*item, kDataValue, count, loaded.data);
  if (Failed(hr)) return hr;
  if (loaded.data.size() != count) return kE_INVALID_DATA;
  action = std::move(loaded);
  return kS_OK;
}

HResult UserActionStore::Delete(std::u16string_view name) { return DeleteUnreferenced(name); }

}  // namespace quill::storage
