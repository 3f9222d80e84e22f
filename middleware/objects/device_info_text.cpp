#include "middleware/objects/device_info_text.h"

namespace quill {
namespace {

void AppendDecimal(std::u16string& text, unsigned value, size_t min_digits) {
  char16_t digits[10];
  size_t n = 0;
  do {
    digits[n++] = static_cast<char16_t>(u'0' + value % 10);
    value /= 10;
  } while (value != 0 && n < sizeof digits / sizeof digits[0]);
  for (size_t pad = n; pad < min_digits; ++pad) text.push_back(u'0');
  while (n > 0) text.push_back(digits[--n]);
}

}  // namespace

std::u16string SerialNumberText(const DeviceInformation& info) {
  std::u16string text;
  text.reserve(kSerialNumberChars - 1);
  for (uint8_t byte : info.serial) AppendDecimal(text, byte, 1);
  return text;
}

std::u16string FirmwareVersionText(uint8_t major, uint8_t minor) {
  std::u16string text;
  AppendDecimal(text, major, 1);
  text.push_back(u'.');
  AppendDecimal(text, minor, 2);
  return text;
}

DeviceCapabilityValues CapabilitiesFor(uint16_t open_pid) {
  DeviceCapabilityValues values;
  values.pid = open_pid;
  return values;
}

}  // namespace quill
