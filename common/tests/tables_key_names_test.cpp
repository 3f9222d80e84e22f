#include <gtest/gtest.h>

#include "common/key_names.h"

namespace quill {
namespace {

struct KeyCase {
  uint16_t code;
  std::u16string_view name;
  uint8_t usage;
};

TEST(KeyNames, NamesAndUsagesOfPlainAndExtendedCodes) {
  const KeyCase cases[] = {
      {0x45, u"Pause", 0x48},   // 0x45 without the extended bit is Pause
      {0x145, u"Num", 0x53},    // with it Num Lock
      {0x137, u"Print", 0x46},  // Print Screen
      {0x37, u"*", 0x55},       // keypad multiply
      {0x1C, u"Enter", 0x28},
      {0x11C, u"Enter", 0x58},  // keypad Enter
      {0x01, u"Esc", 0x29},
      {0x1E, u"A", 0x04},
      {0x28, u"\"'", 0x34},
      {0x2B, u"|\\", 0x31},
      {0x36, u"Rshift", 0xE5},
      {0x53, u".Del", 0x63},
      {0x153, u"Del", 0x4C},
      {0x57, u"F11", 0x44},
      {0x58, u"F12", 0x45},
      {0x15D, u"Menu", 0x65},
      {0x54, u"???", 0x00},
      {0x55, u"???", 0x00},
      {0x56, u"???", 0x64},     // the ISO key: a usage, no name
      {0x59, u"???", 0x00},     // past the plain table
      {0x11E, u"???", 0x00},    // extended code outside the table
      {0x00, u"???", 0x00},
  };
  for (const KeyCase& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_EQ(KeyName(c.code), c.name);
    EXPECT_EQ(HidUsageFromKeyCode(c.code), c.usage);
  }
  // Bits above the key code (release, mouse bits) do not change the key.
  EXPECT_EQ(KeyName(0x801E), u"A");
  EXPECT_EQ(HidUsageFromKeyCode(0x8145), 0x53);
}

TEST(KeyNames, EveryNamedKeyRoundTripsThroughItsNameAndItsUsage) {
  int named = 0;
  for (uint16_t code = 1; code < 0x200; ++code) {
    if (!HasKeyName(code)) continue;
    ++named;
    SCOPED_TRACE(code);
    // The keypad Enter shares its name with the main Enter key; the name gives the main one.
    EXPECT_EQ(KeyCodeFromName(KeyName(code)), code == 0x11C ? 0x1C : code);
    const uint8_t usage = HidUsageFromKeyCode(code);
    ASSERT_NE(usage, 0);
    EXPECT_EQ(KeyCodeFromHidUsage(usage), code);
  }
  EXPECT_EQ(named, 85 + 19);  // 88 plain codes less three without names, and the extended table
}

TEST(KeyNames, UnknownNamesAndUsagesGiveZero) {
  EXPECT_EQ(KeyCodeFromName(u""), 0);
  EXPECT_EQ(KeyCodeFromName(u"???"), 0);
  EXPECT_EQ(KeyCodeFromName(u"lctrl"), 0);  // exact, case-sensitive
  EXPECT_EQ(KeyCodeFromHidUsage(0), 0);
  EXPECT_EQ(KeyCodeFromHidUsage(0xE8), 0);
  EXPECT_EQ(KeyCodeFromHidUsage(0x64), 0x56);
}

TEST(KeyNames, DeviceKeyCodeOfACapturedKey) {
  EXPECT_EQ(DeviceKeyCode(0x45, false), 0x48);
  EXPECT_EQ(DeviceKeyCode(0x45, true), 0x53);
  EXPECT_EQ(DeviceKeyCode(0x37, true), 0x46);
  EXPECT_EQ(DeviceKeyCode(0x1E, false), 0x04);
  EXPECT_EQ(DeviceKeyCode(0x54, false), 0);  // no usage: the button stays as it was
  EXPECT_EQ(DeviceKeyCode(0x21E, false), 0x04);  // only the low byte is the scan code
}

}  // namespace
}  // namespace quill
