// The client in a process of its own, for the end-to-end tests: run to the end, or started and
// watched while the test acts (standard input a pipe of the test's, output collected as it comes).
#pragma once
#include <windows.h>

#include <mutex>
#include <string>
#include <thread>

namespace quill::cli::test {

// Folder of the test executable, where QuillfernCli.exe is built.
std::wstring ClientPath();

class ClientProcess {
 public:
  // Starts QuillfernCli.exe with `arguments`; started() tells whether it runs.
  explicit ClientProcess(const std::wstring& arguments);
  ~ClientProcess();  // closes the input, ends the process (by its handle) if it still runs
  ClientProcess(const ClientProcess&) = delete;
  ClientProcess& operator=(const ClientProcess&) = delete;

  bool started() const { return process_.hProcess != nullptr; }
  void Write(const std::string& text);
  void CloseInput();
  // True once the output (standard output and error together) holds `text`.
  bool WaitForOutput(const std::string& text, DWORD timeout_ms);
  // The exit code, or -1 when it did not end in time (it is then ended).
  int Wait(DWORD timeout_ms);
  // What it printed so far, line ends as "\n".
  std::string output() const;

 private:
  void Collect();

  PROCESS_INFORMATION process_{};
  HANDLE input_ = nullptr;
  HANDLE output_ = nullptr;
  std::thread reader_;
  mutable std::mutex mutex_;
  std::string text_;
};

// Runs the client to its end with `input` on standard input; exit code and output.
int RunClient(const std::wstring& arguments, const std::string& input, std::string& output,
              DWORD timeout_ms = 60000);

}  // namespace quill::cli::test
