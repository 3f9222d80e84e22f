#include "middleware/transport/win/pipe_connection.h"

#include <memory>

namespace quill::emu {

std::u16string ToU16(const std::wstring& text) { return std::u16string(text.begin(), text.end()); }
std::wstring ToWide(const std::u16string& text) { return std::wstring(text.begin(), text.end()); }

std::wstring FullPipeName(const std::u16string& name) {
  const std::wstring wide = ToWide(name);
  if (wide.rfind(L"\\\\.\\pipe\\", 0) == 0) return wide;
  return L"\\\\.\\pipe\\" + wide;
}

namespace {

// One overlapped transfer, waited for at most `timeout_ms`; a transfer that times out is
// cancelled. Returns the Windows error (0 = done) and the byte count.
DWORD Transfer(HANDLE pipe, bool write, void* buffer, DWORD size, DWORD timeout_ms, DWORD& done) {
  OVERLAPPED ov{};
  ov.hEvent = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  if (!ov.hEvent) return GetLastError();
  done = 0;
  const BOOL finished = write ? WriteFile(pipe, buffer, size, nullptr, &ov) : ReadFile(pipe, buffer, size, nullptr, &ov);
  DWORD error = finished ? 0 : GetLastError();
  if (error == ERROR_IO_PENDING) {
    if (WaitForSingleObject(ov.hEvent, timeout_ms) != WAIT_OBJECT_0) {
      CancelIoEx(pipe, &ov);
      GetOverlappedResult(pipe, &ov, &done, TRUE);
      CloseHandle(ov.hEvent);
      return ERROR_TIMEOUT;
    }
    error = 0;
  }
  if (error == 0 || error == ERROR_MORE_DATA) {
    if (!GetOverlappedResult(pipe, &ov, &done, TRUE)) error = GetLastError();
  }
  CloseHandle(ov.hEvent);
  return error;
}

}  // namespace

std::optional<std::vector<uint8_t>> ReadPipeMessage(HANDLE pipe, size_t limit, DWORD timeout_ms) {
  std::vector<uint8_t> message;
  uint8_t buffer[16384];
  for (;;) {
    DWORD read = 0;
    const DWORD error = Transfer(pipe, false, buffer, sizeof buffer, timeout_ms, read);
    if (error != 0 && error != ERROR_MORE_DATA) return std::nullopt;
    if (message.size() + read > limit) return std::nullopt;
    message.insert(message.end(), buffer, buffer + read);
    if (error == 0) return message;
  }
}

bool WritePipeMessage(HANDLE pipe, const std::vector<uint8_t>& message, DWORD timeout_ms) {
  if (message.size() > MAXDWORD) return false;
  DWORD written = 0;
  return Transfer(pipe, true, const_cast<uint8_t*>(message.data()), static_cast<DWORD>(message.size()), timeout_ms,
                  written) == 0 &&
         written == message.size();
}

std::unique_ptr<PipeConnection> PipeConnection::Connect(const std::wstring& full_name, DWORD wait_ms) {
  const DWORD start = GetTickCount();
  for (;;) {
    HANDLE pipe = CreateFileW(full_name.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                              FILE_FLAG_OVERLAPPED, nullptr);
    if (pipe != INVALID_HANDLE_VALUE) {
      DWORD mode = PIPE_READMODE_MESSAGE;
      if (!SetNamedPipeHandleState(pipe, &mode, nullptr, nullptr)) {
        CloseHandle(pipe);
        return nullptr;
      }
      return std::unique_ptr<PipeConnection>(new PipeConnection(pipe));
    }
    if (GetLastError() != ERROR_PIPE_BUSY) return nullptr;
    const DWORD spent = GetTickCount() - start;
    if (spent >= wait_ms) return nullptr;
    WaitNamedPipeW(full_name.c_str(), wait_ms - spent);
  }
}

PipeConnection::~PipeConnection() { CloseHandle(pipe_); }

std::optional<std::vector<uint8_t>> PipeConnection::Transact(const std::vector<uint8_t>& request) {
  if (!WritePipeMessage(pipe_, request, kPipeReplyTimeoutMs)) return std::nullopt;
  return ReadPipeMessage(pipe_, kMaxPipeMessage, kPipeReplyTimeoutMs);
}

}  // namespace quill::emu
