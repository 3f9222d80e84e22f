// Macro event codes and the key list of the macro editor.
//
// A macro holds at most 16 events. Each event is a 16-bit code and a time in milliseconds from
// the first event (the first is at 0):
//
//   bit 15       release (key up, button up)
//   bits 9-14    0 for a keyboard event; otherwise a mouse event
//   bits 0-8     keyboard event: scan code (0-7) and extended bit (8), see key_names.h
//
// Mouse events: one encoding, two readable forms.
//   Written form (everything this code produces: recording, inserting, the key list, and macros
//   read back from the device):   code = button index << 9  (| 0x8000 for a release)
//   Also read:  the form older files carry for macros that came from the device, with all of
//   bits 9-14 set and the button index in the low byte: code = 0x7E00 | index (| 0x8000).
// The written form never sets all six bits (button indexes run from 1 to 14), so the two forms
// cannot be confused: MouseButtonIndex() accepts both and NormalizeEventCode() turns the second
// into the first. A reader of macro files calls NormalizeEventCode() on every code it loads.
//
// Button index: 1 "Left Button", 2 "Wheel", 3 "Right Button", 4 "Side Button 1",
// 5 "Side Button 2"; 6 to 14 are further buttons without names (device mouse bits 32 to 8192).
//
// The key list shows one row per key press, key release, mouse event and delay. Key and mouse
// event rows carry the names of the key tables (labels, not translated); delay rows carry the
// delay in seconds with three decimals at the start of their text ("%.03f sec delay").
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace quill {

constexpr int32_t kMaxMacroEvents = 16;

constexpr uint16_t kEventRelease = 0x8000;
constexpr uint16_t kEventMouseMask = 0x7E00;     // bits 9-14
constexpr uint16_t kEventMouseReadBack = 0x7E00; // all six set: index in the low byte
constexpr int kEventMouseShift = 9;

constexpr int kMouseButtonLeft = 1;
constexpr int kMouseButtonWheel = 2;
constexpr int kMouseButtonRight = 3;
constexpr int kMouseButtonSide1 = 4;
constexpr int kMouseButtonSide2 = 5;
constexpr int kMaxMouseButtonIndex = 14;

// Delays of the key list, in milliseconds.
constexpr int32_t kMaxRowDelayMs = 59000;        // longest delay a row shows or holds
constexpr int32_t kMinKeyDelayMs = 50;           // shortest delay before a key event
constexpr int32_t kMinMouseDelayMs = 1;          // shortest recorded delay before a mouse event
constexpr int32_t kInsertedDelayMs = 500;        // "Insert Delay"

// Longest row text, in UTF-16 units without the terminator (the rows have 260-unit buffers).
constexpr size_t kMaxRowTextUnits = 259;

inline constexpr std::u16string_view kDelayRowFormat = u"%.03f sec delay";

// The event codes and times of one macro, as the macro record holds them.
struct MacroEventList {
  int32_t lNumElements = 0;  // 0 to 16
  std::array<uint16_t, kMaxMacroEvents> ausCodes{};
  std::array<int32_t, kMaxMacroEvents> alTimes{};
};

enum class RowType : int32_t { KeyPress = 0, KeyRelease = 1, Delay = 2, Mouse = 3 };

struct MacroRow {
  std::u16string text;
  RowType type = RowType::KeyPress;
  // Event code the row was made from (key rows, mouse rows), 0 when unknown. It keeps what the
  // name alone cannot tell (the keypad Enter is named "Enter" like the main one); it is used only
  // while the row's text still names it, so an edited row converts by its new text.
  uint16_t code = 0;
};

// --- codes --------------------------------------------------------------------------------

bool IsMouseEvent(uint16_t code);
inline bool IsReleaseEvent(uint16_t code) { return (code & kEventRelease) != 0; }

// Button index of a mouse event in either form, 0 for a keyboard event or an index outside 1-14.
int MouseButtonIndex(uint16_t code);

// Mouse event code in the written form; 0 for an index outside 1 to 14.
uint16_t MouseEventCode(int buttonIndex, bool release);

// The written form of a code: mouse events of the read-back form are rewritten, everything else
// is returned unchanged.
uint16_t NormalizeEventCode(uint16_t code);

// Device mouse bit of a button index (1 left, 2 right, 4 middle, 8 button 4, 16 button 5, then
// 32 to 8192 for indexes 6 to 14), 0 for an index outside 1 to 14.
uint32_t MouseBitFromButtonIndex(int buttonIndex);
// The inverse: the index of a single mouse bit, 0 when bit is not one of them.
int ButtonIndexFromMouseBit(uint32_t bit);

// "Left Button", ... for indexes 1 to 5; empty for the others.
std::u16string_view MouseButtonName(int buttonIndex);

// Row text of an event: the key name, or the button name followed by " Down" or " Up"; "???"
// for a code without a name.
std::u16string EventRowText(uint16_t code);

// Event code of a mouse row text ("Wheel Up" -> index 2, release); 0 when it names no event.
uint16_t MouseEventCodeFromText(std::u16string_view text);

// --- recording ----------------------------------------------------------------------------

// Event code of a key message's flags (the high word of the key message's lParam): scan code,
// extended bit and the transition bit as release; nullopt for an auto-repeat (a key-down with
// the previous-state bit 14 set; key-ups always carry that bit and are kept).
std::optional<uint16_t> KeyEventFromFlags(uint32_t keyFlags);

struct RecordingDelayOptions {
  bool ignoreDelays = false;        // "Ignore Delay Between Events"
  bool useDefaultDelay = false;     // "Insert Default Delay"
  int32_t defaultDelayMs = 0;
};

// Delay row to put before a newly recorded event, nullopt when none is to be recorded. elapsedMs
// is the time since the previous event; the delay is limited to 0.05 s (0.001 s before a mouse
// event) to 59 s. Nothing is recorded before the first event of a macro.
std::optional<MacroRow> RecordedDelayRow(int64_t elapsedMs, bool beforeMouseEvent, bool firstEvent,
                                         const RecordingDelayOptions& options,
                                         std::u16string_view format = kDelayRowFormat);

// --- rows ---------------------------------------------------------------------------------

// Text of a delay row: format with its "%.03f" replaced by the delay in seconds with three
// decimals (1234 ms -> "1.234"). A format without "%.03f" gets the number in front.
std::u16string DelayRowText(int32_t delayMs, std::u16string_view format = kDelayRowFormat);
MacroRow DelayRow(int32_t delayMs, std::u16string_view format = kDelayRowFormat);

// Milliseconds of a delay row text: the decimal number at its start in seconds, rounded to whole
// milliseconds and limited to 0 to 59 s; 0 when the text does not start with a number.
int32_t DelayMsFromRowText(std::u16string_view text);

// Row of one event.
MacroRow EventRow(uint16_t code);

// The key list of a macro: for each event a delay row when its time differs from the previous
// event's (the difference limited to 0.05 to 59 s), then the event row. Codes up to 511 are key
// presses, mouse codes mouse rows, other codes key releases. Counts above 16 show the first 16.
std::vector<MacroRow> EventsToRows(const MacroEventList& events, std::u16string_view delayFormat = kDelayRowFormat);

// The macro of a key list. A key row gets its code from its name (0 when it names no key), a
// release with bit 15; a mouse row its mouse code (0 when it names no event). Each event is at
// the time of the previous one plus the delays of the rows between them. Events after the 16th
// are dropped.
MacroEventList RowsToEvents(std::span<const MacroRow> rows);

// Number of event rows (all rows but delays).
int32_t CountEventRows(std::span<const MacroRow> rows);

// Mouse events of the key list's insert commands 27792 to 27805 (press, release or a whole click
// of "Left Button", "Side Button 1", "Right Button", "Wheel", then press and release of
// "Side Button 2"); empty for any other command.
constexpr int kFirstMouseInsertCommand = 27792;
constexpr int kLastMouseInsertCommand = 27805;
std::vector<uint16_t> MouseInsertCommandEvents(int command);

}  // namespace quill
