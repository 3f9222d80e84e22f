#include "middleware/storage/group_store.h"

#include <algorithm>

#include "middleware/storage/ref_count_changes.h"
#include "middleware/storage/store_names.h"

namespace quill::storage {

namespace {

HResult ReadMemberNames(RegistryKey& item, uint32_t count, std::vector<std::u16string>& members) {
  members.clear();
  std::vector<std::u16string> names;
  names.reserve(std::min<uint32_t>(count, 4096));
  for (uint32_t i = 0; i < count; ++i) {
    std::u16string name;
    const HResult hr = ReadString(item, IndexedValueName(i), kMaxItemNameLength, name);
    if (Failed(hr)) return hr;
    names.push_back(std::move(name));
  }
  members = std::move(names);
  return kS_OK;
}

}  // namespace

GroupStore::GroupStore(std::unique_ptr<RegistryKey> key, std::u16string device_key_name,
                       std::u16string_view count_value, std::unique_ptr<RefCountedStore> members)
    : CollectionStore(std::move(key), std::move(device_key_name)),
      count_value_(count_value),
      members_(std::move(members)) {}

HResult GroupStore::LoadNumMembers(std::u16string_view group, int32_t& count) {
  count = 0;
  std::unique_ptr<RegistryKey> item;
  HResult hr = OpenItem(group, item);
  if (Failed(hr)) return hr;
  uint32_t stored = 0;
  hr = ReadCount(*item, count_value_, stored);
  if (Succeeded(hr)) count = static_cast<int32_t>(stored);
  return hr;
}

HResult GroupStore::LoadMembers(std::u16string_view group, int32_t count,
                                std::vector<std::u16string>& members) {
  members.clear();
  if (count < 0) return kE_INVALIDARG;
  std::unique_ptr<RegistryKey> item;
  HResult hr = OpenItem(group, item);
  if (Failed(hr)) return hr;
  uint32_t stored = 0;
  hr = ReadCount(*item, count_value_, stored);
  if (Failed(hr)) return hr;
  if (stored < static_cast<uint32_t>(count)) return kE_FAIL;
  return ReadMemberNames(*item, static_cast<uint32_t>(count), members);
}

HResult GroupStore::LoadAll(RegistryKey& item, std::vector<std::u16string>& members) {
  members.clear();
  uint32_t stored = 0;
  HResult hr = ReadCount(item, count_value_, stored);
  if (Failed(hr)) return hr;
  return ReadMemberNames(item, stored, members);
}

ValueList GroupStore::GroupValues(const std::vector<std::u16string>& members) const {
  ValueList values;
  AddDword(values, count_value_, static_cast<int32_t>(members.size()));
  for (size_t i = 0; i < members.size(); ++i) {
    AddString(values, IndexedValueName(static_cast<uint32_t>(i)), members[i]);
  }
  return values;
}

HResult GroupStore::Save(std::u16string_view group, const std::vector<std::u16string>& members) {
  HResult hr = CheckItemName(group);
  if (Failed(hr)) return hr;
  if (members.size() > static_cast<size_t>(INT32_MAX)) return kE_INVALIDARG;
  for (const std::u16string& member : members) {
    if (Failed(hr = CheckItemName(member))) return hr;
  }
  std::unique_ptr<RegistryKey> item;
  std::vector<std::u16string> old;
  hr = OpenItem(group, item);
  const bool exists = Succeeded(hr);
  if (exists) hr = LoadAll(*item, old);
  item.reset();
  if (Failed(hr) && hr != kE_FAIL) return hr;

  RefCountChanges changes;
  for (const std::u16string& member : old) changes.Release(*members_, member);
  for (const std::u16string& member : members) changes.Raise(*members_, member);
  if (Failed(hr = changes.Apply())) return hr;
  const ValueList previous = GroupValues(old);
  hr = RewriteItem(group, GroupValues(members), exists ? &previous : nullptr);
  if (Failed(hr)) changes.Undo();
  return hr;
}

HResult GroupStore::Delete(std::u16string_view group) {
  std::unique_ptr<RegistryKey> item;
  std::vector<std::u16string> old;
  HResult hr = OpenItem(group, item);
  if (Succeeded(hr)) hr = LoadAll(*item, old);
  item.reset();
  if (Failed(hr)) return hr;
  RefCountChanges changes;
  for (const std::u16string& member : old) changes.Release(*members_, member);
  if (Failed(hr = changes.Apply())) return hr;
  hr = DeleteItem(group);
  if (Failed(hr)) changes.Undo();
  return hr;
}

HResult ProfileGroupStore::Create(RegistryKey& machine, std::u16string_view device_key_name,
                                  std::unique_ptr<ProfileGroupStore>& store) {
  store.reset();
  std::unique_ptr<ProfileStore> profiles;
  std::unique_ptr<RegistryKey> key;
  HResult hr = ProfileStore::Create(machine, device_key_name, profiles);
  if (Succeeded(hr)) hr = OpenCollection(machine, device_key_name, kProfileGroupsSuffix, key);
  if (Failed(hr)) return hr;
  store.reset(new ProfileGroupStore(std::move(key), std::u16string(device_key_name),
                                    kNumProfilesValue, std::move(profiles)));
  return kS_OK;
}

HResult SpellBookStore::Create(RegistryKey& machine, std::u16string_view device_key_name,
                               std::unique_ptr<SpellBookStore>& store) {
  store.reset();
  std::unique_ptr<MacroStore> macros;
  std::unique_ptr<RegistryKey> key;
  HResult hr = MacroStore::Create(machine, device_key_name, macros);
  if (Succeeded(hr)) hr = OpenCollection(machine, device_key_name, kSpellBooksSuffix, key);
  if (Failed(hr)) return hr;
  store.reset(new SpellBookStore(std::move(key), std::u16string(device_key_name),
                                 kNumMacrosValue, std::move(macros)));
  return kS_OK;
}

}  // namespace quill::storage
