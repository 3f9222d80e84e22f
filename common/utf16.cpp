#include "common/utf16.h"

namespace quill {

std::string EncodeUtf16Le(std::u16string_view text) {
  std::string bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t unit : text) {
    bytes.push_back(static_cast<char>(unit & 0xFF));
    bytes.push_back(static_cast<char>((unit >> 8) & 0xFF));
  }
  return bytes;
}

std::u16string DecodeUtf16Le(std::string_view bytes) {
  std::u16string text;
  text.reserve(bytes.size() / 2);
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const auto lo = static_cast<unsigned char>(bytes[i]);
    const auto hi = static_cast<unsigned char>(bytes[i + 1]);
    text.push_back(static_cast<char16_t>(lo | (hi << 8)));
  }
  return text;
}

std::u16string Widen(std::string_view ascii) {
  std::u16string text;
  text.reserve(ascii.size());
  for (char c : ascii) text.push_back(static_cast<char16_t>(static_cast<unsigned char>(c)));
  return text;
}

std::u16string DecimalText(int64_t value) { return Widen(std::to_string(value)); }

std::u16string Hex4Text(uint16_t value) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string text(4, u'0');
  for (int i = 3; i >= 0; --i) {
    text[static_cast<size_t>(i)] = kDigits[value & 0xF];
    value = static_cast<uint16_t>(value >> 4);
  }
  return text;
}

}  // namespace quill
