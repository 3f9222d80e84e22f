// The keystroke the mouse sends on every state change: F20 (0x83) down and up.
#pragma once

namespace quill::emu {

// SendInput of VK_F20 key down and key up; false when Windows took fewer than both events.
bool SendF20Keystroke();

}  // namespace quill::emu
