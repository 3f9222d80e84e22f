#include "configurator/apply_settings.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "common/button_catalogue.h"
#include "common/macro_upload.h"
#include "configurator/editors/held_events.h"
#include "configurator/entry_links.h"
#include "common/tray_protocol.h"

namespace quill::cfg {

namespace {

constexpr double kMinSensitivity = 1;
constexpr double kMaxSensitivity = 56;
constexpr double kMinAcceleration = 1;
constexpr double kMaxAcceleration = 10;

// value within lo to hi; a value that is not a number counts as lo.
double Within(double value, double lo, double hi) {
  if (!(value >= lo)) return lo;
  return value > hi ? hi : value;
}

// Holds the watchdog still for a scope; it runs again however the scope is left.
class WatchdogPause {
 public:
  explicit WatchdogPause(SessionFlags& flags) : flags_(flags) { flags_.watchdogPaused = true; }
  ~WatchdogPause() { flags_.watchdogPaused = false; }
  WatchdogPause(const WatchdogPause&) = delete;
  WatchdogPause& operator=(const WatchdogPause&) = delete;

 private:
  SessionFlags& flags_;
};

void ApplyPollingRate(ApplyPorts& ports, const ApplyInputs& inputs, ApplyState& state) {
  const std::optional<int32_t> current = ports.device.GetRate();
  if (!current) return;
  if (*current == inputs.rate) {
    ReloadTrayAndWait(ports.tray, ports.clock);
    return;
  }
  // The mouse reconnects after a rate change and the tray loses it: close the tray around the
  // change, and keep the watchdog from taking the reconnection for an unplugged mouse.
  {
    WatchdogPause pause(ports.flags);
    CloseTray(ports.tray, ports.clock);
    LookUntilTrayGone(ports.tray, ports.clock);
    ports.device.SetRate(inputs.rate);
    if (const std::optional<int32_t> readBack = ports.device.GetRate()) state.rate = *readBack;
    ports.flags.reconnectExpected = true;
    StartTrayIfMissing(ports.tray, ports.clock);
  }
  WaitForRestartedTray(ports.tray, ports.clock);
}

// The sliders go into the current stage of the selected profile, which is then written.
void ApplySelectedStages(ConfigMiddleware& device, ProfileEntry* selected, const ApplyInputs& inputs) {
  if (!selected || !selected->pDpiStages) return;
  DpiStages& stages = *selected->pDpiStages;
  ClampStages(stages);
  const uint32_t count = std::min(stages.ulTotalStages, kMaxDpiStages);
  const int32_t current = stages.lCurrentStage;
  if (current >= 1 && static_cast<uint32_t>(current) <= count)
    stages.Sensitivity[static_cast<size_t>(current - 1)] = {SliderDpi(inputs.xSensitivity), SliderDpi(inputs.ySensitivity)};
  if (ProfileObject* object = StoreObject(*selected)) {
    ClampStages(stages);
    device.SetDpiStages(*object, stages);
  }
}

bool AssignedToAButton(const EntryLists& lists, const MacroEntry& macro) {
  for (const ProfileEntry& profile : lists.profiles)
    for (const MacroEntry* used : profile.apMacros)
      if (used == &macro) return true;
  return false;
}

void StoreMacro(ConfigMiddleware& device, MacroEntry& macro) {
  MacroLinks& links = EnsureLinks(macro);
  if (macro.bMarkedForDelete) {
    // A macro that never reached the store has nothing to remove there.
    if (!links.object || device.DeleteMacro(*links.object)) macro.bDeleted = 1;
    return;
  }
  if (!links.stored) {
    std::unique_ptr<MacroObject> created = device.CreateMacro();
    if (!created) return;
    links.object = std::move(created);
    links.stored = true;
    macro.bCreated = 0;
    const std::optional<int32_t> id = device.GetMacroId(*links.object);
    if (!id) return;
    macro.lId = *id;
  }
  if (!links.object) return;
  if (!device.SetMacroName(*links.object, macro_store::DeviceMacroName(macro.szName))) return;
  // A macro of more than 16 events has no upload form and is not sent. One that would leave a
  // key or button held (from an older file) is sent with the releases added.
  MacroEventList events = macro.events;
  if (events.lNumElements >= 0 && events.lNumElements <= kMaxMacroEvents) editors::ReleaseHeldEvents(events);
  if (const std::optional<macro_store::MacroUpload> upload = macro_store::BuildUploadForm(events))
    device.SetMacro(*links.object, *upload);
}

void StoreMacros(ConfigMiddleware& device, EntryLists& lists) {
  for (MacroEntry& macro : lists.macros) {
    if (macro.bDeleted) continue;
    const MacroLinks* links = FindLinks(macro);
    const bool stored = links && links->stored;
    if (AssignedToAButton(lists, macro) || macro.bModified || macro.bMarkedForDelete || !stored) StoreMacro(device, macro);
  }
}

// Creates the profile in the store when it is not there yet, then writes its name.
bool StoreProfile(ConfigMiddleware& device, ProfileEntry& profile, ProfileLinks& links) {
  if (!links.stored) {
    std::unique_ptr<ProfileObject> created = device.CreateProfile();
    if (!created) return false;
    links.object = std::move(created);
    links.stored = true;
    profile.bCreated = 0;
    const std::optional<int32_t> slot = device.GetProfileNumber(*links.object);
    if (!slot) return false;
    profile.lId = *slot;
  }
  return links.object && device.SetProfileName(*links.object, profile.szName);
}

// Macro buttons point at their macro's identifier in the store.
void WriteMacroSlots(ProfileEntry& profile) {
  if (!profile.pMappings) return;
  for (const buttons::ButtonInfo& button : buttons::Buttons()) {
    const MacroEntry* macro = profile.apMacros[static_cast<size_t>(button.fileIndex)];
    if (macro && StoreObject(*macro))
      (*profile.pMappings)[static_cast<size_t>(button.slot)] = buttons::MacroMapping(button.lButton, macro->lId);
  }
}

// Profile-switch buttons point at their target's slot.
void WriteProfileSwitchSlots(ProfileEntry& profile) {
  if (!profile.pMappings) return;
  for (const buttons::ButtonInfo& button : buttons::Buttons()) {
    const ProfileEntry* target = profile.apTargetProfiles[static_cast<size_t>(button.fileIndex)];
    if (target && StoreObject(*target))
      (*profile.pMappings)[static_cast<size_t>(button.slot)] = buttons::ProfileMapping(button.lButton, target->lId);
  }
}

void StoreProfiles(ConfigMiddleware& device, EntryLists& lists, ptrdiff_t selected, ApplyState& state) {
  ProfileList& profiles = lists.profiles;
  // The mouse may have switched profiles since the list was read (its own button, the tray):
  // the active profile is the one in the slot the mouse reports.
  if (const std::optional<int32_t> activeSlot = device.GetActiveProfileNumber())
    state.activeIndex = PositionOfSlot(profiles, *activeSlot);

  // The reset flag is cleared in the first pass; the second pass still needs to know it.
  std::vector<bool> wasReset;
  for (ProfileEntry& profile : profiles) wasReset.push_back(EnsureLinks(profile).reset);

  // First pass: deletions, new profiles, names, LEDs, DPI stages, macro buttons.
  ptrdiff_t i = 0;
  for (ProfileEntry& profile : profiles) {
    const ptrdiff_t position = i++;
    ProfileLinks& links = EnsureLinks(profile);
    const bool changed = links.mappingsChanged || profile.bModified || profile.bMarkedForDelete || links.reset;
    const bool selectedInactive = position == selected && state.activeIndex != selected;
    if (profile.bDeleted || !(changed || !links.stored || selectedInactive)) continue;
    links.reset = false;

    if (position == state.activeIndex && profile.bMarkedForDelete) {
      // The store refuses to delete the active profile: the base profile takes over first.
      ProfileEntry* first = profiles.At(0);
      ProfileObject* firstObject = first ? StoreObject(*first) : nullptr;
      if (firstObject && device.SetActiveProfile(*firstObject)) state.activeIndex = 0;
    }

    bool stored = true;
    if (changed) {
      if (profile.bMarkedForDelete) {
        // Deleted only once the store removed it; a refused deletion is tried again next time.
        if (!links.object || device.DeleteProfile(*links.object)) profile.bDeleted = 1;
        continue;
      }
      stored = StoreProfile(device, profile, links);
    }
    if (stored && links.object) {
      device.SetStatus(*links.object, profile.ulLedFlags);
      if (profile.pDpiStages) {
        ClampStages(*profile.pDpiStages);
        device.SetDpiStages(*links.object, *profile.pDpiStages);
      }
    }
    WriteMacroSlots(profile);
  }

  // Second pass, now that every profile has its slot: profile-switch buttons, the selected
  // profile made active, the mappings.
  i = 0;
  for (ProfileEntry& profile : profiles) {
    const ptrdiff_t position = i++;
    if (IsGone(profile)) continue;
    ProfileLinks& links = EnsureLinks(profile);
    const bool selectedInactive = position == selected && state.activeIndex != selected;
    if (!(links.mappingsChanged || profile.bModified || selectedInactive)) continue;
    WriteProfileSwitchSlots(profile);
    if (!links.object) continue;
    if (position == selected && device.SetActiveProfile(*links.object)) state.activeIndex = position;
    const bool rewrite = links.mappingsChanged || profile.bModified || wasReset[static_cast<size_t>(position)];
    if (rewrite && profile.pMappings) device.SetProfileMappings(*links.object, *profile.pMappings);
  }
}

}  // namespace

uint32_t SliderDpi(double slider) {
  const double value = Within(slider, kMinSensitivity, kMaxSensitivity);
  return static_cast<uint32_t>(value + 0.49) * 100;
}

int32_t AccelerationLevel(double slider) {
  return static_cast<int32_t>(Within(slider, kMinAcceleration, kMaxAcceleration));
}

void ClampStages(DpiStages& stages) {
  if (static_cast<uint32_t>(stages.lCurrentStage) > stages.ulTotalStages)
    stages.lCurrentStage = static_cast<int32_t>(stages.ulTotalStages);
  if (static_cast<uint32_t>(stages.lDefaultStage) > stages.ulTotalStages)
    stages.lDefaultStage = static_cast<int32_t>(stages.ulTotalStages);
}

void ApplyProfileSettings(ConfigMiddleware& device, EntryLists& lists, const ApplyInputs& inputs, ApplyState& state) {
  // The row the dialog shows is turned into a list position once, so every step below works on
  // the same profile even when deleted profiles come before it in the list.
  const ptrdiff_t selected = PositionOfRow(lists.profiles, inputs.selectedRow);
  ApplySelectedStages(device, selected >= 0 ? lists.profiles.At(static_cast<size_t>(selected)) : nullptr, inputs);
  if (device.HasMacroManager()) StoreMacros(device, lists);
  if (device.HasProfileManager()) StoreProfiles(device, lists, selected, state);
  if (device.HasPerformance()) {
    device.SetAcceleration(AccelerationLevel(inputs.acceleration));
    device.SetAccelerationControl(inputs.accelerationEnabled);
  }
}

void ApplySettings(ApplyPorts& ports, EntryLists& lists, const ApplyInputs& inputs, ApplyState& state) {
  state.rate = inputs.rate;
  ApplyPollingRate(ports, inputs, state);
  ApplyProfileSettings(ports.device, lists, inputs, state);
  ports.device.SaveProfileFiles();
  // The tray read the files when it was told to reload at the start; what this apply wrote
  // (an application association, the display switches) takes effect with a second reload.
  NotifyTray(ports.tray, tray::UM_TRAY_RELOAD);
}

}  // namespace quill::cfg
