#include "emulator/win/emulator_process.h"

#include <atomic>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "emulator/win/control_client.h"
#include "middleware/transport/win/pipe_connection.h"
#include "middleware/typelib/quillfern_ids.h"

namespace quill::emu {
namespace {

std::atomic<unsigned> g_counter{0};

std::wstring TempFolder() {
  wchar_t buffer[MAX_PATH + 1];
  const DWORD n = GetTempPathW(MAX_PATH + 1, buffer);
  return n && n <= MAX_PATH ? std::wstring(buffer, n) : L".\\";
}

std::wstring Quoted(const std::wstring& s) { return L"\"" + s + L"\""; }

}  // namespace

std::wstring EmulatorProcess::ExecutableFolder() {
  wchar_t buffer[32768];
  const DWORD n = GetModuleFileNameW(nullptr, buffer, 32768);
  std::wstring path(buffer, n);
  const size_t slash = path.find_last_of(L"\\/");
  return slash == std::wstring::npos ? L"." : path.substr(0, slash);
}

EmulatorProcess::EmulatorProcess(const EmulatorOptions& options) {
  const std::wstring unique = std::to_wstring(GetCurrentProcessId()) + L"-" + std::to_wstring(GetTickCount()) + L"-" +
                              std::to_wstring(++g_counter);
  pipe_name_ = ToU16(L"quillfern-emu-" + unique);
  remove_state_ = options.state_file.empty();
  state_file_ = remove_state_ ? TempFolder() + L"quillfern-emu-" + unique + L".state" : options.state_file;
  output_file_ = TempFolder() + L"quillfern-emu-" + unique + L".out";
  if (!options.initial_state.empty()) {
    std::ofstream out(std::filesystem::path(state_file_), std::ios::binary);
    out << options.initial_state;
  }

  std::wstring command = Quoted(ExecutableFolder() + L"\\QuillfernEmulator.exe") + L" serve --pipe " +
                         ToWide(pipe_name_) + L" --state " + Quoted(state_file_);
  if (options.path_length) command += L" --path-length " + std::to_wstring(options.path_length);
  if (!options.keystrokes) command += L" --no-keys";
  // The server also ends (saving its state) when this process ends without stopping it.
  command += L" --parent " + std::to_wstring(GetCurrentProcessId());

  SECURITY_ATTRIBUTES sa{sizeof sa, nullptr, TRUE};
  HANDLE output = CreateFileW(output_file_.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &sa,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  si.dwFlags = STARTF_USESTDHANDLES;
  si.hStdInput = nullptr;
  si.hStdOutput = output;
  si.hStdError = output;
  BOOL started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr,
                                &si, &process_);
  if (!started) {
    // Now and then Wine fails to start a process (ERROR_INTERNAL_ERROR); the next try works.
    Sleep(200);
    started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si,
                             &process_);
  }
  if (output != INVALID_HANDLE_VALUE) CloseHandle(output);
  if (!started) {
    error_ = "cannot start QuillfernEmulator.exe: error " + std::to_string(GetLastError());
    return;
  }
  process_id_ = process_.dwProcessId;
  const std::wstring full = FullPipeName(pipe_name_);
  for (DWORD start = GetTickCount(); GetTickCount() - start < 10000;) {
    if (WaitForSingleObject(process_.hProcess, 0) == WAIT_OBJECT_0) {
      error_ = "QuillfernEmulator.exe ended at start: " + ServerOutput();
      return;
    }
    if (WaitNamedPipeW(full.c_str(), 50)) {
      running_ = true;
      return;
    }
    Sleep(20);
  }
  error_ = "QuillfernEmulator.exe did not open its pipe within 10 s";
}

EmulatorProcess::~EmulatorProcess() {
  if (process_.hProcess) {
    if (!Stop()) {
      TerminateProcess(process_.hProcess, 1);
      WaitForSingleObject(process_.hProcess, 5000);
    }
    CloseHandle(process_.hThread);
    CloseHandle(process_.hProcess);
  }
  if (environment_set_) {
    const std::wstring name = std::wstring(kEmulatorVariable);
    SetEnvironmentVariableW(name.c_str(), had_environment_ ? saved_environment_.c_str() : nullptr);
  }
  if (remove_state_) {
    DeleteFileW(state_file_.c_str());
    DeleteFileW((state_file_ + L".tmp").c_str());
  }
  DeleteFileW(output_file_.c_str());
}

bool EmulatorProcess::Stop() {
  if (!process_.hProcess) return false;
  if (WaitForSingleObject(process_.hProcess, 0) != WAIT_OBJECT_0) SendControl(pipe_name_, "quit");
  running_ = false;
  return WaitForSingleObject(process_.hProcess, 5000) == WAIT_OBJECT_0;
}

EmulatorProcess::CtlResult EmulatorProcess::Ctl(const std::string& command) {
  CtlResult result;
  const std::optional<ControlReply> reply = SendControl(pipe_name_, command);
  if (!reply) {
    result.exit_code = 3;
    result.output = "error: no emulator answers\n";
    return result;
  }
  result.exit_code = reply->ok ? 0 : 1;
  result.output = reply->output;
  return result;
}

EmulatorProcess::CtlResult EmulatorProcess::RunTool(const std::wstring& arguments) {
  return test::RunToEnd(Quoted(ExecutableFolder() + L"\\QuillfernEmulator.exe") + L" " + arguments, {}, 20000);
}

EmulatorProcess::CtlResult EmulatorProcess::RunCtlTool(const std::wstring& arguments) {
  return RunTool(L"ctl --pipe " + ToWide(pipe_name_) + L" " + arguments);
}

void EmulatorProcess::SetEnvironment() {
  const std::wstring name = std::wstring(kEmulatorVariable);
  if (!environment_set_) {
    wchar_t buffer[512];
    const DWORD n = GetEnvironmentVariableW(name.c_str(), buffer, 512);
    had_environment_ = n > 0 && n < 512;
    if (had_environment_) saved_environment_.assign(buffer, n);
    environment_set_ = true;
  }
  SetEnvironmentVariableW(name.c_str(), ToWide(pipe_name_).c_str());
}

std::string EmulatorProcess::ServerOutput() const {
  std::ifstream in(std::filesystem::path(output_file_), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace quill::emu
