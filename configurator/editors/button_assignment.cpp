#include "configurator/editors/button_assignment.h"

#include "common/key_names.h"

namespace quill::editors {
namespace {

using buttons::ButtonInfo;

MappingSlots& SlotsOf(ProfileEntry& profile) {
  if (!profile.pMappings) profile.pMappings = std::make_unique<MappingSlots>(buttons::DefaultMappings());
  return *profile.pMappings;
}

template <class Entry>
Entry* Nth(const EntryList<Entry>& list, int n) {
  if (n < 1) return nullptr;
  for (Entry& entry : list) {
    if (--n == 0) return &entry;
  }
  return nullptr;
}

}  // namespace

ButtonAssignment::ButtonAssignment() {
  for (const ButtonInfo& button : buttons::Buttons()) last_[button.fileIndex] = button.defaultFunction;
}

int ButtonAssignment::LastChoice(int box) const {
  const ButtonInfo* button = buttons::ButtonForBox(box);
  return button ? last_[button->fileIndex] : -1;
}

AssignResult ButtonAssignment::Store(ProfileEntry& profile, const ButtonInfo& button, int function,
                                     const buttons::MappingWords& mapping) {
  MappingSlots& slots = SlotsOf(profile);
  if (!buttons::KeepsAClick(slots, button.slot, mapping)) {
    last_[button.fileIndex] = buttons::kFunctionClick;
    return {AssignOutcome::RefusedNoClick, buttons::kFunctionClick, false};
  }
  slots[button.slot] = mapping;
  profile.apMacros[button.fileIndex] = nullptr;
  profile.apTargetProfiles[button.fileIndex] = nullptr;
  last_[button.fileIndex] = function;
  return {AssignOutcome::Stored, function, false};
}

AssignResult ButtonAssignment::AssignFunction(ProfileEntry* profile, int box, int function, bool fromUser) {
  const ButtonInfo* button = buttons::ButtonForBox(box);
  if (!profile || !button) return {};
  profile->bModified = 1;
  if (!fromUser) last_[button->fileIndex] = function;
  const buttons::CatalogueFunction* entry = buttons::FunctionByIndex(function);
  if (!entry || entry->kind == buttons::FunctionKind::Macro || entry->kind == buttons::FunctionKind::Profile) {
    last_[button->fileIndex] = function;
    return {AssignOutcome::ChoiceOnly, function, false};
  }
  if (entry->kind == buttons::FunctionKind::SingleKey) {
    if (!fromUser) return {AssignOutcome::Ignored, -1, false};
    return {AssignOutcome::AskKey, function, false};
  }
  std::optional<buttons::MappingWords> mapping = buttons::FixedMapping(*button, function);
  if (!mapping) return {AssignOutcome::Ignored, last_[button->fileIndex], false};  // not in its catalogue
  AssignResult result = Store(*profile, *button, function, *mapping);
  result.openStageSettings = fromUser && result.outcome == AssignOutcome::Stored && entry->opensStageSettings;
  return result;
}

AssignResult ButtonAssignment::SelectListPosition(ProfileEntry* profile, int box, int position) {
  const int function = buttons::FunctionAtListPosition(box, position);
  if (function < 0) return {};
  return AssignFunction(profile, box, function, true);
}

AssignResult ButtonAssignment::ConfirmKey(ProfileEntry* profile, int box, uint16_t scanCode, bool extended) {
  const ButtonInfo* button = buttons::ButtonForBox(box);
  if (!profile || !button) return {};
  const uint8_t code = DeviceKeyCode(scanCode, extended);
  if (code == 0) return {AssignOutcome::KeyRefused, last_[button->fileIndex], false};
  return Store(*profile, *button, buttons::kFunctionSingleKey, buttons::SingleKeyMapping(button->lButton, code));
}

AssignResult ButtonAssignment::CancelKey(int box) const {
  const int last = LastChoice(box);
  if (last < 0) return {};
  return {AssignOutcome::KeyRefused, last, false};
}

bool ButtonAssignment::PickMacro(ProfileEntry* profile, int box, const MacroList& macros, int n) {
  const ButtonInfo* button = buttons::ButtonForBox(box);
  MacroEntry* macro = Nth(macros, n);
  if (!profile || !button || !macro) return false;
  profile->bModified = 1;
  profile->apMacros[button->fileIndex] = macro;
  profile->apTargetProfiles[button->fileIndex] = nullptr;
  last_[button->fileIndex] = buttons::kFunctionMacro;
  return true;
}

bool ButtonAssignment::PickProfile(ProfileEntry* profile, int box, const ProfileList& profiles, int n) {
  const ButtonInfo* button = buttons::ButtonForBox(box);
  ProfileEntry* target = Nth(profiles, n);
  if (!profile || !button || !target || button->catalogue != buttons::Catalogue::Full) return false;
  profile->bModified = 1;
  profile->apTargetProfiles[button->fileIndex] = target;
  profile->apMacros[button->fileIndex] = nullptr;
  last_[button->fileIndex] = buttons::kFunctionProfile;
  return true;
}

void ButtonAssignment::SetDefaults(ProfileEntry* profile) {
  if (!profile) return;
  // Left first: it brings back a "Click" before any other box can give its own up.
  for (const ButtonInfo& button : buttons::Buttons()) AssignFunction(profile, button.box, button.defaultFunction, false);
}

int ButtonAssignment::BoxFunction(const ProfileEntry& profile, int box) {
  const ButtonInfo* button = buttons::ButtonForBox(box);
  if (!button) return -1;
  if (profile.apMacros[button->fileIndex]) return buttons::kFunctionMacro;
  if (profile.apTargetProfiles[button->fileIndex]) return buttons::kFunctionProfile;
  if (!profile.pMappings) return button->defaultFunction;
  const int function = buttons::FunctionForMapping((*profile.pMappings)[button->slot]);
  return function >= 0 ? function : button->defaultFunction;
}

void ButtonAssignment::ShowProfile(const ProfileEntry& profile) {
  for (const ButtonInfo& button : buttons::Buttons()) last_[button.fileIndex] = BoxFunction(profile, button.box);
}

}  // namespace quill::editors
