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
  uint32_t stored = 0;
  const HResult hr = ReadItem(group, [&](RegistryKey& item) { return ReadCount(item, count_value_, stored); });
  if (Succeeded(hr)) count = static_cast<int32_t>(stored);
  return hr;
}

HResult GroupStore::LoadMembers(std::u16string_view group, int32_t count,
                                std::vector<std::u16string>& members) {
  members.clear();
  if (count < 0) return kE_INVALIDARG;
  return ReadItem(group, [&](RegistryKey& item) {
    uint32_t stored = 0;
    const HResult hr = ReadCount(item, count_value_, stored);
    if (Failed(hr)) return hr;
    if (stored < static_cast<uint32_t>(count)) return kE_FAIL;
    return ReadMemberNames(item, static_cast<uint32_t>(count), members);
  });
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
  const auto lock = LockWrites();
  std::vector<std::u16string> old;
  bool exists = false;
  hr = ReadItem(group, [&](RegistryKey& item) {
    exists = true;
    return LoadAll(item, old);
  });
  if (Failed(hr) && (exists || hr != kE_FAIL)) return hr;

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
  const auto lock = LockWrites();
  std::vector<std::u16string> old;
  HResult hr = ReadItem(group, [&](RegistryKey& item) { return LoadAll(item, old); });
  if (Failed(hr)) return hr;
  RefCountChanges changes;
  for (const std::u16string& member : old) changes.Release(*members_, member);
  if (Failed(hr = changes.Apply())) return hr;
  hr = DeleteItem(group);
  if (Failed(hr)) changes.Undo();
  return hr;
}

template <class Group, class Members>
HResult GroupStore::BuildGroup(RegistryKey& machine, std::u16string_view device_key_name, std::u16string_view suffix,
                               std::u16string_view count_value, std::unique_ptr<Group>& store) {
  store.reset();
  std::unique_ptr<Members> members;
  std::unique_ptr<RegistryKey> key;
  HResult hr = Members::Create(machine, device_key_name, members);
  if (Succeeded(hr)) hr = OpenCollection(machine, device_key_name, suffix, key);
  if (Failed(hr)) return hr;
  store.reset(new Group(std::move(key), std::u16string(device_key_name), count_value, std::move(members)));
  return kS_OK;
}

HResult ProfileGroupStore::Create(RegistryKey& machine, std::u16string_view device_key_name,
                                  std::unique_ptr<ProfileGroupStore>& store) {
  return BuildGroup<ProfileGroupStore, ProfileStore>(machine, device_key_name, kProfileGroupsSuffix,
                                                     kNumProfilesValue, store);
}

HResult SpellBookStore::Create(RegistryKey& machine, std::u16string_view device_key_name,
                               std::unique_ptr<SpellBookStore>& store) {
  return BuildGroup<SpellBookStore, MacroStore>(machine, device_key_name, kSpellBooksSuffix, kNumMacrosValue, store);
}

}  // namespace quill::storage
