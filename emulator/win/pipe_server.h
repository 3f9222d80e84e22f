// QuillfernEmulator.exe's server: the model on a message-mode named pipe, one pipe instance
// and one thread per client connection, the state saved to its file after every change.
#pragma once
#include <cstddef>
#include <string>

namespace quill::emu {

struct ServeOptions {
  std::wstring pipe_name;    // full "\\.\pipe\..." name
  std::wstring state_file;   // empty: the state lives in memory only
  size_t path_length = 0;    // device path length in UTF-16 units (0: natural length)
  bool keystrokes = true;    // send F20 on button presses
  unsigned long parent_pid = 0;  // non-zero: stop (saving the state) when that process ends
};

// Runs until the control command "quit". Returns the process exit code; messages go to
// stdout (the "ready" line) and stderr (errors).
int Serve(const ServeOptions& options);

}  // namespace quill::emu
