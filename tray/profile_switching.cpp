#include "tray/profile_switching.h"

#include "common/name_fields.h"

namespace quill::tray {

std::u16string LastExecutableOf(std::u16string_view executable) {
  return std::u16string(CutToUnits(executable, kLastExecutableUnits));
}

ProfileEntry* ProfileAtOrLast(const ProfileList& profiles, int32_t index) {
  if (profiles.empty() || index < 0) return nullptr;
  if (static_cast<size_t>(index) >= profiles.size()) return &*--profiles.end();
  return profiles.At(static_cast<size_t>(index));
}

ProfileEntry* ProfileInSlot(const ProfileList& profiles, int32_t slot) {
  if (slot < 1) return nullptr;
  return profiles.FindById(slot);
}

Activation PlanActivation(const ProfileEntry& profile, bool showDisplay, const OsdSwitches& current) {
  Activation a;
  if (showDisplay) a.display = current.bProfileOsd ? ProfileDisplayStep::kShow : ProfileDisplayStep::kHide;
  a.switches = SwitchesOf(profile);
  a.lastExecutable = LastExecutableOf(profile.szExecutable);
  return a;
}

ApplicationSwitch CheckApplication(const ProfileList& profiles, std::u16string_view foreground,
                                   std::u16string_view lastExecutable, std::u16string_view noneText) {
  ApplicationSwitch result;
  if (foreground.empty()) return result;
  int32_t index = 0;
  for (ProfileEntry& profile : profiles) {
    const std::u16string& exe = profile.szExecutable;
    if (!exe.empty() && exe != noneText && exe == foreground) {
      std::u16string cut = LastExecutableOf(exe);
      if (cut == lastExecutable) return result;
      result.profile = &profile;
      result.index = index;
      result.activate = profile.bAutoLoad != 0;
      result.lastExecutable = std::move(cut);
      return result;
    }
    ++index;
  }
  return result;
}

}  // namespace quill::tray
