#include <gtest/gtest.h>

#include <algorithm>

#include "common/button_catalogue.h"

namespace quill::buttons {
namespace {

MappingWords Fixed(int box, int function) {
  const ButtonInfo* button = ButtonForBox(box);
  EXPECT_NE(button, nullptr);
  return FixedMapping(*button, function).value();
}

TEST(ButtonCatalogue, ButtonTable) {
  struct Row {
    int box, fileIndex;
    int32_t lButton;
    int slot;
    Catalogue catalogue;
    std::u16string_view defaultText;
  };
  const Row rows[] = {
      {2800, 0, 1, 0, Catalogue::Full, u"Click"},
      {2801, 1, 2, 1, Catalogue::Full, u"Menu"},
      {2802, 2, 3, 2, Catalogue::Full, u"Universal Scrolling"},
      {2803, 3, 5, 4, Catalogue::Full, u"Backward"},
      {2804, 4, 4, 3, Catalogue::Full, u"Forward"},
      {2805, 5, 6, 5, Catalogue::Full, u"Sensitivity Stage Up"},
      {2806, 6, 7, 6, Catalogue::Full, u"Sensitivity Stage Down"},
      {2807, 7, 8, 7, Catalogue::Wheel, u"Scroll Up"},
      {2808, 8, 9, 8, Catalogue::Wheel, u"Scroll Down"},
  };
  for (const Row& row : rows) {
    SCOPED_TRACE(row.box);
    const ButtonInfo* button = ButtonForBox(row.box);
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button, ButtonForFileIndex(row.fileIndex));
    EXPECT_EQ(button, ButtonForSlot(row.slot));
    EXPECT_EQ(button->lButton, row.lButton);
    EXPECT_EQ(button->slot, button->lButton - 1);
    EXPECT_EQ(button->catalogue, row.catalogue);
    EXPECT_EQ(FunctionByIndex(button->defaultFunction)->text, row.defaultText);
  }
  EXPECT_EQ(ButtonForBox(2799), nullptr);
  EXPECT_EQ(ButtonForBox(2809), nullptr);
  EXPECT_EQ(ButtonForFileIndex(9), nullptr);
  EXPECT_EQ(ButtonForSlot(-1), nullptr);
}

TEST(ButtonCatalogue, ForwardOnButtonFourAndButtonFive) {
  const MappingWords four = Fixed(2803, kFunctionForward);
  EXPECT_EQ(ButtonForBox(2803)->slot, 4);
  EXPECT_EQ(four, (MappingWords{5, BUTTON_MAPPING_BUTTONS, BUTTON_ACTION_PRESSED, {4, 0, 0}}));
  const MappingWords five = Fixed(2804, kFunctionForward);
  EXPECT_EQ(ButtonForBox(2804)->slot, 3);
  EXPECT_EQ(five, (MappingWords{4, BUTTON_MAPPING_BUTTONS, BUTTON_ACTION_PRESSED, {4, 0, 0}}));
  EXPECT_EQ(Fixed(2803, kFunctionBackward).info[0], MOUSE_BUTTON_WINDOWS_BUTTON_4);
}

TEST(ButtonCatalogue, EveryFixedFunctionAndItsReverse) {
  const std::pair<int, int32_t> expected[] = {{0, 1}, {1, 2}, {2, 3}, {3, 13}, {5, 11}, {6, 12}, {7, 4},
                                              {8, 5}, {9, 10}, {12, 8}, {13, 9}, {14, 0}};
  for (const auto& [function, mouseButton] : expected) {
    SCOPED_TRACE(function);
    const MappingWords mapping = Fixed(2800, function);
    EXPECT_EQ(mapping, (MappingWords{1, BUTTON_MAPPING_BUTTONS, BUTTON_ACTION_PRESSED, {mouseButton, 0, 0}}));
    EXPECT_EQ(FunctionForMapping(mapping), function);
    EXPECT_EQ(FunctionForMouseButton(mouseButton), function);
  }
  EXPECT_EQ(FunctionForMouseButton(6), -1);
  EXPECT_EQ(FunctionForMouseButton(14), -1);
  EXPECT_TRUE(FunctionByIndex(kFunctionStageUp)->opensStageSettings);
  EXPECT_TRUE(FunctionByIndex(kFunctionStageDown)->opensStageSettings);
  EXPECT_FALSE(FunctionByIndex(kFunctionClick)->opensStageSettings);
}

TEST(ButtonCatalogue, FunctionsThatNeedAPickOrAKey) {
  const ButtonInfo& left = *ButtonForBox(2800);
  EXPECT_FALSE(FixedMapping(left, kFunctionMacro));
  EXPECT_FALSE(FixedMapping(left, kFunctionSingleKey));
  EXPECT_FALSE(FixedMapping(left, kFunctionProfile));
  EXPECT_FALSE(FixedMapping(left, -1));
  EXPECT_FALSE(FixedMapping(left, 15));

  const MappingWords macro = MacroMapping(5, 3);
  EXPECT_EQ(macro, (MappingWords{5, BUTTON_MAPPING_MACRO, BUTTON_ACTION_PRESSED, {3, 1, 0}}));
  EXPECT_EQ(FunctionForMapping(macro), kFunctionMacro);
  const MappingWords profile = ProfileMapping(2, 4);
  EXPECT_EQ(profile, (MappingWords{2, BUTTON_MAPPING_DEVICE_ACTION, 0, {PROPERTY_PROFILE, 0, 4}}));
  EXPECT_EQ(FunctionForMapping(profile), kFunctionProfile);
  const MappingWords key = SingleKeyMapping(3, 0x48);
  EXPECT_EQ(key, (MappingWords{3, BUTTON_MAPPING_USER_ACTION, BUTTON_ACTION_KEYCODE, {0x48, 0, 0}}));
  EXPECT_EQ(FunctionForMapping(key), kFunctionSingleKey);

  EXPECT_EQ(FunctionForMapping(MappingWords{}), -1);
  EXPECT_EQ(FunctionForMapping(MappingWords{1, BUTTON_MAPPING_DEVICE_ACTION, 0, {4, 0, 2}}), -1);  // a DPI stage
  EXPECT_EQ(FunctionForMapping(MappingWords{1, BUTTON_MAPPING_BUTTONS, 4, {1, 0, 0}}), -1);
}

TEST(ButtonCatalogue, WheelCatalogue) {
  const std::span<const int> wheel = CatalogueFunctions(Catalogue::Wheel);
  EXPECT_EQ(std::vector<int>(wheel.begin(), wheel.end()), (std::vector<int>{4, 5, 6, 12, 13, 14}));
  EXPECT_EQ(FunctionAtListPosition(2807, 3), kFunctionScrollUp);
  EXPECT_EQ(FunctionAtListPosition(2808, 0), kFunctionMacro);
  EXPECT_EQ(FunctionAtListPosition(2808, 6), -1);
  EXPECT_EQ(FunctionAtListPosition(2800, 11), kFunctionProfile);
  EXPECT_EQ(FunctionAtListPosition(2799, 0), -1);
  for (int never : {kFunctionClick, kFunctionMenu, kFunctionProfile}) {
    EXPECT_EQ(ListPositionOfFunction(2807, never), -1);
    EXPECT_FALSE(FixedMapping(*ButtonForBox(2808), never));
  }
  EXPECT_EQ(ListPositionOfFunction(2808, kFunctionButtonOff), 5);
  EXPECT_EQ(ListPositionOfFunction(2801, kFunctionButtonOff), 14);
  EXPECT_EQ(Fixed(2807, kFunctionStageUp), (MappingWords{8, BUTTON_MAPPING_BUTTONS, BUTTON_ACTION_PRESSED, {11, 0, 0}}));
}

TEST(ButtonCatalogue, Defaults) {
  const std::array<MappingWords, kButtonCount> slots = DefaultMappings();
  const int32_t expected[kButtonCount] = {MOUSE_BUTTON_CLICK,          MOUSE_BUTTON_MENU,
                                          MOUSE_BUTTON_UNIVERSAL_SCROLLING, MOUSE_BUTTON_WINDOWS_BUTTON_5,
                                          MOUSE_BUTTON_WINDOWS_BUTTON_4, MOUSE_BUTTON_DPI_UP,
                                          MOUSE_BUTTON_DPI_DOWN,       MOUSE_BUTTON_SCROLL_UP,
                                          MOUSE_BUTTON_SCROLL_DOWN};
  for (size_t slot = 0; slot < kButtonCount; ++slot) {
    SCOPED_TRACE(slot);
    EXPECT_EQ(slots[slot], (MappingWords{static_cast<int32_t>(slot + 1), BUTTON_MAPPING_BUTTONS,
                                         BUTTON_ACTION_PRESSED, {expected[slot], 0, 0}}));
  }
  std::vector<int> byFileIndex;
  for (const ButtonInfo& button : Buttons()) byFileIndex.push_back(button.defaultFunction);
  EXPECT_EQ(byFileIndex, (std::vector<int>{0, 1, 2, 8, 7, 5, 6, 12, 13}));
}

TEST(ButtonCatalogue, AtLeastOneButtonStaysOnClick) {
  std::array<MappingWords, kButtonCount> slots = DefaultMappings();
  const MappingWords off = Fixed(2800, kFunctionButtonOff);
  EXPECT_FALSE(KeepsAClick(slots, 0, off));
  EXPECT_TRUE(KeepsAClick(slots, 1, Fixed(2801, kFunctionButtonOff)));
  slots[1] = Fixed(2801, kFunctionClick);
  EXPECT_TRUE(KeepsAClick(slots, 0, off));
  EXPECT_TRUE(KeepsAClick(slots, 0, Fixed(2800, kFunctionClick)));
}

}  // namespace
}  // namespace quill::buttons
