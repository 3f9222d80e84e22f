#include "cli/command_args.h"

#include <gtest/gtest.h>

#include "cli/button_text.h"

namespace quill::cli {
namespace {

TEST(StageArgs, ValuesAndDefault) {
  StageArgs a = ParseStageArgs({"400,800,1600", "--default", "2"});
  EXPECT_EQ(a.error, "");
  EXPECT_EQ(a.dpis, (std::vector<int64_t>{400, 800, 1600}));
  EXPECT_EQ(a.default_stage, 2);
  a = ParseStageArgs({"--default", "1", "100,6475"});
  EXPECT_EQ(a.error, "");
  EXPECT_EQ(a.dpis, (std::vector<int64_t>{100, 6475}));
  EXPECT_EQ(ParseStageArgs({"1800"}).default_stage, std::nullopt);
}

TEST(StageArgs, RefusedWithAReason) {
  const struct {
    std::vector<std::string> args;
    const char* error;
  } cases[] = {
      {{}, "no DPI values given (for example 400,800,1600)"},
      {{"400,6500"}, "6500 DPI is out of range (100 to 6475)"},
      {{"75"}, "75 DPI is out of range (100 to 6475)"},
      {{"410"}, "410 DPI is not a multiple of 25"},
      {{"400,,800"}, "'' is not a DPI value"},
      {{"400,800,"}, "'' is not a DPI value"},
      {{"-400"}, "'-400' is not a DPI value"},
      {{"400,800,1200,1600,2000,2400"}, "more than 5 stages (the mouse holds at most 5)"},
      {{"400,800", "--default", "3"}, "--default 3 names no stage (1 to 2)"},
      {{"400,800", "--default"}, "--default needs one stage number"},
      {{"400", "800"}, "unexpected argument '800'"},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseStageArgs(c.args).error, c.error) << c.error;
}

TEST(StageArgs, Slots) {
  std::string error;
  EXPECT_EQ(ParseSlot("5", error), 5);
  EXPECT_EQ(ParseSlot("0", error), std::nullopt);
  EXPECT_EQ(error, "profile slot '0' is not 1 to 5");
  EXPECT_EQ(ParseSlot("1x", error), std::nullopt);
}

TEST(ButtonText, AssignmentsInWords) {
  const struct {
    ButtonMapping mapping;
    const char* button;
    const char* text;
  } cases[] = {
      {{1, 6, 5, {1, 0, 0}}, "left", "left click"},
      {{4, 6, 5, {4, 0, 0}}, "button5", "button5"},
      {{6, 6, 5, {11, 0, 0}}, "dpi-up", "dpi up"},
      {{7, 6, 5, {6, 0, 0}}, "dpi-down", "button function 6"},
      {{2, 1, 0, {4, 0, 3}}, "right", "DPI stage 3"},
      {{3, 1, 0, {5, 0, 2}}, "middle", "profile 2"},
      {{5, 3, 1, {0x04, 0, 0}}, "button4", "key A"},
      {{8, 2, 0, {7, 0, 0}}, "scroll-up", "macro 7"},
      {{9, 4, 4, {0xE9, 0x01, 0}}, "scroll-down", "multimedia 0xE9 0x01"},
      {{12, 0, 0, {}}, "button 12", "disabled"},
      {{1, 9, 2, {1, 2, 3}}, "left", "type 9 action 2 (1, 2, 3)"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ButtonName(c.mapping.button), c.button);
    EXPECT_EQ(AssignmentText(c.mapping), c.text);
  }
  EXPECT_EQ(MacroIdOf({8, 2, 0, {7, 0, 0}}), 7);
  EXPECT_EQ(MacroIdOf({8, 6, 5, {7, 0, 0}}), 0);
}

}  // namespace
}  // namespace quill::cli
