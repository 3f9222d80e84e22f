#include "cli/store_text.h"

#include <array>
#include <cstdio>
#include <limits>

#include "cli/record_output.h"

namespace quill::cli {
namespace {

constexpr int32_t kMappingMacro = 2;
constexpr int32_t kMappingUserAction = 3;
constexpr size_t kMappingRecordBytes = 24;

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

constexpr std::array<std::string_view, 3> kModeNames = {"count", "until-same", "until-released"};
constexpr std::array<std::string_view, 3> kTypeNames = {"action", "keystroke", "macro"};

template <size_t N>
std::string NameOf(const std::array<std::string_view, N>& names, int32_t value, const char* other) {
  if (value >= 0 && static_cast<size_t>(value) < N) return std::string(names[static_cast<size_t>(value)]);
  return std::string(other) + " " + std::to_string(value);
}

template <size_t N>
std::optional<int32_t> ValueOf(const std::array<std::string_view, N>& names, std::string_view name) {
  for (size_t i = 0; i < N; ++i)
    if (names[i] == name) return static_cast<int32_t>(i);
  return std::nullopt;
}

int32_t LittleEndianWord(const std::vector<uint8_t>& bytes, size_t offset) {
  const uint32_t word = static_cast<uint32_t>(bytes[offset]) | static_cast<uint32_t>(bytes[offset + 1]) << 8 |
                        static_cast<uint32_t>(bytes[offset + 2]) << 16 | static_cast<uint32_t>(bytes[offset + 3]) << 24;
  return static_cast<int32_t>(word);
}

// The double-quoted strings of a tag, in order.
std::vector<std::string_view> QuotedStrings(std::string_view tag) {
  std::vector<std::string_view> strings;
  for (size_t open = tag.find('"'); open != std::string_view::npos; open = tag.find('"', open)) {
    const size_t close = tag.find('"', open + 1);
    if (close == std::string_view::npos) break;
    strings.push_back(tag.substr(open + 1, close - open - 1));
    open = close + 1;
  }
  return strings;
}

std::string_view FirstWord(std::string_view tag) { return tag.substr(0, tag.find(' ')); }

}  // namespace

std::optional<int32_t> ParseCode(std::string_view text) {
  if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
    if (text.size() > 10) return std::nullopt;
    uint32_t value = 0;
    for (char c : text.substr(2)) {
      const int digit = HexDigit(c);
      if (digit < 0) return std::nullopt;
      value = value << 4 | static_cast<uint32_t>(digit);
    }
    return static_cast<int32_t>(value);
  }
  const bool negative = !text.empty() && text[0] == '-';
  const std::string_view digits = negative ? text.substr(1) : text;
  if (digits.empty() || digits.size() > 10) return std::nullopt;
  int64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (negative) value = -value;
  if (value < std::numeric_limits<int32_t>::min() || value > std::numeric_limits<int32_t>::max()) return std::nullopt;
  return static_cast<int32_t>(value);
}

HexBytesResult ParseHexBytes(std::string_view text, size_t max_bytes) {
  HexBytesResult result;
  for (size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (c == ' ' || c == ',' || c == ':' || c == '\t') {
      ++i;
      continue;
    }
    if (i + 1 >= text.size() || HexDigit(c) < 0 || HexDigit(text[i + 1]) < 0) {
      result.error = "'" + std::string(text.substr(i, 2)) + "' is not a byte in hexadecimal (two digits, 00 to FF)";
      result.bytes.clear();
      return result;
    }
    if (result.bytes.size() == max_bytes) {
      result.error = "more than " + std::to_string(max_bytes) + " bytes";
      result.bytes.clear();
      return result;
    }
    result.bytes.push_back(static_cast<uint8_t>(HexDigit(c) << 4 | HexDigit(text[i + 1])));
    i += 2;
  }
  result.ok = true;
  return result;
}

