#include "emulator/win/pipe_server.h"

#include <windows.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <mutex>
#include <thread>

#include "emulator/control_commands.h"
#include "emulator/pipe_protocol.h"
#include "emulator/quillfern_model.h"
#include "emulator/state_file.h"
#include "emulator/win/keystroke.h"
#include "middleware/transport/win/pipe_connection.h"

namespace quill::emu {
namespace {

constexpr DWORD kPipeBuffer = 65536;
constexpr size_t kMaxRequest = 1u << 20;

class Server {
 public:
  Server(const ServeOptions& options, QuillfernModel& model) : options_(options), model_(model) {}

  void SaveIfChanged() {
    if (options_.state_file.empty()) return;
    std::lock_guard lock(save_mutex_);
    const uint64_t version = model_.StateVersion();
    if (version == saved_version_) return;
    std::string error;
    if (SaveStateFile(std::filesystem::path(options_.state_file), model_.State(), &error)) {
      saved_version_ = version;
    } else {
      std::fprintf(stderr, "error: %s\n", error.c_str());
    }
  }
  void MarkSaved() { saved_version_ = model_.StateVersion(); }

  int Run() {
    HANDLE parent = nullptr;
    if (options_.parent_pid) {
      parent = OpenProcess(SYNCHRONIZE, FALSE, options_.parent_pid);
      if (!parent) {
        std::fprintf(stderr, "error: parent process %lu not found\n", options_.parent_pid);
        return 2;
      }
    }
    HANDLE pipe = CreateInstance(true);
    if (pipe == INVALID_HANDLE_VALUE) {
      std::fprintf(stderr, "error: cannot create pipe %ls (error %lu)\n", options_.pipe_name.c_str(), GetLastError());
      return 3;
    }
    std::printf("ready pipe=%ls pid=%lu state=%ls\n", options_.pipe_name.c_str(), GetCurrentProcessId(),
                options_.state_file.empty() ? L"(memory)" : options_.state_file.c_str());
    std::fflush(stdout);
    int code = 0;
    for (;;) {
      const Wait wait = WaitForClient(pipe, parent);
      if (wait == Wait::kQuit || wait == Wait::kParentGone) break;
      // The next instance exists before this one can go away, so that a client never finds
      // the pipe missing between two connections.
      HANDLE next = CreateInstance(false);
      for (unsigned attempt = 0; next == INVALID_HANDLE_VALUE && attempt < 100; ++attempt) {
        Sleep(20);
        next = CreateInstance(false);
      }
      if (wait == Wait::kConnected) {
        // Connection threads end with their client; at quit the process ends with them.
        std::thread([this, pipe] { ServeConnection(pipe); }).detach();
      } else {
        CloseHandle(pipe);
      }
      if (next == INVALID_HANDLE_VALUE) {
        std::fprintf(stderr, "error: cannot create another instance of pipe %ls (error %lu)\n",
                     options_.pipe_name.c_str(), GetLastError());
        code = 3;
        pipe = INVALID_HANDLE_VALUE;
        break;
      }
      pipe = next;
    }
    if (pipe != INVALID_HANDLE_VALUE) CloseHandle(pipe);
    if (parent) CloseHandle(parent);
    SaveIfChanged();
    std::printf("stopped\n");
    std::fflush(stdout);
    return code;
  }

 private:
  enum class Wait { kConnected, kFailed, kQuit, kParentGone };

  HANDLE CreateInstance(bool first) {
    return CreateNamedPipeW(options_.pipe_name.c_str(),
                            PIPE_ACCESS_DUPLEX | FILE_FLAG_OVERLAPPED | (first ? FILE_FLAG_FIRST_PIPE_INSTANCE : 0),
                            PIPE_TYPE_MESSAGE | PIPE_READMODE_MESSAGE | PIPE_WAIT | PIPE_REJECT_REMOTE_CLIENTS,
                            PIPE_UNLIMITED_INSTANCES, kPipeBuffer, kPipeBuffer, 0, nullptr);
  }

