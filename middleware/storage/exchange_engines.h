// Export and import between the store and one exchange file, per kind of object.
//
// Exports add elements to the file; the caller commits it once. Imports read elements the file
// was opened with and save them through the stores, which replace stored objects of the same
// name and count their references.
#pragma once
#include "middleware/storage/exchange_elements.h"
#include "middleware/storage/exchange_file.h"
#include "middleware/storage/group_store.h"
#include "middleware/storage/macro_store.h"
#include "middleware/storage/profile_store.h"
#include "middleware/storage/user_action_store.h"

namespace quill::storage {

// Single objects: profiles, macros, user actions.
template <class Store, class Record>
class ItemExchange {
 public:
  ItemExchange(ExchangeFile& file, Store& store) : file_(file), store_(store) {}

  // Adds the stored object's element; `exported` receives the object when given.
  HResult Export(std::u16string_view name, Record* exported = nullptr);
  // Every stored object in enumeration order; the first failure stops.
  HResult ExportAll();
  // Saves the file's element of that name (E_FAIL when the file has none).
  HResult Import(std::u16string_view name);
  // Every element of the kind in file order; the first failure stops.
  HResult ImportAll();
  bool InFile(std::u16string_view name) const { return file_.Find(kKind, name) != nullptr; }

 protected:
  static constexpr ElementKind kKind = ElementKindOf<Record>();
  ExchangeFile& file_;
  Store& store_;
};

// Objects with groups of them: profiles with profile groups, macros with spell books.
template <class Store, class Record>
class GroupExchange : public ItemExchange<Store, Record> {
 public:
  GroupExchange(ExchangeFile& file, GroupStore& groups, Store& members, ElementKind group_kind)
      : ItemExchange<Store, Record>(file, members), groups_(groups), group_kind_(group_kind) {}

  // Adds the group's element and those of its members.
  HResult ExportGroup(std::u16string_view name);
  HResult ExportAllGroups();
  // Imports the members from the file, then saves the group.
  HResult ImportGroup(std::u16string_view name);
  HResult ImportAllGroups();

 private:
  GroupStore& groups_;
  ElementKind group_kind_;
};

using ProfileExchange = GroupExchange<ProfileStore, ProfileRecord>;
using MacroExchange = GroupExchange<MacroStore, MacroRecord>;
using UserActionExchange = ItemExchange<UserActionStore, UserActionRecord>;

extern template class ItemExchange<ProfileStore, ProfileRecord>;
extern template class ItemExchange<MacroStore, MacroRecord>;
extern template class ItemExchange<UserActionStore, UserActionRecord>;
extern template class GroupExchange<ProfileStore, ProfileRecord>;
extern template class GroupExchange<MacroStore, MacroRecord>;

}  // namespace quill::storage
