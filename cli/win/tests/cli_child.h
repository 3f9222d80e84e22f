// The client in a process of its own, for the end-to-end tests: run to the end, or started and
// watched while the test acts (standard input a pipe of the test's, output collected as it comes).
#pragma once
#include <windows.h>

#include <string>

#include "emulator/win/child_process.h"

namespace quill::cli::test {

// QuillfernCli.exe in the folder of the test executable, where it is built.
std::wstring ClientPath();

class ClientProcess {
 public:
  // Starts QuillfernCli.exe with `arguments`; started() tells whether it runs.
  explicit ClientProcess(const std::wstring& arguments);

  bool started() const { return child_.started(); }
  void Write(const std::string& text) { child_.Write(text); }
  void CloseInput() { child_.CloseInput(); }
  // True once the output (standard output and error together) holds `text`.
  bool WaitForOutput(const std::string& text, DWORD timeout_ms) {
    return child_.WaitForOutput(text, timeout_ms);
  }
  // The exit code, or -1 when it did not end in time (it is then ended).
  int Wait(DWORD timeout_ms) { return child_.Wait(timeout_ms); }
  // What it printed so far, line ends as "\n".
  std::string output() const { return quill::test::WithoutCarriageReturns(child_.output()); }

 private:
  quill::test::ChildProcess child_;
};

// Runs the client to its end with `input` on standard input; exit code and output, line ends
// as "\n". A run that Wine failed to start is made once more (quill::test::RunToEnd).
int RunClient(const std::wstring& arguments, const std::string& input, std::string& output,
              DWORD timeout_ms = 60000);

}  // namespace quill::cli::test
