// What the configuration application attaches to its profile and macro entries: the store
// object and the flags the apply sequence works with. The Windows side may derive from these
// to keep more.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>

#include "common/profile_records.h"
#include "configurator/config_middleware.h"

namespace quill::cfg {

struct ProfileLinks : EntryAttachment {
  std::unique_ptr<ProfileObject> object;  // null until the profile is in the store
  bool stored = false;           // the profile exists in the store
  bool mappingsChanged = false;  // a button assignment was edited
  bool reset = false;            // restored to the default settings
  bool copied = false;           // the profile has been copied
};

struct MacroLinks : EntryAttachment {
  std::unique_ptr<MacroObject> object;  // null until the macro is in the store
  bool stored = false;
};

// The entry's links; null when it has none (an entry made in the dialog or read from a file).
ProfileLinks* FindLinks(const ProfileEntry& profile);
MacroLinks* FindLinks(const MacroEntry& macro);
// The entry's links, created empty when it has none. In this program every attachment of a
// profile is a ProfileLinks and of a macro a MacroLinks.
ProfileLinks& EnsureLinks(ProfileEntry& profile);
MacroLinks& EnsureLinks(MacroEntry& macro);

// The store object of an entry, null when it has none.
ProfileObject* StoreObject(const ProfileEntry& profile);
MacroObject* StoreObject(const MacroEntry& macro);

// A profile the user deleted: removed from the store or waiting to be.
bool IsGone(const ProfileEntry& profile);

// List position of the profile shown in a row of the profile list (the rows leave out deleted
// profiles); -1 when there is no such row.
ptrdiff_t PositionOfRow(const ProfileList& profiles, ptrdiff_t row);
// List position of the profile in a store slot (lId, 1 to 5), deleted profiles left out; -1 when
// none has it. The slot identifies the active profile; a name does not (two may share one).
ptrdiff_t PositionOfSlot(const ProfileList& profiles, int32_t slot);

}  // namespace quill::cfg
