#include "cli/macro_script.h"

#include <gtest/gtest.h>

#include "cli/input_names.h"

namespace quill::cli {
namespace {

TEST(MacroScript, EventsDelaysCommentsAndClicks) {
  const MacroScriptResult r = ParseMacroScript(
      "\xEF\xBB\xBF# greet\r\n"
      "down LShift\r\n"
      "  DOWN a   # case does not matter\n"
      "delay 50\n"
      "up A\n"
      "delay 20ms\n"
      "delay 5\n"
      "up shift\n"
      "\n"
      "click left\n"
      "delay 100\n"
      "click Enter");
  ASSERT_TRUE(r.ok) << r.error;
  const std::vector<MacroStep> expected = {
      KeyStep(0xE1, false), KeyStep(0x04, false, 50), KeyStep(0x04, true, 25), KeyStep(0xE1, true),
      ButtonStep(0, false), ButtonStep(0, true, 100), KeyStep(0x28, false), KeyStep(0x28, true)};
  EXPECT_EQ(r.steps, expected);
  // 50 header bytes, 6 key events of 2, 2 button events of 1, three one-byte delays of 2.
  EXPECT_EQ(EncodedMacroSize(r.steps), 50u + 12 + 2 + 6);
}

TEST(MacroScript, FormatParsesBackToTheSameSteps) {
  const std::vector<MacroStep> steps = {KeyStep(0x87, false, 300), KeyStep(0x87, true, 70000),
                                        ButtonStep(4, false), ButtonStep(4, true, 1)};
  const std::string text = FormatMacroScript(steps);
  EXPECT_EQ(text, "down 0x87\ndelay 300\nup 0x87\ndelay 70000\ndown button5\nup button5\ndelay 1\n");
  const MacroScriptResult r = ParseMacroScript(text);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.steps, steps);
  EXPECT_EQ(EncodedMacroSize(steps), 50u + 2 + 3 + 2 + 4 + 1 + 1 + 2);
}

TEST(MacroScript, ErrorsNameTheLine) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"down A\nfrobnicate A\n", "line 2: unknown word \"frobnicate\" (down, up, click, delay)"},
      {"down Foo", "line 1: unknown key or mouse button \"Foo\""},
      {"# first\ndelay 10\ndown A", "line 2: a delay must follow an event"},
      {"down A\ndelay -5", "line 2: delay \"-5\" is not a number of milliseconds"},
      {"down A\ndelay 10 20", "line 2: usage: delay <milliseconds>"},
      {"down A\ndelay 16777215\ndelay 1", "line 3: the delay after an event is at most 16777215 ms"},
      {"down A B", "line 1: usage: down <key or mouse button>"},
      {"down left\ndown left", "line 2: mouse button left is already down"},
      {"down left\nclick left", "line 2: mouse button left is already down"},
      {"click right\nup right", "line 2: mouse button right is not down"},
      {"# nothing\n\n", "the macro text holds no events"},
      {"", "the macro text holds no events"},
  };
  for (const auto& c : cases) {
    const MacroScriptResult r = ParseMacroScript(c.text);
    EXPECT_FALSE(r.ok) << c.text;
    EXPECT_EQ(r.error, c.error) << c.text;
    EXPECT_TRUE(r.steps.empty());
  }
}

TEST(MacroScript, SizeLimitsAreRefusedNotCut) {
  std::string line(kMaxMacroScriptLineBytes + 1, ' ');
  EXPECT_EQ(ParseMacroScript("down A\n" + line).error, "line 2: longer than 1000 characters");
  std::string many;
  for (int i = 0; i < 40000; ++i) many += "down A\n";  // 2 bytes each: past 65535 at event 32743
  const MacroScriptResult r = ParseMacroScript(many);
  EXPECT_FALSE(r.ok);
  EXPECT_EQ(r.error, "line 32743: the macro needs more than the mouse's 65535 bytes");
  EXPECT_FALSE(ParseMacroScript(std::string(kMaxMacroScriptBytes + 1, '\n')).ok);
}

TEST(InputNames, KeysRoundTripAndUnnamedUsagesUseHex) {
  for (unsigned usage = 0; usage <= 0xFF; ++usage) {
    const std::string name = KeyUsageName(static_cast<uint8_t>(usage));
    EXPECT_EQ(KeyUsageFromName(name), usage) << name;
  }
  EXPECT_EQ(KeyUsageName(0x04), "A");
  EXPECT_EQ(KeyUsageName(0x27), "0");
  EXPECT_EQ(KeyUsageName(0x45), "F12");
  EXPECT_EQ(KeyUsageName(0x73), "F24");
  EXPECT_EQ(KeyUsageName(0x62), "Num0");
  EXPECT_EQ(KeyUsageName(0x50), "ArrowLeft");
  EXPECT_EQ(KeyUsageName(0x00), "0x00");
  EXPECT_EQ(KeyUsageFromName("escape"), 0x29);
  EXPECT_EQ(KeyUsageFromName("0xe0"), 0xE0);
  EXPECT_EQ(KeyUsageFromName("left"), std::nullopt);  // a mouse button, not a key
  EXPECT_EQ(KeyUsageFromName("0x100"), std::nullopt);
  EXPECT_EQ(KeyUsageFromName("F25"), std::nullopt);
  EXPECT_EQ(MouseButtonFromName("Button4"), 3);
  EXPECT_EQ(MouseButtonName(7), "click type 7");
}

}  // namespace
}  // namespace quill::cli
