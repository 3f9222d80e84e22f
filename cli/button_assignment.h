// Button assignments in words, as `QuillfernCli buttons ... set` and the backup file write them:
//   <button>=<function>
// Buttons are named as `profiles` lists them (left, right, middle, button4, button5, dpi-up,
// dpi-down, scroll-up, scroll-down). Functions are the catalogue's: click, menu,
// universal-scrolling, double-click, forward, backward, dpi-up, dpi-down, on-the-fly,
// scroll-up, scroll-down, off, key:<key name or 0xNN>, macro:<reference>, profile:<reference>.
// The scroll wheel offers only macro, dpi-up, dpi-down, scroll-up, scroll-down and off.
// Words are matched without regard to case; references keep theirs (a macro or profile name in
// the backup file, a number or a name on the command line: the caller resolves them).
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "common/button_catalogue.h"

namespace quill::cli {

struct ButtonAssignment {
  int function = -1;     // catalogue function index
  uint8_t key = 0;       // key: the HID usage
  std::string target;    // macro: and profile: as written
  int32_t number = 0;    // macro: the macro id, profile: the slot, once resolved
  bool operator==(const ButtonAssignment&) const = default;
};

// The catalogue button of a name ("button4"), null for any other word.
const buttons::ButtonInfo* ButtonByName(std::string_view name);
// The name of a catalogue button.
std::string NameOfButton(const buttons::ButtonInfo& button);

// The function of a word for a button (`error` says why when there is none: an unknown word, a
// function the button does not offer, a missing or unknown key, an empty reference).
std::optional<ButtonAssignment> ParseAssignment(const buttons::ButtonInfo& button, std::string_view word,
                                                std::string& error);

// "<button>=<function>" split and parsed; `button` receives the catalogue button.
std::optional<ButtonAssignment> ParseButtonAssignment(std::string_view text, const buttons::ButtonInfo*& button,
                                                      std::string& error);

// The word of an assignment; macro and profile references write `target`.
std::string AssignmentWord(const ButtonAssignment& assignment);

// The mapping record of a resolved assignment (`number` set for macro and profile).
buttons::MappingWords MappingOf(const buttons::ButtonInfo& button, const ButtonAssignment& assignment);
// The assignment a stored record holds (`number` filled for macro and profile, no target), or
// nothing when the record is none of the catalogue's functions.
std::optional<ButtonAssignment> AssignmentOf(const buttons::MappingWords& mapping);

// The help text: the buttons, the functions and an example.
std::string AssignmentHelp();

}  // namespace quill::cli
