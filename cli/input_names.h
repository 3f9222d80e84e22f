// Names of the keys and mouse buttons in the client's macro texts and listings.
//
// The mouse stores a key as its USB HID keyboard usage (usage page 7): "A" is 0x04, "Enter"
// 0x28, "LCtrl" 0xE0. Every usage without a name is written "0x" and two hexadecimal digits,
// and that form is accepted for any usage. Names are matched without regard to case.
// Mouse buttons: left, right, middle, button4, button5 (the click types 0 to 4 the mouse plays).
// The arrow keys are ArrowLeft, ArrowRight, ArrowUp and ArrowDown, so that "left" and "right"
// always mean the mouse buttons.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quill::cli {

// Name of a HID keyboard usage ("A", "F5", "Space"), or "0x" and two hex digits.
std::string KeyUsageName(uint8_t usage);
// Usage of a key name or of "0xNN"; nullopt for anything else.
std::optional<uint8_t> KeyUsageFromName(std::string_view name);

constexpr int32_t kMouseButtonCount = 5;
// Name of a click type 0 to 4; other values give "click type N".
std::string MouseButtonName(int32_t click_type);
// Click type of a button name; nullopt for anything else.
std::optional<int32_t> MouseButtonFromName(std::string_view name);

// ASCII lower case, for the matching of names and words.
std::string LowerAscii(std::string_view text);

}  // namespace quill::cli
