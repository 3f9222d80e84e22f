#include "middleware/storage/profile_store.h"

#include "middleware/storage/ref_count_changes.h"
#include "middleware/storage/storage_errors.h"
#include "middleware/storage/store_names.h"
#include "middleware/storage/value_codec.h"

namespace quill::storage {

namespace {

// Longest name a mapping value carries and still reads back within kMaxMappingValueSize.
constexpr size_t kMaxMappingNameLength = (kMaxMappingValueSize - kRecordSize) / 2 - 1;

// The values of a profile item; "RefCount" first when `ref_count` is given.
ValueList ProfileValues(const int32_t* ref_count, const ProfileRecord& profile) {
  ValueList values;
  if (ref_count != nullptr) AddDword(values, kRefCountValue, *ref_count);
  AddDword(values, kVersionValue, profile.version);
  AddDword(values, kNumMappingsValue, static_cast<int32_t>(profile.mappings.size()));
  for (size_t i = 0; i < profile.mappings.size(); ++i) {
    AddBinary(values, IndexedValueName(static_cast<uint32_t>(i)), EncodeMapping(profile.mappings[i]));
  }
  return values;
}

// Names in the entries of a counted profile must be item names; a private profile only needs
// them to fit the value.
HResult CheckMappingNames(const ProfileRecord& profile, bool counted) {
  if (profile.mappings.size() > static_cast<size_t>(INT32_MAX)) return kE_INVALIDARG;
  for (const ButtonMapping& mapping : profile.mappings) {
    if (!mapping.NamesObject()) continue;
    if (counted) {
      const HResult hr = CheckItemName(mapping.name);
      if (Failed(hr)) return hr;
    } else if (mapping.name.size() > kMaxMappingNameLength ||
               mapping.name.find(u'\0') != std::u16string::npos) {
      return kE_INVALID_NAME;
    }
  }
  return kS_OK;
}

HResult LoadProfileItem(RegistryKey& item, ProfileRecord& profile) {
  profile = ProfileRecord{};
  ProfileRecord loaded;
  uint32_t count = 0;
  HResult hr;
  if (Failed(hr = ReadDword(item, kVersionValue, loaded.version)) ||
      Failed(hr = ReadCount(item, kNumMappingsValue, count))) {
    return hr;
  }
  hr = ReadIndexedEntries(item, count, kMaxMappingValueSize, DecodeMapping, loaded.mappings);
  if (Failed(hr)) return hr;
  profile = std::move(loaded);
  return kS_OK;
}

}  // namespace

HResult ProfileStore::Create(RegistryKey& machine, std::u16string_view device_key_name,
                             std::unique_ptr<ProfileStore>& store) {
  store.reset();
  HResult hr;
  std::unique_ptr<ProfileStore> created;
  if (Failed(hr = Build(machine, device_key_name, kProfilesSuffix, created)) ||
      Failed(hr = MacroStore::Create(machine, device_key_name, created->macros_)) ||
      Failed(hr = UserActionStore::Create(machine, device_key_name, created->user_actions_))) {
    return hr;
  }
  store = std::move(created);
  return kS_OK;
}

HResult ProfileStore::Load(std::u16string_view name, ProfileRecord& profile) {
  profile = ProfileRecord{};
  return ReadItem(name, [&](RegistryKey& item) { return LoadProfileItem(item, profile); });
}

void ProfileStore::CountReferences(const ProfileRecord& profile, bool raise, RefCountChanges& changes) {
  for (const ButtonMapping& mapping : profile.mappings) {
    RefCountedStore* store = mapping.NamesMacro()        ? static_cast<RefCountedStore*>(macros_.get())
                             : mapping.NamesUserAction() ? user_actions_.get()
                                                         : nullptr;
    if (store == nullptr) continue;
    if (raise) {
      changes.Raise(*store, mapping.name);
    } else {
      changes.Release(*store, mapping.name);
    }
  }
}

HResult ProfileStore::Save(std::u16string_view name, const ProfileRecord& profile) {
  HResult hr = CheckItemName(name);
  if (Failed(hr) || Failed(hr = CheckMappingNames(profile, true))) return hr;
  const auto lock = LockWrites();
  int32_t ref_count = 0;
  bool exists = false;
  hr = KeptRefCount(name, ref_count, exists);
  if (Failed(hr)) return hr;
  ProfileRecord old;
  if (exists && Failed(hr = Load(name, old))) return hr;

  RefCountChanges changes;
  CountReferences(old, false, changes);
  CountReferences(profile, true, changes);
  if (Failed(hr = changes.Apply())) return hr;
  const ValueList previous = ProfileValues(&ref_count, old);
  hr = RewriteItem(name, ProfileValues(&ref_count, profile), exists ? &previous : nullptr);
  if (Failed(hr)) changes.Undo();
  return hr;
}

HResult ProfileStore::Replace(std::u16string_view name) {
  const auto lock = LockWrites();
  ProfileRecord old;
  HResult hr = Load(name, old);
  if (Failed(hr)) return hr;
  RefCountChanges changes;
  CountReferences(old, false, changes);
  if (Failed(hr = changes.Apply())) return hr;
  hr = DeleteItem(name);
  if (Failed(hr)) changes.Undo();
  return hr;
}

HResult ProfileStore::Delete(std::u16string_view name) {
  const auto lock = LockWrites();
  const HResult hr = CheckUnreferenced(name);
  return Failed(hr) ? hr : Replace(name);
}

HResult PrivateProfileStore::Create(RegistryKey& machine, std::u16string_view device_key_name,
                                    std::unique_ptr<PrivateProfileStore>& store) {
  return Build(machine, device_key_name, kPrivateProfilesSuffix, store);
}

HResult PrivateProfileStore::Save(std::u16string_view name, const ProfileRecord& profile) {
  HResult hr = CheckItemName(name);
  if (Failed(hr) || Failed(hr = CheckMappingNames(profile, false))) return hr;
  ProfileRecord old;
  const bool keep_previous = Succeeded(Load(name, old));
  const ValueList previous = ProfileValues(nullptr, old);
  return RewriteItem(name, ProfileValues(nullptr, profile), keep_previous ? &previous : nullptr);
}

HResult PrivateProfileStore::Load(std::u16string_view name, ProfileRecord& profile) {
  profile = ProfileRecord{};
  return ReadItem(name, [&](RegistryKey& item) { return LoadProfileItem(item, profile); });
}

}  // namespace quill::storage
