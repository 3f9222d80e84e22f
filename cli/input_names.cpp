#include "cli/input_names.h"

#include <array>
#include <cstdio>

namespace quill::cli {
namespace {

struct NamedUsage {
  uint8_t usage;
  const char* name;  // the name printed; the first of a usage's rows
};

// Usage page 7 names. Rows after the first of a usage are accepted spellings only.
constexpr NamedUsage kKeys[] = {
    {0x28, "Enter"}, {0x28, "Return"}, {0x29, "Esc"}, {0x29, "Escape"}, {0x2A, "Backspace"},
    {0x2B, "Tab"}, {0x2C, "Space"}, {0x2D, "Minus"}, {0x2E, "Equals"}, {0x2F, "LeftBracket"},
    {0x30, "RightBracket"}, {0x31, "Backslash"}, {0x32, "NonUSHash"}, {0x33, "Semicolon"},
    {0x34, "Quote"}, {0x35, "Grave"}, {0x36, "Comma"}, {0x37, "Period"}, {0x38, "Slash"},
    {0x39, "CapsLock"}, {0x46, "PrintScreen"}, {0x47, "ScrollLock"}, {0x48, "Pause"},
    {0x49, "Insert"}, {0x4A, "Home"}, {0x4B, "PageUp"}, {0x4C, "Delete"}, {0x4D, "End"},
    {0x4E, "PageDown"}, {0x4F, "ArrowRight"}, {0x50, "ArrowLeft"}, {0x51, "ArrowDown"},
    {0x52, "ArrowUp"}, {0x53, "NumLock"}, {0x54, "NumDivide"}, {0x55, "NumMultiply"},
    {0x56, "NumMinus"}, {0x57, "NumPlus"}, {0x58, "NumEnter"}, {0x63, "NumPeriod"},
    {0x64, "NonUSBackslash"}, {0x65, "Menu"}, {0xE0, "LCtrl"}, {0xE0, "Ctrl"}, {0xE1, "LShift"},
    {0xE1, "Shift"}, {0xE2, "LAlt"}, {0xE2, "Alt"}, {0xE3, "LWin"}, {0xE3, "Win"}, {0xE4, "RCtrl"},
    {0xE5, "RShift"}, {0xE6, "RAlt"}, {0xE7, "RWin"},
};

constexpr std::array<const char*, kMouseButtonCount> kMouseButtons = {"left", "right", "middle", "button4",
                                                                      "button5"};

// Letters, digits, keypad digits and function keys, which follow a pattern.
std::string PatternName(uint8_t usage) {
  if (usage >= 0x04 && usage <= 0x1D) return std::string(1, static_cast<char>('A' + usage - 0x04));
  if (usage >= 0x1E && usage <= 0x26) return std::string(1, static_cast<char>('1' + usage - 0x1E));
  if (usage == 0x27) return "0";
  if (usage >= 0x59 && usage <= 0x61) return "Num" + std::to_string(usage - 0x59 + 1);
  if (usage == 0x62) return "Num0";
  if (usage >= 0x3A && usage <= 0x45) return "F" + std::to_string(usage - 0x3A + 1);
  if (usage >= 0x68 && usage <= 0x73) return "F" + std::to_string(usage - 0x68 + 13);
  return {};
}

std::optional<unsigned> HexByte(std::string_view text) {
  if (text.size() != 4 || text[0] != '0' || (text[1] != 'x' && text[1] != 'X')) return std::nullopt;
  unsigned value = 0;
  for (char c : text.substr(2)) {
    int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
    if (d < 0) return std::nullopt;
    value = value * 16 + static_cast<unsigned>(d);
  }
  return value;
}

}  // namespace

std::string LowerAscii(std::string_view text) {
  std::string out(text);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

std::string KeyUsageName(uint8_t usage) {
  std::string name = PatternName(usage);
  if (!name.empty()) return name;
  for (const NamedUsage& key : kKeys)
    if (key.usage == usage) return key.name;
  char hex[8];
  std::snprintf(hex, sizeof hex, "0x%02X", usage);
  return hex;
}

std::optional<uint8_t> KeyUsageFromName(std::string_view name) {
  if (name.empty() || name.size() > 32) return std::nullopt;
  if (std::optional<unsigned> hex = HexByte(name)) return static_cast<uint8_t>(*hex);
  const std::string lower = LowerAscii(name);
  for (const NamedUsage& key : kKeys)
    if (LowerAscii(key.name) == lower) return key.usage;
  for (unsigned usage = 0; usage <= 0xFF; ++usage) {
    const std::string pattern = PatternName(static_cast<uint8_t>(usage));
    if (!pattern.empty() && LowerAscii(pattern) == lower) return static_cast<uint8_t>(usage);
  }
  return std::nullopt;
}

std::string MouseButtonName(int32_t click_type) {
  if (click_type >= 0 && click_type < kMouseButtonCount) return kMouseButtons[static_cast<size_t>(click_type)];
  return "click type " + std::to_string(click_type);
}

std::optional<int32_t> MouseButtonFromName(std::string_view name) {
  const std::string lower = LowerAscii(name);
  for (size_t i = 0; i < kMouseButtons.size(); ++i)
    if (lower == kMouseButtons[i]) return static_cast<int32_t>(i);
  return std::nullopt;
}

}  // namespace quill::cli
