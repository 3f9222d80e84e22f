#include "cli/mouse_backup.h"

#include <gtest/gtest.h>

#include "cli/json_text.h"

namespace quill::cli {
namespace {

ButtonAssignment Word(const char* button, const char* word, int32_t number = 0) {
  std::string error;
  std::optional<ButtonAssignment> a = ParseAssignment(*ButtonByName(button), word, error);
  EXPECT_TRUE(a) << word << ": " << error;
  a->number = number;
  return *a;
}

BackupProfile DefaultProfile(int64_t slot, std::string name) {
  BackupProfile p;
  p.slot = slot;
  p.name = std::move(name);
  p.leds = 7;
  p.stages = {{800, 800}, {1200, 1200}, {1800, 1800}};
  p.default_stage = 2;
  const char* words[] = {"click", "menu", "universal-scrolling", "backward", "forward",
                         "dpi-up", "dpi-down", "scroll-up", "scroll-down"};
  for (const buttons::ButtonInfo& b : buttons::Buttons())
    p.buttons[static_cast<size_t>(b.fileIndex)] = Word(NameOfButton(b).c_str(), words[b.fileIndex]);
  return p;
}

// Two profiles, two macros, every kind of reference, a stage with its own Y, a name beyond ASCII.
MouseBackup Sample() {
  MouseBackup b;
  b.polling_rate = 500;
  b.active_profile = 3;
  b.profiles.push_back(DefaultProfile(1, "Profile 1"));
  b.profiles.push_back(DefaultProfile(3, "Jeu \xC3\xA9t\xC3\xA9"));
  BackupProfile& p = b.profiles[1];
  p.leds = 2;
  p.stages = {{400, 400}, {6475, 100}};
  p.default_stage = 1;
  p.buttons[3] = Word("button4", "macro:Greet", 1);
  p.buttons[4] = Word("button5", "key:Enter");
  p.buttons[5] = Word("dpi-up", "profile:Profile 1", 1);
  p.buttons[7] = Word("scroll-up", "macro:Spin", 2);
  p.buttons[0] = Word("left", "off");
  p.buttons[1] = Word("right", "click");
  b.macros.push_back({"Greet", {KeyStep(0xE1, false), KeyStep(0x04, false, 50), KeyStep(0x04, true),
                                KeyStep(0xE1, true), ButtonStep(0, false), ButtonStep(0, true, 300)}});
  b.macros.push_back({"Spin", {}});
  return b;
}

TEST(MouseBackup, WrittenFileReadsBackTheSame) {
  const MouseBackup sample = Sample();
  const std::string text = WriteBackup(sample);
  BackupReadResult read = ReadBackup(text);
  ASSERT_TRUE(read.ok) << read.error << "\n" << text;
  EXPECT_EQ(read.backup, sample);
  EXPECT_EQ(WriteBackup(read.backup), text);
  // What a person reads in the file.
  for (const char* line : {"  \"format\": \"QuillfernCli backup\",\n", "  \"polling rate\": 500,\n",
                           "      \"dpi stages\": [400, [6475, 100]],\n", "        \"button4\": \"macro:Greet\",\n",
                           "        \"dpi-up\": \"profile:Profile 1\",\n", "        \"button5\": \"key:Enter\",\n",
                           "      \"events\": [\n        \"down LShift\",\n        \"down A\",\n        \"delay 50\",\n"})
    EXPECT_NE(text.find(line), std::string::npos) << line << "\n" << text;
}

TEST(MouseBackup, FaultsAreRefusedWithTheirPlace) {
  const std::string good = WriteBackup(Sample());
  // Each case replaces the first occurrence of `from` in the good file by `to`.
  const struct {
    const char* from;
    const char* to;
    const char* error;
  } cases[] = {
      {"\"format\": \"QuillfernCli backup\"", "\"format\": \"something else\"", "format: not \"QuillfernCli backup\""},
      {"\"version\": 1", "\"version\": 2", "version: 2 is not 1 to 1 (line 3, column 14)"},
      {"\"polling rate\": 500", "\"polling rate\": 250", "polling rate: 250 Hz is not 1000, 500 or 125"},
      {"\"active profile\": 3", "\"active profile\": 2", "active profile: the file holds no profile in slot 2"},
      {"\"slot\": 1,", "\"slot\": 2,", "profiles: slot 1 is missing (the mouse always keeps its base profile)"},
      {"\"slot\": 1,", "\"slot\": 3,", "profiles[1].slot: slot 3 appears twice"},
      {"\"slot\": 1,", "\"slot\": 6,", "profiles[0].slot: 6 is not 1 to 5"},
      {"\"name\": \"Profile 1\"", "\"name\": \"A name that is too long\"",
       "profiles[0].name: \"A name that is too long\" is longer than the mouse's 19 characters"},
      {"\"name\": \"Profile 1\"", "\"name\": \"Tab\\there\"", "profiles[0].name: the name holds a control character"},
      {"\"leds\": 7", "\"leds\": 256", "profiles[0].leds: 256 is not 0 to 255"},
      {"\"leds\": 7", "\"leds\": \"7\"", "profiles[0].leds: a number expected, found a text"},
      {"\"leds\": 7,", "\"leds\": 7, \"colour\": 1,", "profiles[0]: unknown member \"colour\""},
      {"\"leds\": 7,", "", "profiles[0]: \"leds\" is missing"},
      {"[800, 1200, 1800]", "[]", "profiles[0].dpi stages: 1 to 5 stages expected, found 0"},
      {"[800, 1200, 1800]", "[800, 1200, 1800, 2000, 2400, 2800]", "1 to 5 stages expected, found 6"},
      {"[800, 1200, 1800]", "[800, 1210]", "profiles[0].dpi stages[1]: 1210 DPI is not a multiple of 25"},
      {"[800, 1200, 1800]", "[800, [1200, 7000]]", "profiles[0].dpi stages[1]: 7000 DPI is out of range"},
      {"[800, 1200, 1800]", "[800, [1200]]", "profiles[0].dpi stages[1]: a DPI value or a list [x, y] expected"},
      {"\"default stage\": 2", "\"default stage\": 4", "profiles[0].default stage: 4 is not 1 to 3"},
      {"\"left\": \"click\"", "\"left\": \"off\"", "profiles[0].buttons: no button is on click (at least one must be)"},
      {"\"left\": \"click\",", "", "profiles[0].buttons: \"left\" is missing"},
      {"\"left\": \"click\"", "\"thumb\": \"click\"", "profiles[0].buttons: unknown button \"thumb\""},
      {"\"scroll-up\": \"scroll-up\"", "\"scroll-up\": \"menu\"", "profiles[0].buttons.scroll-up: scroll-up cannot be menu"},
      {"\"macro:Greet\"", "\"macro:Wave\"", "profiles[1].buttons.button4: no macro named \"Wave\" in this file"},
      {"\"profile:Profile 1\"", "\"profile:Work\"", "profiles[1].buttons.dpi-up: no profile named \"Work\" in this file"},
      {"\"name\": \"Jeu \xC3\xA9t\xC3\xA9\"", "\"name\": \"Profile 1\"",
       "profiles[1].buttons.dpi-up: more than one profile is named \"Profile 1\""},
      {"\"key:Enter\"", "\"key:Entr\"", "profiles[1].buttons.button5: unknown key \"Entr\""},
      {"\"name\": \"Spin\"", "\"name\": \"Greet\"", "macros[1].name: \"Greet\" is the name of an earlier macro too"},
      {"\"name\": \"Spin\"", "\"name\": \"\"", "macros[1].name: the name is empty"},
      {"\"down A\"", "\"down Q Q\"", "macros[0].events[1]: usage: down <key or mouse button>"},
      {"\"delay 50\"", "\"delay 99999999\"", "macros[0].events[2]:"},
      {"\"down A\"", "\"down A\\nup A\"", "macros[0].events[1]: one event per line"},
      {"\"down A\"", "7", "macros[0].events[1]: a text expected, found a number"},
      {"\"macros\": [", "\"macros\": [7, ", "macros[0]: an object expected, found a number"},
  };
  for (const auto& c : cases) {
    std::string text = good;
    const size_t at = text.find(c.from);
    ASSERT_NE(at, std::string::npos) << c.from;
    text.replace(at, std::string(c.from).size(), c.to);
    BackupReadResult read = ReadBackup(text);
    EXPECT_FALSE(read.ok) << c.from << " -> " << c.to;
    EXPECT_NE(read.error.find(c.error), std::string::npos) << c.from << " -> " << c.to << "\n  " << read.error;
  }
}

TEST(MouseBackup, LimitsOfTheMouseAndOfTheFile) {
  MouseBackup b = Sample();
  b.macros.resize(71, {"M", {}});
  for (size_t i = 2; i < b.macros.size(); ++i) b.macros[i].name = "M" + std::to_string(i);
  EXPECT_NE(ReadBackup(WriteBackup(b)).error.find("macros: the mouse holds at most 70 macros"), std::string::npos);
  b.macros.resize(70);
  EXPECT_TRUE(ReadBackup(WriteBackup(b)).ok);
  EXPECT_NE(ReadBackup(std::string(kMaxBackupBytes + 1, ' ')).error.find("larger than"), std::string::npos);
}

TEST(JsonText, SyntaxErrorsNameLineAndColumn) {
  const struct {
    const char* text;
    const char* error;
  } cases[] = {
      {"", "line 1, column 1: a value is missing"},
      {"{\"a\": 1,}", "line 1, column 9: a member name in double quotes expected '}'"},
      {"[1, 2,]", "line 1, column 7: a value is missing after ','"},
      {"{\"a\": 1}\n{}", "line 2, column 1: unexpected text after the end of the value"},
      {"{\n  \"a\": 1,\n  \"a\": 2\n}", "line 3, column 3: \"a\" appears twice"},
      {"{\"\xC3\xA9\": x}", "line 1, column 7: unexpected character 'x'"},
      {"[1.5]", "line 1, column 3: only whole numbers are allowed here"},
      {"[1e3]", "only whole numbers"},
      {"[0123]", "numbers do not start with 0"},
      {"[-]", "a digit must follow '-'"},
      {"[1234567890123456]", "more than 15 digits"},
      {"[\"a\nb\"]", "line 1, column 4: a control character inside a string"},
      {"[\"\\x\"]", "unknown escape 'x'"},
      {"[\"\\u12\"]", "\\u needs four hexadecimal digits"},
      {"[\"\\udc00\"]", "lone low surrogate"},
      {"[\"\\ud800x\"]", "high surrogate without its low surrogate"},
      {"[\"\xC0\xAF\"]", "the text is not UTF-8"},      // overlong
      {"[\"\xED\xA0\x80\"]", "the text is not UTF-8"},  // a surrogate
      {"[\"\xF4\x90\x80\x80\"]", "the text is not UTF-8"},  // beyond U+10FFFF
      {"[\"\xE2\x82\"]", "the text is not UTF-8"},      // cut short
      {"[\"abc", "the text ends inside a string"},
      {"[1 2]", "',' or ']' expected '2'"},
      {"{\"a\" 1}", "':' expected '1'"},
      {"[tru]", "unexpected character 't'"},
      {"// note\n{}", "unexpected character '/'"},
  };
  for (const auto& c : cases) {
    json::ParseResult r = json::Parse(c.text);
    EXPECT_FALSE(r.ok) << c.text;
    EXPECT_NE(r.error.find(c.error), std::string::npos) << c.text << "\n  " << r.error;
  }
  json::Limits small;
  small.max_depth = 3;
  small.max_string_bytes = 4;
  small.max_values = 5;
  EXPECT_NE(json::Parse("[[[[1]]]]", small).error.find("nested deeper than 3 levels"), std::string::npos);
  EXPECT_TRUE(json::Parse("[[[1]]]", small).ok);
  EXPECT_NE(json::Parse("[\"abcde\"]", small).error.find("longer than 4 bytes"), std::string::npos);
  EXPECT_TRUE(json::Parse("[\"abcd\"]", small).ok);
  EXPECT_NE(json::Parse("[1,2,3,4,5]", small).error.find("more than 5 values"), std::string::npos);
}

TEST(JsonText, EscapesAndByteOrderMarkAreRead) {
  json::ParseResult r = json::Parse("\xEF\xBB\xBF{\"t\": \"\\u00e9\\ud83d\\ude00\\n\\\"\\/\", \"n\": -42, \"b\": [true, false, null]}");
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.value.Find("t")->text, "\xC3\xA9\xF0\x9F\x98\x80\n\"/");
  EXPECT_EQ(r.value.Find("n")->number, -42);
  EXPECT_EQ(r.value.Find("b")->items.size(), 3u);
  // The writer's escapes read back as the same text.
  EXPECT_EQ(json::Parse(json::Write(r.value)).value.Find("t")->text, r.value.Find("t")->text);
}

}  // namespace
}  // namespace quill::cli
