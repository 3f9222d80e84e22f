// The HidPort the middleware uses instead of SetupAPI and HID when the environment variable
// QUILLFERN_EMULATOR names the pipe of a running QuillfernEmulator.exe.
//
// Enumeration asks the emulator for its interfaces (a foreign mouse of vendor 0x845E, as Wine
// shows, then every path the emulated mouse has had). Each Open is a pipe connection of its
// own and closing the HidDevice closes it, so an unplug never leaves a stale handle behind.
// Without a running emulator the enumeration is empty and every Open fails.
#pragma once
#include <memory>
#include <optional>
#include <string>

#include "middleware/transport/hid_port.h"

namespace quill::emu {

// `pipe_name`: "NAME" or "\\.\pipe\NAME".
std::unique_ptr<quill::HidPort> CreatePipeHidPort(const std::u16string& pipe_name);

// The value of QUILLFERN_EMULATOR when it is set and not empty.
std::optional<std::u16string> EmulatorPipeFromEnvironment();

}  // namespace quill::emu
