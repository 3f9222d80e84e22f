// Named lists of stored objects: profile groups ("\ProfileGroups", members are profiles) and
// spell books ("\SpellBooks", members are macros).
//
// A group item holds the member count ("NumProfiles" or "NumMacros") and the member names as
// REG_SZ "0000", "0001", …; each listing counts one reference to the member.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "middleware/storage/collection_store.h"
#include "middleware/storage/macro_store.h"
#include "middleware/storage/profile_store.h"

namespace quill::storage {

class GroupStore : public CollectionStore {
 public:
  // The stored member count; 0 on failure (E_FAIL for a group that is not stored).
  HResult LoadNumMembers(std::u16string_view group, int32_t& count);
  // The first `count` member names; E_FAIL when the group lists fewer.
  HResult LoadMembers(std::u16string_view group, int32_t count, std::vector<std::u16string>& members);
  // Stores the group, replacing one of the same name. Every member must be stored (else
  // E_FAIL); the old members lose a reference and the new ones gain one. A save that fails
  // changes nothing.
  HResult Save(std::u16string_view group, const std::vector<std::u16string>& members);
  // Releases the members (those still stored) and removes the group.
  HResult Delete(std::u16string_view group);

 protected:
  GroupStore(std::unique_ptr<RegistryKey> key, std::u16string device_key_name,
             std::u16string_view count_value, std::unique_ptr<RefCountedStore> members);
  RefCountedStore& member_store() { return *members_; }
  // Creates the member store, then a group store of type Group on the collection `suffix`.
  template <class Group, class Members>
  static HResult BuildGroup(RegistryKey& machine, std::u16string_view device_key_name, std::u16string_view suffix,
                            std::u16string_view count_value, std::unique_ptr<Group>& store);

 private:
  HResult LoadAll(RegistryKey& item, std::vector<std::u16string>& members);
  ValueList GroupValues(const std::vector<std::u16string>& members) const;

  std::u16string_view count_value_;
  std::unique_ptr<RefCountedStore> members_;
};

class ProfileGroupStore : public GroupStore {
 public:
  // Creates the group store with the profile store of its members.
  static HResult Create(RegistryKey& machine, std::u16string_view device_key_name,
                        std::unique_ptr<ProfileGroupStore>& store);
  ProfileStore& profiles() { return static_cast<ProfileStore&>(member_store()); }

 private:
  friend class GroupStore;
  using GroupStore::GroupStore;
};

class SpellBookStore : public GroupStore {
 public:
  // Creates the spell-book store with the macro store of its members.
  static HResult Create(RegistryKey& machine, std::u16string_view device_key_name,
                        std::unique_ptr<SpellBookStore>& store);
  MacroStore& macros() { return static_cast<MacroStore&>(member_store()); }

 private:
  friend class GroupStore;
  using GroupStore::GroupStore;
};

}  // namespace quill::storage
