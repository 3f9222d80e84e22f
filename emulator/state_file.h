// The emulated mouse's memory as a readable, hand-editable text file.
//
//   # comment
//   format = 1
//   [device]       serial, firmware (major.minor), sensor-rom, download-mode, total-space
//   [performance]  active-slot, polling-rate (code), current-stage, current-dpi (X and Y codes)
//   [profile N]    name ("text", empty, or name-hex = 40 bytes), block = 56 hex bytes
//   [macro N]      data = hex bytes (its size; the first 40 bytes are the macro's name)
// Numbers are decimal, byte lists hexadecimal; a line that starts with white space continues
// the value of the line before. Settings a file leaves out keep the values of a new mouse.
#pragma once
#include <filesystem>
#include <string>
#include <string_view>

#include "emulator/device_state.h"

namespace quill::emu {

struct StateParseResult {
  bool ok = false;
  std::string error;  // "line 12: ..." when not ok
  DeviceState state;
};

std::string FormatStateText(const DeviceState& state);
StateParseResult ParseStateText(std::string_view text);

// Files larger than this are refused.
constexpr size_t kMaxStateFileBytes = 4u << 20;

// Writes a temporary file beside the target, then replaces the target.
bool SaveStateFile(const std::filesystem::path& path, const DeviceState& state, std::string* error);
StateParseResult LoadStateFile(const std::filesystem::path& path);

}  // namespace quill::emu
