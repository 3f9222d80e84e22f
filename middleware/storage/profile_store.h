// Profiles ("\Profiles", reference-counted) and private profiles ("\PrivateProfiles").
//
// A profile item holds "RefCount" (the groups that list it), "Version", "NumMappings" and one
// mapping value per entry; a stored profile counts one reference to every macro and user
// action its entries name. Private profiles hold the same values without "RefCount" and count
// nothing.
#pragma once
#include <memory>

#include "middleware/storage/collection_store.h"
#include "middleware/storage/macro_store.h"
#include "middleware/storage/store_records.h"
#include "middleware/storage/user_action_store.h"

namespace quill::storage {

class RefCountChanges;

class ProfileStore : public RefCountedStore {
 public:
  // Creates the profile store with the macro and user-action stores it counts references in.
  static HResult Create(RegistryKey& machine, std::u16string_view device_key_name,
                        std::unique_ptr<ProfileStore>& store);

  HResult Load(std::u16string_view name, ProfileRecord& profile);
  // Stores the profile; one stored under the name is replaced and keeps its "RefCount", its
  // references are released and the new entries' counted. Every macro and user action named
  // must be stored (else E_FAIL). A save that fails changes nothing.
  HResult Save(std::u16string_view name, const ProfileRecord& profile);
  // E_FAIL while a group lists the profile; otherwise releases its references and removes it.
  HResult Delete(std::u16string_view name);
  // Releases the references of the stored profile and removes it, whatever its "RefCount".
  HResult Replace(std::u16string_view name);

  MacroStore& macros() { return *macros_; }
  UserActionStore& user_actions() { return *user_actions_; }

 private:
  friend class CollectionStore;
  using RefCountedStore::RefCountedStore;
  // Adds a release (or raise) of every macro and user action the profile names.
  void CountReferences(const ProfileRecord& profile, bool raise, RefCountChanges& changes);

  std::unique_ptr<MacroStore> macros_;
  std::unique_ptr<UserActionStore> user_actions_;
};

class PrivateProfileStore : public CollectionStore {
 public:
  static HResult Create(RegistryKey& machine, std::u16string_view device_key_name,
                        std::unique_ptr<PrivateProfileStore>& store);

  // Replaces the item; a save that fails leaves the stored one as it was.
  HResult Save(std::u16string_view name, const ProfileRecord& profile);
  HResult Load(std::u16string_view name, ProfileRecord& profile);

 private:
  friend class CollectionStore;
  using CollectionStore::CollectionStore;
};

}  // namespace quill::storage
