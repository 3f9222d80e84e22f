// Test support: a program in a process of its own, its standard input a pipe of the caller's and
// its standard output and error collected as they come, ended by its handle when it outlives
// the object. Used by every Windows test that starts a child (the emulator's tool, test
// clients, regsvr32, QuillfernCli).
#pragma once
#include <windows.h>

#include <mutex>
#include <string>
#include <thread>

namespace quill::test {

class ChildProcess {
 public:
  // Starts `command_line` (the program's path quoted where it has blanks).
  explicit ChildProcess(const std::wstring& command_line);
  ~ChildProcess();  // closes the input, ends the process if it still runs
  ChildProcess(const ChildProcess&) = delete;
  ChildProcess& operator=(const ChildProcess&) = delete;

  bool started() const { return process_.hProcess != nullptr; }
  DWORD start_error() const { return start_error_; }  // GetLastError of a failed start
  void Write(const std::string& text);
  void CloseInput();
  // True once the output holds `text`.
  bool WaitForOutput(const std::string& text, DWORD timeout_ms);
  // The exit code, or -1 when it was not started or did not end in time (it is then ended).
  int Wait(DWORD timeout_ms);
  // What it printed so far (standard output and error in the order they came), as written.
  std::string output() const;

 private:
  void Collect();

  PROCESS_INFORMATION process_{};
  DWORD start_error_ = 0;
  HANDLE input_ = nullptr;
  HANDLE output_ = nullptr;
  std::thread reader_;
  mutable std::mutex mutex_;
  std::string text_;
};

struct RunResult {
  int exit_code = -1;  // -1: not started, or did not end in time
  std::string output;
};

// Runs `command_line` to its end with `input` on its standard input. Now and then Wine fails to
// start a process: it then ends at once with an error code before printing anything. A run that
// failed that way (ended in time, nothing printed, exit code not 0) is made once more, and a
// line on stderr says so; a program that fails without a word is therefore run twice.
RunResult RunToEnd(const std::wstring& command_line, const std::string& input = {},
                   DWORD timeout_ms = 60000);

// The text with CR LF line ends turned into "\n" (what a program prints in text mode).
std::string WithoutCarriageReturns(const std::string& text);

}  // namespace quill::test
