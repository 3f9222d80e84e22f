#include "common/key_names.h"

#include <array>
#include <cstddef>

namespace quill {
namespace {

struct PlainKey {
  std::u16string_view name;  // empty: the key has no name
  uint8_t usage;             // HID keyboard usage, 0 for none
};

// Plain scan codes 1 to 88, row i is scan code i + 1.
constexpr std::array<PlainKey, kPlainKeyCount> kPlainKeys = {{
    {u"Esc", 0x29},    {u"!1", 0x1E},     {u"@2", 0x1F},     {u"#3", 0x20},      // 0x01-0x04
    {u"$4", 0x21},     {u"%5", 0x22},     {u"^6", 0x23},     {u"&7", 0x24},      // 0x05-0x08
    {u"*8", 0x25},     {u"(9", 0x26},     {u")0", 0x27},     {u"_-", 0x2D},      // 0x09-0x0C
    {u"+=", 0x2E},     {u"Bksp", 0x2A},   {u"Tab", 0x2B},    {u"Q", 0x14},       // 0x0D-0x10
    {u"W", 0x1A},      {u"E", 0x08},      {u"R", 0x15},      {u"T", 0x17},       // 0x11-0x14
    {u"Y", 0x1C},      {u"U", 0x18},      {u"I", 0x0C},      {u"O", 0x12},       // 0x15-0x18
    {u"P", 0x13},      {u"{[", 0x2F},     {u"}]", 0x30},     {u"Enter", 0x28},   // 0x19-0x1C
    {u"LCtrl", 0xE0},  {u"A", 0x04},      {u"S", 0x16},      {u"D", 0x07},       // 0x1D-0x20
    {u"F", 0x09},      {u"G", 0x0A},      {u"H", 0x0B},      {u"J", 0x0D},       // 0x21-0x24
    {u"K", 0x0E},      {u"L", 0x0F},      {u":;", 0x33},     {u"\"'", 0x34},     // 0x25-0x28
    {u"~`", 0x35},     {u"LShift", 0xE1}, {u"|\\", 0x31},    {u"Z", 0x1D},       // 0x29-0x2C
    {u"X", 0x1B},      {u"C", 0x06},      {u"V", 0x19},      {u"B", 0x05},       // 0x2D-0x30
    {u"N", 0x11},      {u"M", 0x10},      {u"<,", 0x36},     {u">.", 0x37},      // 0x31-0x34
    {u"?/", 0x38},     {u"Rshift", 0xE5}, {u"*", 0x55},      {u"LAlt", 0xE2},    // 0x35-0x38
    {u"Space", 0x2C},  {u"Caps", 0x39},   {u"F1", 0x3A},     {u"F2", 0x3B},      // 0x39-0x3C
    {u"F3", 0x3C},     {u"F4", 0x3D},     {u"F5", 0x3E},     {u"F6", 0x3F},      // 0x3D-0x40
    {u"F7", 0x40},     {u"F8", 0x41},     {u"F9", 0x42},     {u"F10", 0x43},     // 0x41-0x44
    {u"Pause", 0x48},  {u"Scroll", 0x47}, {u"7Home", 0x5F},  {u"8Up", 0x60},     // 0x45-0x48
    {u"9PgUp", 0x61},  {u"-", 0x56},      {u"4Left", 0x5C},  {u"5", 0x5D},       // 0x49-0x4C
    {u"6Right", 0x5E}, {u"+", 0x57},      {u"1End", 0x59},   {u"2Down", 0x5A},   // 0x4D-0x50
    {u"3PgDn", 0x5B},  {u"0Ins", 0x62},   {u".Del", 0x63},   {u"", 0x00},        // 0x51-0x54
    // 0x55 has no key on PC keyboards; 0x56 is the extra key of ISO keyboards ("<>" beside the
    // left Shift), which has a usage but no name in the key list.
    {u"", 0x00},       {u"", 0x64},       {u"F11", 0x44},    {u"F12", 0x45},     // 0x55-0x58
}};

struct ExtendedKey {
  uint8_t scan;
  std::u16string_view name;
  uint8_t usage;
};

constexpr std::array<ExtendedKey, 19> kExtendedKeys = {{
    {0x1C, u"Enter", 0x58},  // keypad Enter
    {0x1D, u"RCtrl", 0xE4},
    {0x35, u"/", 0x54},      // keypad divide
    {0x37, u"Print", 0x46},  // Print Screen
    {0x38, u"RAlt", 0xE6},
    {0x45, u"Num", 0x53},    // Num Lock
    {0x47, u"Home", 0x4A},
    {0x48, u"Up", 0x52},
    {0x49, u"PgUp", 0x4B},
    {0x4B, u"Left", 0x50},
    {0x4D, u"Right", 0x4F},
    {0x4F, u"End", 0x4D},
    {0x50, u"Down", 0x51},
    {0x51, u"PgDn", 0x4E},
    {0x52, u"Ins", 0x49},
    {0x53, u"Del", 0x4C},
    {0x5B, u"LWin", 0xE3},
    {0x5C, u"RWin", 0xE7},
    {0x5D, u"Menu", 0x65},   // application key
}};

const PlainKey* FindPlain(uint16_t keyCode) {
  keyCode &= kKeyCodeMask;
  if ((keyCode & kKeyExtended) != 0 || keyCode == 0 || keyCode > kPlainKeyCount) return nullptr;
  return &kPlainKeys[keyCode - 1];
}

const ExtendedKey* FindExtended(uint16_t keyCode) {
  keyCode &= kKeyCodeMask;
  if ((keyCode & kKeyExtended) == 0) return nullptr;
  for (const ExtendedKey& key : kExtendedKeys) {
    if (key.scan == (keyCode & kKeyScanMask)) return &key;
  }
  return nullptr;
}

}  // namespace

std::u16string_view KeyName(uint16_t keyCode) {
  if (const PlainKey* key = FindPlain(keyCode); key != nullptr && !key->name.empty()) return key->name;
  if (const ExtendedKey* key = FindExtended(keyCode)) return key->name;
  return kUnknownKeyName;
}

bool HasKeyName(uint16_t keyCode) { return KeyName(keyCode) != kUnknownKeyName; }

uint16_t KeyCodeFromName(std::u16string_view name) {
  if (name.empty()) return 0;
  for (size_t i = 0; i < kPlainKeys.size(); ++i) {
    if (kPlainKeys[i].name == name) return static_cast<uint16_t>(i + 1);
  }
  for (const ExtendedKey& key : kExtendedKeys) {
    if (key.name == name) return static_cast<uint16_t>(kKeyExtended | key.scan);
  }
  return 0;
}

uint8_t HidUsageFromKeyCode(uint16_t keyCode) {
  if (const PlainKey* key = FindPlain(keyCode)) return key->usage;
  if (const ExtendedKey* key = FindExtended(keyCode)) return key->usage;
  return 0;
}

uint16_t KeyCodeFromHidUsage(uint8_t usage) {
  if (usage == 0) return 0;
  for (size_t i = 0; i < kPlainKeys.size(); ++i) {
    if (kPlainKeys[i].usage == usage) return static_cast<uint16_t>(i + 1);
  }
  for (const ExtendedKey& key : kExtendedKeys) {
    if (key.usage == usage) return static_cast<uint16_t>(kKeyExtended | key.scan);
  }
  return 0;
}

}  // namespace quill
