// The assign-buttons page: choices, refusals, key capture and second-level picks.
#include <gtest/gtest.h>

#include "configurator/editors/button_assignment.h"

namespace quill::editors {
namespace {

using namespace buttons;

struct Page : ::testing::Test {
  EntryLists lists;
  ProfileEntry* profile = &lists.profiles.Add(u"Game");
  ButtonAssignment page;
  void SetUp() override { page.SetDefaults(profile); profile->bModified = 0; }
  MappingWords& Slot(int slot) { return (*profile->pMappings)[slot]; }
};

TEST_F(Page, ChoicesWriteTheButtonsSlot) {
  const struct {
    int box, position, slot;
    MappingWords mapping;
  } rows[] = {
      {2803, kFunctionForward, 4, {5, BUTTON_MAPPING_BUTTONS, BUTTON_ACTION_PRESSED, {4, 0, 0}}},
      {2804, kFunctionForward, 3, {4, BUTTON_MAPPING_BUTTONS, BUTTON_ACTION_PRESSED, {4, 0, 0}}},
      {2802, kFunctionDoubleClick, 2, {3, BUTTON_MAPPING_BUTTONS, BUTTON_ACTION_PRESSED, {13, 0, 0}}},
      // Wheel boxes list six functions: position 3 is "Scroll Up" (12), 5 "Button Off".
      {2808, 3, 8, {9, BUTTON_MAPPING_BUTTONS, BUTTON_ACTION_PRESSED, {MOUSE_BUTTON_SCROLL_UP, 0, 0}}},
      {2807, 5, 7, {8, BUTTON_MAPPING_BUTTONS, BUTTON_ACTION_PRESSED, {MOUSE_BUTTON_OFF, 0, 0}}},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.box);
    const AssignResult result = page.SelectListPosition(profile, row.box, row.position);
    EXPECT_EQ(result.outcome, AssignOutcome::Stored);
    EXPECT_EQ(Slot(row.slot), row.mapping);
    EXPECT_EQ(page.LastChoice(row.box), result.boxFunction);
    EXPECT_EQ(profile->bModified, 1);
  }
  EXPECT_EQ(page.SelectListPosition(profile, 2807, 6).outcome, AssignOutcome::Ignored);  // past the wheel list
  EXPECT_EQ(page.SelectListPosition(nullptr, 2800, 1).outcome, AssignOutcome::Ignored);
}

TEST_F(Page, TheLastClickCannotBeGivenUp) {
  const MappingWords left = Slot(0);
  AssignResult result = page.SelectListPosition(profile, 2800, kFunctionButtonOff);
  EXPECT_EQ(result.outcome, AssignOutcome::RefusedNoClick);
  EXPECT_EQ(result.boxFunction, kFunctionClick);
  EXPECT_EQ(Slot(0), left);
  // A single key is refused the same way, after the key box.
  EXPECT_EQ(page.ConfirmKey(profile, 2800, 0x1E, false).outcome, AssignOutcome::RefusedNoClick);
  EXPECT_EQ(Slot(0), left);
  // With the right button on "Click" the left one may go.
  ASSERT_EQ(page.SelectListPosition(profile, 2801, kFunctionClick).outcome, AssignOutcome::Stored);
  EXPECT_EQ(page.SelectListPosition(profile, 2800, kFunctionButtonOff).outcome, AssignOutcome::Stored);
  EXPECT_EQ(Slot(0).info[0], MOUSE_BUTTON_OFF);
}

TEST_F(Page, MacroAndProfileWaitForAPick) {
  MacroEntry& first = lists.macros.Add(u"one");
  MacroEntry& second = lists.macros.Add(u"two");
  const MappingWords before = Slot(4);
  AssignResult result = page.SelectListPosition(profile, 2803, kFunctionMacro);
  EXPECT_EQ(result.outcome, AssignOutcome::ChoiceOnly);
  EXPECT_EQ(Slot(4), before);
  EXPECT_EQ(profile->apMacros[3], nullptr);

  EXPECT_FALSE(page.PickMacro(profile, 2803, lists.macros, 3));  // beyond the list
  EXPECT_FALSE(page.PickMacro(profile, 2803, lists.macros, 0));
  EXPECT_TRUE(page.PickMacro(profile, 2803, lists.macros, 2));
  EXPECT_EQ(profile->apMacros[3], &second);
  EXPECT_EQ(ButtonAssignment::BoxFunction(*profile, 2803), kFunctionMacro);
  EXPECT_EQ(Slot(4), before);  // written by the apply

  // A profile pick replaces the macro; choosing "Profile" keeps the modified mark.
  profile->bModified = 1;
  page.SelectListPosition(profile, 2803, kFunctionProfile);
  EXPECT_EQ(profile->bModified, 1);
  EXPECT_TRUE(page.PickProfile(profile, 2803, lists.profiles, 1));
  EXPECT_EQ(profile->apTargetProfiles[3], profile);
  EXPECT_EQ(profile->apMacros[3], nullptr);
  EXPECT_FALSE(page.PickProfile(profile, 2807, lists.profiles, 1));  // not offered for the wheel

  // A fixed function clears the picks.
  page.SelectListPosition(profile, 2803, kFunctionBackward);
  EXPECT_EQ(profile->apTargetProfiles[3], nullptr);
  page.PickMacro(profile, 2807, lists.macros, 1);
  EXPECT_EQ(profile->apMacros[7], &first);
  page.SetDefaults(profile);
  EXPECT_EQ(profile->apMacros[7], nullptr);
  EXPECT_EQ(*profile->pMappings, DefaultMappings());
}

TEST_F(Page, SingleKeyGoesThroughTheKeyBox) {
  const MappingWords before = Slot(1);
  EXPECT_EQ(page.SelectListPosition(profile, 2801, kFunctionSingleKey).outcome, AssignOutcome::AskKey);
  EXPECT_EQ(Slot(1), before);
  // Cancelled, or a key without a device code (scan code 84 has none): the box goes back.
  EXPECT_EQ(page.CancelKey(2801).boxFunction, kFunctionMenu);
  AssignResult result = page.ConfirmKey(profile, 2801, 84, false);
  EXPECT_EQ(result.outcome, AssignOutcome::KeyRefused);
  EXPECT_EQ(result.boxFunction, kFunctionMenu);
  EXPECT_EQ(Slot(1), before);
  // "A" (scan 0x1E) is HID usage 4; the extended Right arrow (0x4D) is 0x4F.
  EXPECT_EQ(page.ConfirmKey(profile, 2801, 0x1E, false).outcome, AssignOutcome::Stored);
  EXPECT_EQ(Slot(1), (MappingWords{2, BUTTON_MAPPING_USER_ACTION, BUTTON_ACTION_KEYCODE, {0x04, 0, 0}}));
  page.ConfirmKey(profile, 2801, 0x4D, true);
  EXPECT_EQ(Slot(1).info[0], 0x4F);
  EXPECT_EQ(page.LastChoice(2801), kFunctionSingleKey);
  // Without the user (defaults) nothing is asked or stored.
  EXPECT_EQ(page.AssignFunction(profile, 2802, kFunctionSingleKey, false).outcome, AssignOutcome::Ignored);
}

TEST_F(Page, StageFunctionsOpenTheStageSettingsWhenChosen) {
  EXPECT_TRUE(page.SelectListPosition(profile, 2800 + 3, kFunctionStageUp).openStageSettings);
  EXPECT_TRUE(page.SelectListPosition(profile, 2807, 2).openStageSettings);  // wheel: stage down
  EXPECT_FALSE(page.AssignFunction(profile, 2805, kFunctionStageUp, false).openStageSettings);
}

}  // namespace
}  // namespace quill::editors
