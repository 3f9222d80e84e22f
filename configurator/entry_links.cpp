#include "configurator/entry_links.h"

namespace quill::cfg {

ProfileLinks* FindLinks(const ProfileEntry& profile) { return dynamic_cast<ProfileLinks*>(profile.pLinks.get()); }
MacroLinks* FindLinks(const MacroEntry& macro) { return dynamic_cast<MacroLinks*>(macro.pLinks.get()); }

namespace {

template <class Links, class Entry>
Links& EnsureLinksOf(Entry& entry) {
  if (Links* links = dynamic_cast<Links*>(entry.pLinks.get())) return *links;
  auto links = std::make_unique<Links>();
  Links& result = *links;
  entry.pLinks = std::move(links);
  return result;
}

}  // namespace

ProfileLinks& EnsureLinks(ProfileEntry& profile) { return EnsureLinksOf<ProfileLinks>(profile); }
MacroLinks& EnsureLinks(MacroEntry& macro) { return EnsureLinksOf<MacroLinks>(macro); }

ProfileObject* StoreObject(const ProfileEntry& profile) {
  const ProfileLinks* links = FindLinks(profile);
  return links ? links->object.get() : nullptr;
}

MacroObject* StoreObject(const MacroEntry& macro) {
  const MacroLinks* links = FindLinks(macro);
  return links ? links->object.get() : nullptr;
}

bool IsGone(const ProfileEntry& profile) { return profile.bMarkedForDelete || profile.bDeleted; }

ptrdiff_t PositionOfRow(const ProfileList& profiles, ptrdiff_t row) {
  if (row < 0) return -1;
  ptrdiff_t position = 0;
  for (const ProfileEntry& profile : profiles) {
    if (!IsGone(profile) && row-- == 0) return position;
    ++position;
  }
  return -1;
}

ptrdiff_t PositionOfSlot(const ProfileList& profiles, int32_t slot) {
  if (slot < 1) return -1;  // slots count from 1; entries not in the store hold 0
  ptrdiff_t position = 0;
  for (const ProfileEntry& profile : profiles) {
    if (profile.lId == slot && !profile.bDeleted) return position;
    ++position;
  }
  return -1;
}

}  // namespace quill::cfg
