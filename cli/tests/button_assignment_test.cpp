#include "cli/button_assignment.h"

#include <gtest/gtest.h>

namespace quill::cli {
namespace {

using buttons::MappingWords;

MappingWords Parsed(const std::string& text) {
  const buttons::ButtonInfo* button = nullptr;
  std::string error;
  std::optional<ButtonAssignment> a = ParseButtonAssignment(text, button, error);
  EXPECT_TRUE(a) << text << ": " << error;
  if (!a) return {};
  if (!a->target.empty()) a->number = 3;  // what a caller resolves the reference to
  return MappingOf(*button, *a);
}

TEST(ButtonAssignment, WordsGiveTheCatalogueRecords) {
  const struct {
    const char* text;
    MappingWords mapping;
  } cases[] = {
      {"left=click", {1, 6, 5, {1, 0, 0}}},
      {"right=menu", {2, 6, 5, {2, 0, 0}}},
      {"middle=universal-scrolling", {3, 6, 5, {3, 0, 0}}},
      {"Left=Double-Click", {1, 6, 5, {13, 0, 0}}},
      // Button 4 is definition 5 and button 5 definition 4; forward is the mouse's button 5.
      {"button4=forward", {5, 6, 5, {4, 0, 0}}},
      {"button5=backward", {4, 6, 5, {5, 0, 0}}},
      {"dpi-up=dpi-up", {6, 6, 5, {11, 0, 0}}},
      {"dpi-down=dpi-down", {7, 6, 5, {12, 0, 0}}},
      {"middle=on-the-fly", {3, 6, 5, {10, 0, 0}}},
      {"scroll-up=scroll-down", {8, 6, 5, {9, 0, 0}}},
      {"scroll-down=off", {9, 6, 5, {0, 0, 0}}},
      {"button5=key:A", {4, 3, 1, {0x04, 0, 0}}},
      {"button5=key:lctrl", {4, 3, 1, {0xE0, 0, 0}}},
      {"button5=key:0x87", {4, 3, 1, {0x87, 0, 0}}},
      {"button5=key:+=", {4, 3, 1, {0x2E, 0, 0}}},  // a key-cap name of the key tables
      {"dpi-up=macro:Greet", {6, 2, 5, {3, 1, 0}}},
      {"scroll-up=macro:7", {8, 2, 5, {3, 1, 0}}},
      {"right=profile:2", {2, 1, 0, {5, 0, 3}}},
  };
  for (const auto& c : cases) EXPECT_EQ(Parsed(c.text), c.mapping) << c.text;
}

TEST(ButtonAssignment, RefusedWithAReason) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"left", "'left' is not <button>=<function>"},
      {"thumb=click", "'thumb' is not a button (left, right, middle, button4, button5, dpi-up, dpi-down"},
      {"left=jump", "'jump' is not a function (click, menu, universal-scrolling, double-click, macro, dpi-up"},
      {"scroll-up=click", "scroll-up cannot be click (it offers macro, dpi-up, dpi-down, scroll-up, scroll-down, off)"},
      {"scroll-down=key:A", "scroll-down cannot be key"},
      {"scroll-down=profile:2", "scroll-down cannot be profile"},
      {"left=key", "'key': key needs a key name after ':' (key:...)"},
      {"left=key:", "'key:': key needs a key name"},
      {"left=key:Entr", "unknown key \"Entr\""},
      {"left=key:0x00", "unknown key \"0x00\""},
      {"left=macro:", "macro needs a macro after ':'"},
      {"left=profile", "profile needs a profile after ':'"},
      {"left=forward:1", "'forward:1': forward takes nothing after ':'"},
  };
  for (const auto& c : cases) {
    const buttons::ButtonInfo* button = nullptr;
    std::string error;
    EXPECT_FALSE(ParseButtonAssignment(c.text, button, error)) << c.text;
    EXPECT_NE(error.find(c.error), std::string::npos) << c.text << ": " << error;
  }
}

// Every function a button offers reads back from its record as itself and prints as a word that
// parses again: the words, the catalogue and the reverse lookup agree.
TEST(ButtonAssignment, EveryOfferedFunctionRoundTrips) {
  for (const buttons::ButtonInfo& button : buttons::Buttons()) {
    for (int function : buttons::CatalogueFunctions(button.catalogue)) {
      ButtonAssignment a;
      a.function = function;
      const buttons::FunctionKind kind = buttons::FunctionByIndex(function)->kind;
      if (kind == buttons::FunctionKind::SingleKey) a.key = 0x2C;
      if (kind == buttons::FunctionKind::Macro || kind == buttons::FunctionKind::Profile) a.number = 4;
      std::optional<ButtonAssignment> back = AssignmentOf(MappingOf(button, a));
      ASSERT_TRUE(back) << NameOfButton(button) << " function " << function;
      EXPECT_EQ(*back, a) << NameOfButton(button) << " function " << function;

      a.target = kind == buttons::FunctionKind::Macro || kind == buttons::FunctionKind::Profile ? "Target" : "";
      std::string error;
      std::optional<ButtonAssignment> parsed = ParseAssignment(button, AssignmentWord(a), error);
      ASSERT_TRUE(parsed) << AssignmentWord(a) << ": " << error;
      parsed->number = a.number;
      EXPECT_EQ(*parsed, a) << AssignmentWord(a);
    }
  }
  // Records outside the catalogue (a DPI stage, a multimedia key, a disabled button) have none.
  EXPECT_FALSE(AssignmentOf({6, 1, 0, {4, 0, 2}}));
  EXPECT_FALSE(AssignmentOf({6, 4, 4, {0xE9, 0, 0}}));
  EXPECT_FALSE(AssignmentOf({6, 0, 0, {0, 0, 0}}));
}

TEST(ButtonAssignment, HelpListsButtonsAndFunctions) {
  const std::string help = AssignmentHelp();
  for (const char* word : {"scroll-down", "button4", "universal-scrolling", "on-the-fly", "key:<key>",
                           "macro:<number|name>", "profile:<slot>", "off"})
    EXPECT_NE(help.find(word), std::string::npos) << word;
}

}  // namespace
}  // namespace quill::cli
