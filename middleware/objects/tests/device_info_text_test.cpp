#include "middleware/objects/device_info_text.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

DeviceInformation SerialOf(uint8_t fill) {
  DeviceInformation info;
  info.serial.fill(fill);
  return info;
}

TEST(SerialNumberText, EachByteInDecimalWithoutSeparators) {
  DeviceInformation info;
  for (size_t i = 0; i < info.serial.size(); ++i) info.serial[i] = static_cast<uint8_t>(i * 7);
  EXPECT_EQ(SerialNumberText(info),
            u"0714212835424956637077849198105112119126133140147154161168175182189196203210217");
}

TEST(SerialNumberText, LengthsAtTheExtremesFitTheAllocation) {
  EXPECT_EQ(SerialNumberText(SerialOf(0)), std::u16string(32, u'0'));
  const std::u16string longest = SerialNumberText(SerialOf(255));
  EXPECT_EQ(longest.size(), 96u);
  EXPECT_EQ(longest.substr(0, 6), u"255255");
  EXPECT_LT(longest.size(), kSerialNumberChars);
}

TEST(FirmwareVersionText, MinorHasTwoDigitsAtLeast) {
  const struct {
    uint8_t major, minor;
    const char16_t* text;
  } cases[] = {
      {2, 3, u"2.03"}, {1, 0, u"1.00"}, {0, 99, u"0.99"}, {10, 100, u"10.100"}, {255, 255, u"255.255"},
  };
  for (const auto& c : cases) {
    const std::u16string text = FirmwareVersionText(c.major, c.minor);
    EXPECT_EQ(text, c.text) << int(c.major) << "." << int(c.minor);
    EXPECT_LT(text.size(), kFirmwareVersionChars);
  }
}

TEST(CapabilitiesFor, FixedValuesAndTheOpenProduct) {
  const DeviceCapabilityValues v = CapabilitiesFor(0x1234);
  EXPECT_EQ(v.pid, 0x1234u);
  EXPECT_EQ(v.mouse_buttons, 9);
  EXPECT_EQ(v.total_buttons, 10);
  EXPECT_EQ(v.max_macro_length, 500u);
  EXPECT_EQ(v.dpi_settings_supported, 1);
  EXPECT_EQ(v.polling_rate_supported, 1);
}

}  // namespace
}  // namespace quill
