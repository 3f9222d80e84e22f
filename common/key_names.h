// Keyboard tables of the macro editor and the button catalogue.
//
// A key is identified by its Windows keyboard scan code (set 1, as the key messages report it)
// plus an extended bit, packed like the low nine bits of a macro event code:
//   bits 0-7  scan code
//   bit  8    extended key (kKeyExtended)
// Scan codes 1 to 88 without the extended bit are the plain keys; the extended keys are the
// nineteen listed in the extended table (Enter of the keypad, right Ctrl/Alt, the arrow block,
// the Windows and menu keys, ...).
//
// Names are the key-cap texts the key list shows and parses back (exact, case-sensitive match).
// They are labels of the keyboard, not translated texts.
//
// The device speaks USB HID keyboard usages: a macro key element and a "Single Key" button carry
// the usage of the key. Scan code 0x45 is Pause without the extended bit and Num Lock with it,
// and extended 0x37 is Print Screen, as on Windows.
#pragma once
#include <cstdint>
#include <string_view>

namespace quill {

constexpr uint16_t kKeyScanMask = 0x00FF;
constexpr uint16_t kKeyExtended = 0x0100;
constexpr uint16_t kKeyCodeMask = 0x01FF;  // scan code and extended bit
constexpr uint16_t kPlainKeyCount = 88;    // plain scan codes 1 to 88 have table rows

// Shown for a code that has no name.
inline constexpr std::u16string_view kUnknownKeyName = u"???";

// Name of the key (bits 0 to 8 of keyCode; higher bits are ignored), or "???".
std::u16string_view KeyName(uint16_t keyCode);

// True when the key has a name of its own (KeyName would not answer "???").
bool HasKeyName(uint16_t keyCode);

// Key code (scan code, extended bit) of a name, 0 when no key has that name. The plain keys are
// searched first, so "Enter" is the main Enter key (0x1C), never the keypad's (0x11C).
uint16_t KeyCodeFromName(std::u16string_view name);

// USB HID keyboard usage (usage page 7) of the key, 0 when the key has none.
uint8_t HidUsageFromKeyCode(uint16_t keyCode);

// Key code of a HID usage: the plain keys 1 to 88 first, then the extended table; 0 when no key
// of the tables has that usage (also for usage 0).
uint16_t KeyCodeFromHidUsage(uint8_t usage);

// Device key code of a captured key for a "Single Key" button: its HID usage. 0 means the key
// cannot be assigned and the button stays as it was.
inline uint8_t DeviceKeyCode(uint16_t scanCode, bool extended) {
  return HidUsageFromKeyCode(static_cast<uint16_t>((scanCode & kKeyScanMask) | (extended ? kKeyExtended : 0)));
}

}  // namespace quill
