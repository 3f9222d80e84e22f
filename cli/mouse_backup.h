// The whole mouse in one readable file, as `QuillfernCli backup` writes it and `restore` reads it:
//
//   {
//     "format": "QuillfernCli backup",
//     "version": 1,
//     "polling rate": 1000,
//     "active profile": 1,
//     "profiles": [
//       {
//         "slot": 1,
//         "name": "Profile 1",
//         "leds": 7,
//         "dpi stages": [800, 1200, [1800, 1600]],     a stage with a different Y: [x, y]
//         "default stage": 2,
//         "buttons": {"left": "click", ..., "dpi-up": "macro:Greet", "button5": "profile:Work"}
//       }
//     ],
//     "macros": [
//       {"name": "Greet", "events": ["down LShift", "down A", "delay 50", "up A", "up LShift"]}
//     ]
//   }
//
// Buttons carry the words of button_assignment.h with macros and target profiles named; events
// are lines of the macro text of macro_script.h. The reader checks the file against the limits
// of the mouse and the references against the file itself, and names the place of a fault:
// `profiles[2].buttons.button4: no macro named "Greet" in this file`.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "cli/button_assignment.h"
#include "cli/macro_script.h"

namespace quill::cli {

inline constexpr char kBackupFormat[] = "QuillfernCli backup";
constexpr int64_t kBackupVersion = 1;
constexpr size_t kMaxBackupBytes = 4u << 20;
constexpr size_t kMaxMacros = 70;
// A macro of the most bytes the mouse stores has fewer lines than this (a line takes a byte).
constexpr size_t kMaxMacroEventLines = 1u << 17;
constexpr size_t kMaxBackupValues = 1u << 20;

struct BackupStage {
  int64_t x = 0;
  int64_t y = 0;
  bool operator==(const BackupStage&) const = default;
};

struct BackupProfile {
  int64_t slot = 0;
  std::string name;
  int64_t leds = 0;
  std::vector<BackupStage> stages;
  int64_t default_stage = 1;
  // In the order of the catalogue's buttons (left, right, middle, button4, button5, dpi-up,
  // dpi-down, scroll-up, scroll-down). After reading, a macro's `number` is its position in
  // `macros` plus 1 and a profile's `number` its slot.
  std::array<ButtonAssignment, buttons::kButtonCount> buttons{};
  bool operator==(const BackupProfile&) const = default;
};

struct BackupMacro {
  std::string name;
  std::vector<MacroStep> steps;
  bool operator==(const BackupMacro&) const = default;
};

struct MouseBackup {
  int64_t polling_rate = 1000;
  int64_t active_profile = 1;
  std::vector<BackupProfile> profiles;  // by slot
  std::vector<BackupMacro> macros;
  bool operator==(const MouseBackup&) const = default;
};

std::string WriteBackup(const MouseBackup& backup);

struct BackupReadResult {
  bool ok = false;
  std::string error;  // the place and the fault, when not ok
  MouseBackup backup;
};
BackupReadResult ReadBackup(std::string_view text);

// Bytes the mouse needs for a name: UTF-16 units of UTF-8 text.
size_t Utf16Length(std::string_view utf8);

}  // namespace quill::cli
