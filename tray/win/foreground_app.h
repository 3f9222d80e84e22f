// File name (without folder) of the program whose window is in the foreground, as the process
// snapshot reports it; empty for no window or a process that cannot be found.
#pragma once
#include <string>

namespace quill::tray {

std::u16string ForegroundExecutable();

}  // namespace quill::tray
