// A macro as text, one event per line: what `QuillfernCli upload` reads and `macro` prints.
//
//   down <key|button>     press a key or mouse button
//   up <key|button>       release it
//   click <key|button>    press, then release at once (two events)
//   delay <ms>            wait that long after the event before it (delays in a row add up;
//                         an optional "ms" follows the number)
//   # ...                 comment; blank lines are skipped
//
// Keys and buttons are named as in input_names.h. Words are case-insensitive. A mouse button is
// pressed only while released and released only while held (the mouse stores the buttons' state,
// so anything else would play and read back as a different button). A delay needs an event
// before it, and delays are at most 16777215 ms each (what the mouse stores).
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quill::cli {

// Action types and info words as the middleware's macro elements carry them.
constexpr int32_t kStepClick = 0;       // BUTTON_ACTION_CLICK: info[0] click type, info[1] options
constexpr int32_t kStepKey = 1;         // BUTTON_ACTION_KEYCODE: info[0] usage, info[2] options
constexpr int32_t kStepReleaseOptions = 2;  // KEYCODE_OPTIONS_BREAK
constexpr int32_t kMaxStepDelayMs = 0xFFFFFF;

struct MacroStep {
  int32_t action_type = kStepKey;
  std::array<int32_t, 3> info{};
  int32_t delay_ms = 0;  // after this event
  bool operator==(const MacroStep&) const = default;
};

MacroStep KeyStep(uint8_t usage, bool release, int32_t delay_ms = 0);
MacroStep ButtonStep(int32_t click_type, bool release, int32_t delay_ms = 0);

// Limits of the text: larger inputs are refused, never truncated.
constexpr size_t kMaxMacroScriptBytes = 1u << 20;
constexpr size_t kMaxMacroScriptLineBytes = 1000;
// The mouse's size field is 16 bits: 50 header bytes and the events must fit in it.
constexpr size_t kMaxMacroStreamBytes = 0xFFFF;

struct MacroScriptResult {
  bool ok = false;
  std::string error;  // "line 3: unknown key or button \"Foo\"" when not ok
  std::vector<MacroStep> steps;
};

MacroScriptResult ParseMacroScript(std::string_view text);

// "down A", "up left", "down 0x87"; an action the text form has no word for is described as
// "action N (w0, w1, w2)".
std::string StepEventText(const MacroStep& step);

// The steps as macro text (the parse of which gives the same steps).
std::string FormatMacroScript(const std::vector<MacroStep>& steps);

// Bytes the mouse needs for the macro: 50 header bytes, 2 per key event, 1 per button event,
// and 1 to 4 per delay.
size_t EncodedMacroSize(const std::vector<MacroStep>& steps);

}  // namespace quill::cli
