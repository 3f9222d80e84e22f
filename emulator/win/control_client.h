// The control command line's client: one command to a running emulator over its pipe.
#pragma once
#include <optional>
#include <string>

#include "middleware/transport/pipe_wire.h"

namespace quill::emu {

// Sends one control command line; nothing when no emulator answers.
std::optional<ControlReply> SendControl(const std::u16string& pipe_name, const std::string& command_line);

}  // namespace quill::emu
