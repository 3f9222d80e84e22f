// The "assign buttons" page: what a choice in one of the nine boxes does to the selected
// profile's mapping slots.
//
// The page calls:
//   SelectListPosition(profile, box, position)  a choice in a box (wheel boxes list six functions)
//   ConfirmKey / CancelKey                      the answer of the "Single Key Settings" box
//   PickMacro / PickProfile                     a pick in a box's second-level list (1-based)
//   SetDefaults(profile)                        New profile, "Restore Default", ...
// and gets back what the box is to show and whether a box (key capture, refusal, stage
// settings) is to be opened. A refused or cancelled choice leaves the slot as it was and puts
// the box back on its last choice.
//
// "Macro" and "Profile" only record the choice: the slot is written by the apply once a macro
// or profile is picked. Choosing "Profile" keeps the profile's modified mark (clearing it would
// let earlier unsaved edits of the profile be skipped by the next save).
#pragma once

#include <array>
#include <cstdint>
#include <string_view>

#include "common/button_catalogue.h"
#include "common/profile_records.h"

namespace quill::editors {

inline constexpr std::u16string_view kInformationTitle = u"Information";
inline constexpr std::u16string_view kNeedOneClickText = u"At Least 1 Button Must Be Assigned To Click";
inline constexpr std::u16string_view kSingleKeyTitle = u"Single Key Settings";
inline constexpr std::u16string_view kSingleKeyPrompt = u"Enter Single Key";

enum class AssignOutcome {
  Ignored,         // no profile, an unknown box or a position outside its list: nothing changed
  Stored,          // the record is in the slot
  ChoiceOnly,      // "Macro", "Profile": the box shows it, the slot waits for a pick and the apply
  AskKey,          // "Single Key" chosen by the user: open the key box, then ConfirmKey/CancelKey
  KeyRefused,      // the key box was cancelled or its key has no device code: slot unchanged
  RefusedNoClick,  // no button would be left on "Click": show kInformationTitle/kNeedOneClickText
};

struct AssignResult {
  AssignOutcome outcome = AssignOutcome::Ignored;
  int boxFunction = -1;            // function the box is to show (-1: leave the box alone)
  bool openStageSettings = false;  // a stage function chosen by the user: open the stage settings
};

class ButtonAssignment {
 public:
  ButtonAssignment();

  AssignResult AssignFunction(ProfileEntry* profile, int box, int function, bool fromUser);
  // The box selection handler: list position to function (wheel boxes), then a user choice.
  AssignResult SelectListPosition(ProfileEntry* profile, int box, int position);
  // The key box confirmed with a captured key (scan code and extended flag of the key message).
  AssignResult ConfirmKey(ProfileEntry* profile, int box, uint16_t scanCode, bool extended);
  AssignResult CancelKey(int box) const;

  // Second-level picks, n counted from 1. False (nothing changed) beyond the end of the list.
  bool PickMacro(ProfileEntry* profile, int box, const MacroList& macros, int n);
  bool PickProfile(ProfileEntry* profile, int box, const ProfileList& profiles, int n);

  // The nine default functions, without questions.
  void SetDefaults(ProfileEntry* profile);

  // The box's last accepted choice, and the choices shown for a profile being selected.
  int LastChoice(int box) const;
  void ShowProfile(const ProfileEntry& profile);

  // What a box shows for a profile: its macro or target pick, else the function of its slot,
  // else the default.
  static int BoxFunction(const ProfileEntry& profile, int box);

 private:
  AssignResult Store(ProfileEntry& profile, const buttons::ButtonInfo& button, int function,
                     const buttons::MappingWords& mapping);
  std::array<int, buttons::kButtonCount> last_{};
};

}  // namespace quill::editors
