#include "common/profile_records.h"

namespace quill {

std::unique_ptr<ProfileEntry> RemoveProfile(EntryLists& lists, const ProfileEntry* profile) {
  auto owned = lists.profiles.Release(profile);
  if (!owned) return owned;
  for (ProfileEntry& other : lists.profiles)
    for (ProfileEntry*& target : other.apTargetProfiles)
      if (target == profile) target = nullptr;
  for (ProfileEntry*& target : owned->apTargetProfiles)
    if (target == profile) target = nullptr;
  return owned;
}

std::unique_ptr<MacroEntry> RemoveMacro(EntryLists& lists, const MacroEntry* macro) {
  auto owned = lists.macros.Release(macro);
  if (!owned) return owned;
  for (ProfileEntry& profile : lists.profiles)
    for (MacroEntry*& used : profile.apMacros)
      if (used == macro) used = nullptr;
  return owned;
}

size_t SlotOfFileIndex(size_t fileIndex) {
  const buttons::ButtonInfo* button = buttons::ButtonForFileIndex(static_cast<int>(fileIndex));
  return button ? static_cast<size_t>(button->slot) : 0;
}

}  // namespace quill
