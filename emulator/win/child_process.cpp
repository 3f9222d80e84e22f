#include "emulator/win/child_process.h"

#include <cstdio>

namespace quill::test {

ChildProcess::ChildProcess(const std::wstring& command_line) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE child_in = nullptr, child_out = nullptr;
  if (!CreatePipe(&child_in, &input_, &inherit, 0)) {
    start_error_ = GetLastError();
    return;
  }
  if (!CreatePipe(&output_, &child_out, &inherit, 0)) {
    start_error_ = GetLastError();
    CloseHandle(child_in);
    return;
  }
  SetHandleInformation(input_, HANDLE_FLAG_INHERIT, 0);
  SetHandleInformation(output_, HANDLE_FLAG_INHERIT, 0);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = child_in;
  startup.hStdOutput = child_out;
  startup.hStdError = child_out;
  std::wstring line = command_line;
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr, nullptr, &startup,
                      &process_)) {
    start_error_ = GetLastError();
    process_ = {};
  }
  CloseHandle(child_in);
  CloseHandle(child_out);
  // Read on a thread of its own, so that a child that fills the pipe never blocks.
  if (started()) reader_ = std::thread([this] { Collect(); });
}

ChildProcess::~ChildProcess() {
  CloseInput();
  if (process_.hProcess && WaitForSingleObject(process_.hProcess, 0) != WAIT_OBJECT_0) {
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 5000);
  }
  if (reader_.joinable()) reader_.join();
  if (output_) CloseHandle(output_);
  if (process_.hThread) CloseHandle(process_.hThread);
  if (process_.hProcess) CloseHandle(process_.hProcess);
}

// Reads what has arrived until the pipe breaks or the child has ended and nothing more is
// waiting. It never waits for the end of the pipe after the child ended: a process the child
// started (Wine's console host, a service) may hold the pipe's other end for longer.
void ChildProcess::Collect() {
  char buffer[4096];
  bool ended = false;
  for (;;) {
    DWORD available = 0;
    if (!PeekNamedPipe(output_, nullptr, 0, nullptr, &available, nullptr)) return;  // broken
    if (available == 0) {
      if (ended) return;
      // Once ended, what it wrote before it ended is in the pipe: one more look, then stop.
      ended = WaitForSingleObject(process_.hProcess, 5) == WAIT_OBJECT_0;
      continue;
    }
    DWORD got = 0;
    const DWORD wanted = available < sizeof buffer ? available : static_cast<DWORD>(sizeof buffer);
    if (!ReadFile(output_, buffer, wanted, &got, nullptr) || got == 0) return;
    std::lock_guard<std::mutex> lock(mutex_);
    text_.append(buffer, got);
  }
}

void ChildProcess::Write(const std::string& text) {
  DWORD written = 0;
  if (input_ && !text.empty())
    WriteFile(input_, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void ChildProcess::CloseInput() {
  if (input_) CloseHandle(input_);
  input_ = nullptr;
}

bool ChildProcess::WaitForOutput(const std::string& text, DWORD timeout_ms) {
  const ULONGLONG deadline = GetTickCount64() + timeout_ms;
  do {
    if (output().find(text) != std::string::npos) return true;
    Sleep(10);
  } while (GetTickCount64() < deadline);
  return output().find(text) != std::string::npos;
}

int ChildProcess::Wait(DWORD timeout_ms) {
  if (!process_.hProcess) return -1;
  if (WaitForSingleObject(process_.hProcess, timeout_ms) != WAIT_OBJECT_0) {
    TerminateProcess(process_.hProcess, 1);
    WaitForSingleObject(process_.hProcess, 5000);
    return -1;
  }
  DWORD code = 0;
  GetExitCodeProcess(process_.hProcess, &code);
  if (reader_.joinable()) reader_.join();  // all it printed has arrived
  return static_cast<int>(code);
}

std::string ChildProcess::output() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return text_;
}

RunResult RunToEnd(const std::wstring& command_line, const std::string& input, DWORD timeout_ms) {
  RunResult result;
  for (int attempt = 1;; ++attempt) {
    const ULONGLONG start = GetTickCount64();
    ChildProcess child(command_line);
    if (!child.started()) {
      result.exit_code = -1;
      result.output = "cannot start: error " + std::to_string(child.start_error());
      return result;
    }
    child.Write(input);
    child.CloseInput();
    result.exit_code = child.Wait(timeout_ms);
    result.output = child.output();
    const bool ended_in_time = GetTickCount64() - start < timeout_ms;
    if (attempt == 1 && ended_in_time && result.output.empty() && result.exit_code != 0) {
      std::fprintf(stderr, "%ls ended with %d before printing anything; started once more\n",
                   command_line.c_str(), result.exit_code);
      continue;
    }
    return result;
  }
}

std::string WithoutCarriageReturns(const std::string& text) {
  std::string lines;
  lines.reserve(text.size());
  for (size_t i = 0; i < text.size(); ++i)
    if (!(text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n')) lines += text[i];
  return lines;
}

}  // namespace quill::test