std::string HexBytesText(const std::vector<uint8_t>& bytes) {
  std::string text;
  text.reserve(bytes.size() * 3);
  static constexpr char kDigits[] = "0123456789ABCDEF";
  for (uint8_t b : bytes) {
    if (!text.empty()) text += ' ';
    text += kDigits[b >> 4];
    text += kDigits[b & 15];
  }
  return text;
}

std::string MacroModeName(int32_t options) { return NameOf(kModeNames, options, "options"); }
std::optional<int32_t> MacroModeFromName(std::string_view name) { return ValueOf(kModeNames, name); }
std::string MacroTypeName(int32_t type) { return NameOf(kTypeNames, type, "type"); }
std::optional<int32_t> MacroTypeFromName(std::string_view name) { return ValueOf(kTypeNames, name); }

const ExchangeKey* ExchangeElement::Key(std::string_view value) const {
  for (const ExchangeKey& key : keys)
    if (key.value == value) return &key;
  return nullptr;
}

std::vector<ExchangeElement> ReadExchangeElements(std::string_view text, std::string_view kind) {
  std::vector<ExchangeElement> elements;
  const std::string closing = "/" + std::string(kind);
  std::optional<ExchangeElement> open;
  for (size_t start = text.find('<'); start != std::string_view::npos; start = text.find('<', start)) {
    const size_t end = text.find('>', start + 1);
    if (end == std::string_view::npos) break;
    const std::string_view tag = text.substr(start + 1, end - start - 1);
    start = end + 1;
    const std::string_view word = FirstWord(tag);
    if (word == kind) {
      const std::vector<std::string_view> quoted = QuotedStrings(tag);
      open.emplace();
      if (!quoted.empty()) open->name = std::string(quoted[0]);
    } else if (word == closing) {
      if (open) elements.push_back(std::move(*open));
      open.reset();
    } else if (open && word == "Key") {
      const std::vector<std::string_view> quoted = QuotedStrings(tag);
      if (quoted.size() >= 3)
        open->keys.push_back({std::string(quoted[0]), std::string(quoted[1]), std::string(quoted[2])});
    } else if (open && (word == "ProfilePtr" || word == "MacroPtr")) {
      const std::vector<std::string_view> quoted = QuotedStrings(tag);
      if (!quoted.empty()) open->pointers.emplace_back(quoted[0]);
    }
  }
  return elements;
}

std::optional<StoredMapping> DecodeStoredMapping(std::string_view hex) {
  if (hex.size() % 2 != 0 || hex.size() < 2 * kMappingRecordBytes) return std::nullopt;
  const HexBytesResult parsed = ParseHexBytes(hex, hex.size() / 2);
  if (!parsed.ok || parsed.bytes.size() * 2 != hex.size()) return std::nullopt;
  const std::vector<uint8_t>& bytes = parsed.bytes;
  StoredMapping mapping;
  mapping.words.button = LittleEndianWord(bytes, 0);
  mapping.words.mapping_type = LittleEndianWord(bytes, 4);
  mapping.words.action_type = LittleEndianWord(bytes, 8);
  for (size_t w = 0; w < 3; ++w) mapping.words.info[w] = LittleEndianWord(bytes, 12 + 4 * w);
  if (mapping.words.mapping_type == kMappingMacro || mapping.words.mapping_type == kMappingUserAction) {
    std::u16string name;
    for (size_t i = kMappingRecordBytes; i + 1 < bytes.size(); i += 2) {
      const char16_t unit = static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
      if (unit == 0) break;
      name += unit;
    }
    mapping.name = Utf8FromUtf16(name);
  }
  return mapping;
}

std::string StoredAssignmentText(const StoredMapping& mapping) {
  if (mapping.words.mapping_type == kMappingMacro) return "macro " + mapping.name;
  if (mapping.words.mapping_type == kMappingUserAction) return "user action " + mapping.name;
  return AssignmentText(mapping.words);
}

}  // namespace quill::cli
