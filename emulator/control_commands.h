// The emulator's control commands (press a button, unplug, inject faults, dump state and log),
// shared by the pipe server and tests. One command is a list of words, e.g. {"press", "dpi-up"}.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "emulator/quillfern_model.h"

namespace quill::emu {

struct ControlResult {
  bool ok = false;
  std::string output;  // lines ending in '\n'; on failure one line starting with "error: "
  bool quit = false;   // the "quit" command: the server is to save and stop
};

ControlResult RunControlCommand(QuillfernModel& model, const std::vector<std::string>& words);
// Splits at white space; double quotes group words.
std::vector<std::string> SplitControlLine(std::string_view line);
std::string ControlHelp();
// UTF-16 to UTF-8 for printing paths (unpaired surrogates become U+FFFD).
std::string Utf8(const std::u16string& text);

}  // namespace quill::emu
