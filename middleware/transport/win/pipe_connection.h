// Client end of one connection to the emulator's named pipe (message mode).
#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "middleware/transport/pipe_wire.h"

namespace quill::emu {

// "\\.\pipe\" + name, unless `name` already is a full pipe path.
std::wstring FullPipeName(const std::u16string& name);
std::u16string ToU16(const std::wstring& text);
std::wstring ToWide(const std::u16string& text);

// Both ends open the pipe for overlapped I/O, so that every wait has a limit.
constexpr DWORD kPipeReplyTimeoutMs = 15000;

// Reads one whole message from a message-mode pipe handle opened with FILE_FLAG_OVERLAPPED
// (several reads when it is longer than the buffer). Nothing when the read fails, takes
// longer than `timeout_ms` (INFINITE: no limit) or the message exceeds `limit`.
std::optional<std::vector<uint8_t>> ReadPipeMessage(HANDLE pipe, size_t limit, DWORD timeout_ms);
bool WritePipeMessage(HANDLE pipe, const std::vector<uint8_t>& message, DWORD timeout_ms);

class PipeConnection {
 public:
  // Connects; waits up to `wait_ms` while every pipe instance is busy. Fails at once when
  // no server has the pipe.
  static std::unique_ptr<PipeConnection> Connect(const std::wstring& full_name, DWORD wait_ms = 3000);
  ~PipeConnection();
  PipeConnection(const PipeConnection&) = delete;
  PipeConnection& operator=(const PipeConnection&) = delete;

  // One request, its reply; nothing when the pipe broke.
  std::optional<std::vector<uint8_t>> Transact(const std::vector<uint8_t>& request);

 private:
  explicit PipeConnection(HANDLE pipe) : pipe_(pipe) {}
  HANDLE pipe_;
};

}  // namespace quill::emu
