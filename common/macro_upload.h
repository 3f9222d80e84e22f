// The macro as the middleware's macro store takes and returns it: one element per event, with
// the action, three info words and the delay to the next event.
//
//   key event:    actionType 1 (BUTTON_ACTION_KEYCODE)
//                 info[0] HID keyboard usage of the key (0 for a key without one)
//                 info[1] virtual key, 0
//                 info[2] options: KEYCODE_OPTIONS_BREAK (2) for a release, else 0
//   mouse event:  actionType 0 (BUTTON_ACTION_CLICK)
//                 info[0] click type: the bit position of the button's mouse bit
//                         (MOUSE_CLICK_LCLICK 0, RCLICK 1, MCLICK 2, BUTTON4CLK 3, BUTTON5CLK 4,
//                          then 5 to 13 for the nameless buttons 6 to 14; the device plays
//                          only 0 to 4, and the store's value 5 is its double click)
//                 info[1] options: 2 for a release, else 0
//   lDelayMs      time to the next event (0 after the last), limited to 0 to 16777215 (24 bits,
//                 what the device stores); lHoldMs 0.
// The fields are those of the store's 24-byte element record, in its order.
//
// An event that names neither a key nor a button (code 0, a mouse index outside 1 to 14) is sent
// as a key element with usage 0, which the device plays as nothing, so counts and delays stay.
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "common/macro_events.h"

namespace quill::macro_store {

constexpr int32_t BUTTON_ACTION_CLICK = 0;
constexpr int32_t BUTTON_ACTION_KEYCODE = 1;
constexpr int32_t KEYCODE_OPTIONS_BREAK = 2;

constexpr int32_t MOUSE_CLICK_LCLICK = 0;
constexpr int32_t MOUSE_CLICK_RCLICK = 1;
constexpr int32_t MOUSE_CLICK_MCLICK = 2;
constexpr int32_t MOUSE_CLICK_BUTTON4CLK = 3;
constexpr int32_t MOUSE_CLICK_BUTTON5CLK = 4;

constexpr size_t kKeyInfoUsage = 0;
constexpr size_t kKeyInfoVirtualKey = 1;
constexpr size_t kKeyInfoOptions = 2;
constexpr size_t kClickInfoType = 0;
constexpr size_t kClickInfoOptions = 1;

constexpr int32_t kMaxElementDelayMs = 0xFFFFFF;

struct MacroElement {
  int32_t actionType = 0;
  std::array<int32_t, 3> info{};
  int32_t lDelayMs = 0;
  int32_t lHoldMs = 0;
  bool operator==(const MacroElement&) const = default;
};

// The upload parameters: the rest of the store's macro parameters stays zero.
struct MacroUpload {
  int32_t lNumElements = 0;
  std::array<MacroElement, kMaxMacroEvents> elements{};
};

// Upload form of the macro's events; nullopt when it holds more than 16 (or a negative number
// of) events, in which case the macro is not to be stored.
std::optional<MacroUpload> BuildUploadForm(const MacroEventList& events);

// One element of the upload form.
MacroElement UploadElement(uint16_t code, int32_t delayMs);

struct ReadBackResult {
  MacroEventList events;
  bool cut = false;  // the store returned more than 16 elements; the first 16 were kept
};

// Event codes and times of elements read back from the store: a click becomes the mouse event of
// its button (written form of macro_events.h), a key element the key of its usage; the break
// option sets bit 15; the times add up the delays. Other action types and click types without a
// button give code 0 (with bit 15 for a break).
ReadBackResult ReadBackForm(std::span<const MacroElement> elements);

// Event code of one element read back.
uint16_t ReadBackCode(const MacroElement& element);

// Name as the device stores it: at most 19 characters (40 bytes with the terminator); a longer
// name is cut, without splitting a surrogate pair.
std::u16string DeviceMacroName(std::u16string_view name);

}  // namespace quill::macro_store
