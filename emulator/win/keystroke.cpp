#include "emulator/win/keystroke.h"

#include <windows.h>

namespace quill::emu {

bool SendF20Keystroke() {
  INPUT inputs[2] = {};
  for (INPUT& input : inputs) {
    input.type = INPUT_KEYBOARD;
    input.ki.wVk = VK_F20;
  }
  inputs[1].ki.dwFlags = KEYEVENTF_KEYUP;
  return SendInput(2, inputs, sizeof(INPUT)) == 2;
}

}  // namespace quill::emu