  // Waits for a client on `pipe`, for "quit" and for the end of the parent process. Every
  // 50 ms the instance is also asked whether a client is there: a connection that arrives
  // just as the wait starts is not always reported by the connect call alone.
  Wait WaitForClient(HANDLE pipe, HANDLE parent) {
    OVERLAPPED ov{};
    ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    if (!ov.hEvent) return Wait::kFailed;
    Wait result = Wait::kFailed;
    if (ConnectNamedPipe(pipe, &ov)) {
      result = Wait::kConnected;
    } else if (GetLastError() == ERROR_PIPE_CONNECTED) {
      result = Wait::kConnected;
    } else if (GetLastError() == ERROR_IO_PENDING) {
      HANDLE handles[3] = {ov.hEvent, quit_event_, parent};
      const DWORD count = parent ? 3 : 2;
      for (;;) {
        const DWORD w = WaitForMultipleObjects(count, handles, FALSE, 50);
        DWORD ignored = 0;
        if (w == WAIT_OBJECT_0) {
          result = GetOverlappedResult(pipe, &ov, &ignored, FALSE) || GetLastError() == ERROR_PIPE_CONNECTED
                       ? Wait::kConnected : Wait::kFailed;
          break;
        }
        const bool client_there = w == WAIT_TIMEOUT && PeekNamedPipe(pipe, nullptr, 0, nullptr, nullptr, nullptr);
        if (w == WAIT_TIMEOUT && !client_there) continue;
        CancelIoEx(pipe, &ov);
        GetOverlappedResult(pipe, &ov, &ignored, TRUE);
        result = client_there ? Wait::kConnected : w == WAIT_OBJECT_0 + 1 ? Wait::kQuit
                 : w == WAIT_OBJECT_0 + 2 ? Wait::kParentGone : Wait::kFailed;
        break;
      }
    }
    CloseHandle(ov.hEvent);
    if (result != Wait::kQuit && WaitForSingleObject(quit_event_, 0) == WAIT_OBJECT_0) {
      if (result == Wait::kConnected) DisconnectNamedPipe(pipe);
      result = Wait::kQuit;
    }
    return result;
  }

  void ServeConnection(HANDLE pipe) {
    ULONG pid = 0;
    GetNamedPipeClientProcessId(pipe, &pid);
    PipeSession session(model_, pid);
    bool quit = false;
    while (!quit) {
      const std::optional<std::vector<uint8_t>> request = ReadPipeMessage(pipe, kMaxRequest, INFINITE);
      if (!request) break;
      const std::vector<uint8_t> reply = session.Handle(*request, quit);
      SaveIfChanged();
      if (!WritePipeMessage(pipe, reply, kPipeReplyTimeoutMs)) break;
    }
    if (quit) {
      FlushFileBuffers(pipe);
      SetEvent(quit_event_);
    }
    DisconnectNamedPipe(pipe);
    CloseHandle(pipe);
  }

  const ServeOptions& options_;
  QuillfernModel& model_;
  std::mutex save_mutex_;
  uint64_t saved_version_ = ~uint64_t{0};
  HANDLE quit_event_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
};

}  // namespace

int Serve(const ServeOptions& options) {
  // A pipe that already answers belongs to another emulator (the first-instance flag alone
  // is not enough everywhere).
  if (PipeConnection::Connect(options.pipe_name, 500)) {
    std::fprintf(stderr, "error: pipe %ls is already served\n", options.pipe_name.c_str());
    return 3;
  }
  DeviceState state = DeviceState::Factory();
  bool from_file = false;
  if (!options.state_file.empty() && std::filesystem::exists(std::filesystem::path(options.state_file))) {
    const StateParseResult loaded = LoadStateFile(std::filesystem::path(options.state_file));
    if (!loaded.ok) {
      std::fprintf(stderr, "error: %s\n", loaded.error.c_str());
      return 2;
    }
    state = loaded.state;
    from_file = true;
  }
  QuillfernModel model(state);
  if (options.path_length) model.SetDevicePath(QuillfernModel::MakeDevicePath(1, options.path_length));
  if (options.keystrokes) model.SetKeystrokeCallback([] { SendF20Keystroke(); });
  Server server(options, model);
  if (from_file) server.MarkSaved();
  server.SaveIfChanged();  // a new state file is written at once
  return server.Run();
}

}  // namespace quill::emu
