// Which profile the tray activates and what that changes: the profile of a menu item or
// command-line action, of a slot the mouse reports, or of the application in the foreground,
// and the on-screen display switches and last switched executable that follow.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "common/profile_records.h"

namespace quill::tray {

// Characters of the last switched executable that are kept (a buffer of 64 units). Names are
// always compared in this cut form, so a longer name still matches itself.
constexpr size_t kLastExecutableUnits = 63;

std::u16string LastExecutableOf(std::u16string_view executable);

// The profile at a list position, the last one when the list is shorter; null for an empty
// list or a negative position.
ProfileEntry* ProfileAtOrLast(const ProfileList& profiles, int32_t index);

// The profile in an on-board slot (1-based, its profile number lId); null when no profile of
// the list has it. The mouse reports slots, and the list skips the slots of deleted profiles.
ProfileEntry* ProfileInSlot(const ProfileList& profiles, int32_t slot);

struct OsdSwitches {
  int32_t bOtfsOsd = 0;
  int32_t bProfileOsd = 0;
};

inline OsdSwitches SwitchesOf(const ProfileEntry& profile) {
  return {profile.bOtfsOsd, profile.bProfileOsd};
}

enum class ProfileDisplayStep { kNone, kShow, kHide };

// What activating a profile does besides telling the mouse: the profile display follows the
// switches in effect before the call; afterwards the profile's switches and executable are
// current.
struct Activation {
  ProfileDisplayStep display = ProfileDisplayStep::kNone;
  OsdSwitches switches;
  std::u16string lastExecutable;
};
Activation PlanActivation(const ProfileEntry& profile, bool showDisplay, const OsdSwitches& current);

// Application check: the first profile (list order) whose executable is exactly the foreground
// application's file name. Nothing happens for no name, no match, a profile naming no
// application (empty or noneText, the translated "<none>"), or the last switched executable.
struct ApplicationSwitch {
  ProfileEntry* profile = nullptr;  // the match to remember; null: nothing happens
  int32_t index = -1;
  bool activate = false;            // the profile loads automatically
  std::u16string lastExecutable;    // the new last switched executable
};
ApplicationSwitch CheckApplication(const ProfileList& profiles, std::u16string_view foreground,
                                   std::u16string_view lastExecutable, std::u16string_view noneText);

}  // namespace quill::tray
