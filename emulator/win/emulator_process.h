// Test support: a QuillfernEmulator.exe of the test's own, on a unique pipe with a temporary
// state file, stopped by process id when the object goes (also after a failed assertion).
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "emulator/win/child_process.h"

namespace quill::emu {

struct EmulatorOptions {
  std::string initial_state;     // state file text to start from; empty: a new mouse
  size_t path_length = 0;        // --path-length (0: natural)
  bool keystrokes = true;        // false: --no-keys
  std::wstring state_file;       // use this file (kept); empty: a temporary file (removed)
};

class EmulatorProcess {
 public:
  // Starts QuillfernEmulator.exe from the folder of the running executable and waits (up to
  // 10 s) until its pipe answers. Check ok() / error().
  explicit EmulatorProcess(const EmulatorOptions& options = {});
  ~EmulatorProcess();  // "quit", then TerminateProcess after 5 s; restores QUILLFERN_EMULATOR
  EmulatorProcess(const EmulatorProcess&) = delete;
  EmulatorProcess& operator=(const EmulatorProcess&) = delete;

  bool ok() const { return running_; }
  const std::string& error() const { return error_; }
  const std::u16string& pipe_name() const { return pipe_name_; }   // "quillfern-emu-..."
  const std::wstring& state_file() const { return state_file_; }
  uint32_t process_id() const { return process_id_; }

  // exit_code: 0 done, 1 command failed, 3 no emulator answers (-1: the tool did not run to its
  // end); output: what the command printed.
  using CtlResult = test::RunResult;
  // A control command sent straight over the pipe (words as on the ctl command line).
  CtlResult Ctl(const std::string& command);
  // The same through "QuillfernEmulator.exe ctl --pipe NAME <arguments>" in a child
  // process; output = its standard output followed by its standard error.
  CtlResult RunCtlTool(const std::wstring& arguments);
  // Runs the emulator executable with any arguments (for probe and usage checks).
  CtlResult RunTool(const std::wstring& arguments);

  // Sets QUILLFERN_EMULATOR to this pipe's name for the current process (and children).
  void SetEnvironment();
  // Asks the server to quit and waits for it; true when it ended by itself.
  bool Stop();
  // What the server printed so far (its "ready" line, errors).
  std::string ServerOutput() const;

  static std::wstring ExecutableFolder();

 private:
  bool running_ = false;
  std::string error_;
  std::u16string pipe_name_;
  std::wstring state_file_;
  std::wstring output_file_;
  bool remove_state_ = true;
  bool environment_set_ = false;
  std::wstring saved_environment_;
  bool had_environment_ = false;
  PROCESS_INFORMATION process_{};
  uint32_t process_id_ = 0;
};

}  // namespace quill::emu
