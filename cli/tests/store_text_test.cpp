#include "cli/store_text.h"

#include <gtest/gtest.h>

namespace quill::cli {
namespace {

TEST(StoreText, CodesInDecimalAndHexadecimal) {
  const struct {
    const char* text;
    std::optional<int32_t> code;
  } cases[] = {
      {"0", 0},           {"42", 42},         {"-1", -1},          {"2147483647", 2147483647},
      {"-2147483648", INT32_MIN},             {"0x1F", 31},        {"0XffFFffFF", -1},
      {"2147483648", std::nullopt},           {"0x123456789", std::nullopt},
      {"", std::nullopt}, {"-", std::nullopt}, {"0x", std::nullopt}, {"12a", std::nullopt},
      {"+5", std::nullopt}, {" 5", std::nullopt}, {"99999999999", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ParseCode(c.text), c.code) << c.text;
}

TEST(StoreText, HexBytesWithSeparatorsAndLimits) {
  HexBytesResult r = ParseHexBytes("01 02 03", 16);
  ASSERT_TRUE(r.ok) << r.error;
  EXPECT_EQ(r.bytes, (std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(ParseHexBytes("0a0B,ff:7f", 16).bytes, (std::vector<uint8_t>{0x0A, 0x0B, 0xFF, 0x7F}));
  r = ParseHexBytes("", 16);
  EXPECT_TRUE(r.ok);
  EXPECT_TRUE(r.bytes.empty());
  EXPECT_EQ(HexBytesText({0x01, 0xAB, 0x00}), "01 AB 00");
  EXPECT_EQ(HexBytesText({}), "");

  const struct {
    const char* text;
    const char* error;
  } refused[] = {
      {"0 1", "'0 ' is not a byte in hexadecimal (two digits, 00 to FF)"},
      {"012", "'2' is not a byte in hexadecimal (two digits, 00 to FF)"},
      {"0g", "'0g' is not a byte in hexadecimal (two digits, 00 to FF)"},
      {"01 02 03 04 05", "more than 4 bytes"},
  };
  for (const auto& c : refused) {
    r = ParseHexBytes(c.text, 4);
    EXPECT_FALSE(r.ok) << c.text;
    EXPECT_EQ(r.error, c.error) << c.text;
    EXPECT_TRUE(r.bytes.empty()) << c.text;
  }
}

TEST(StoreText, MacroModesAndTypesByName) {
  for (int32_t v = 0; v < 3; ++v) {
    EXPECT_EQ(MacroModeFromName(MacroModeName(v)), v);
    EXPECT_EQ(MacroTypeFromName(MacroTypeName(v)), v);
  }
  EXPECT_EQ(MacroModeName(2), "until-released");
  EXPECT_EQ(MacroTypeName(1), "keystroke");
  EXPECT_EQ(MacroModeName(7), "options 7");
  EXPECT_EQ(MacroTypeName(-1), "type -1");
  EXPECT_EQ(MacroModeFromName("forever"), std::nullopt);
  EXPECT_EQ(MacroTypeFromName("Macro"), std::nullopt);
}

// A section as the middleware writes it, with a group whose tag starts like the profile's.
constexpr char kExported[] =
    "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n\r\n"
    "<TorvoControl_0C31>\r\n"
    "\t<ProfileGroup name=\"Games\">\r\n"
    "\t\t<ProfilePtr ptr=\"Shooter\"></ProfilePtr>\r\n"
    "\t\t<ProfilePtr ptr=\"Racing\"></ProfilePtr>\r\n"
    "\t</ProfileGroup>\r\n"
    "\t<Profile name=\"Shooter\">\r\n"
    "\t\t<Key value=\"Version\" type=\"DWORD\" data=\"3\"></Key>\r\n"
    "\t\t<Key value=\"NumMappings\" type=\"DWORD\" data=\"2\"></Key>\r\n"
    "\t\t<Key value=\"0000\" type=\"BINARY\" data=\"010000000600000000000000010000000000000000000000\"></Key>\r\n"
    "\t\t<Key value=\"0001\" type=\"BINARY\" data=\"04000000020000000000000000000000000000000000000047007200650065007400"
    "0000\"></Key>\r\n"
    "\t</Profile>\r\n"
    "\t<Profile name=\"Empty\">\r\n"
    "\t</Profile>\r\n"
    "\t<Profile name=\"Unclosed\">\r\n"
    "</TorvoControl_0C31>\r\n\r\n";

TEST(StoreText, ElementsOfAnExportedFile) {
  const std::vector<ExchangeElement> profiles = ReadExchangeElements(kExported, "Profile");
  ASSERT_EQ(profiles.size(), 2u);
  EXPECT_EQ(profiles[0].name, "Shooter");
  ASSERT_EQ(profiles[0].keys.size(), 4u);
  ASSERT_NE(profiles[0].Key("NumMappings"), nullptr);
  EXPECT_EQ(profiles[0].Key("NumMappings")->data, "2");
  EXPECT_EQ(profiles[0].Key("Version")->type, "DWORD");
  EXPECT_EQ(profiles[0].Key("0002"), nullptr);
  EXPECT_EQ(profiles[1].name, "Empty");
  EXPECT_TRUE(profiles[1].keys.empty());

  const std::vector<ExchangeElement> groups = ReadExchangeElements(kExported, "ProfileGroup");
  ASSERT_EQ(groups.size(), 1u);
  EXPECT_EQ(groups[0].name, "Games");
  EXPECT_EQ(groups[0].pointers, (std::vector<std::string>{"Shooter", "Racing"}));
  EXPECT_TRUE(ReadExchangeElements(kExported, "Macro").empty());
  EXPECT_TRUE(ReadExchangeElements("<Profile name=\"cut", "Profile").empty());
}

TEST(StoreText, StoredMappingsDecodeWithTheirNames) {
  const std::vector<ExchangeElement> profiles = ReadExchangeElements(kExported, "Profile");
  ASSERT_FALSE(profiles.empty());
  std::optional<StoredMapping> click = DecodeStoredMapping(profiles[0].Key("0000")->data);
  ASSERT_TRUE(click);
  EXPECT_EQ(ButtonName(click->words.button), "left");
  EXPECT_EQ(StoredAssignmentText(*click), "left click");
  std::optional<StoredMapping> macro = DecodeStoredMapping(profiles[0].Key("0001")->data);
  ASSERT_TRUE(macro);
  EXPECT_EQ(ButtonName(macro->words.button), "button5");
  EXPECT_EQ(macro->name, "Greet");
  EXPECT_EQ(StoredAssignmentText(*macro), "macro Greet");

  // A user action whose name runs to the end without its terminator still reads.
  macro = DecodeStoredMapping("01000000030000000000000000000000000000000000000041004200");
  ASSERT_TRUE(macro);
  EXPECT_EQ(StoredAssignmentText(*macro), "user action AB");
  EXPECT_FALSE(DecodeStoredMapping("0100"));  // shorter than a record
  EXPECT_FALSE(DecodeStoredMapping(std::string(47, '0')));
  EXPECT_FALSE(DecodeStoredMapping(std::string(46, '0') + "zz"));
}

}  // namespace
}  // namespace quill::cli
