// What the commands share: usage errors and failures in one form, names for the mouse.
#include <cstdio>

#include "cli/win/commands.h"

namespace quill::cli {

const Command* FindCommand(const std::string& name) {
  for (const Command& c : AllCommands())
    if (name == c.name) return &c;
  return nullptr;
}

int UsageError(Output& out, const char* command, const std::string& message) {
  const Command* c = FindCommand(command);
  out.Error(message + (c ? std::string("; usage: QuillfernCli ") + c->usage : std::string()));
  return kExitUsage;
}

int Failure(Output& out, const std::string& what, HRESULT hr) {
  out.Error(what + " (" + DescribeResult(hr) + ")");
  return kExitFailed;
}

std::wstring WideFromUtf8(const std::string& text) {
  if (text.empty()) return {};
  const int n = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
  std::wstring wide(static_cast<size_t>(n > 0 ? n : 0), L'\0');
  if (n > 0) MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(), n);
  return wide;
}

std::string CheckDeviceName(const std::string& name, std::wstring& wide) {
  wide = WideFromUtf8(name);
  if (wide.empty()) return "the name is empty";
  // 40 bytes on the mouse, the terminator included.
  if (wide.size() > 19) return "'" + name + "' is longer than the mouse's 19 characters";
  for (wchar_t c : wide)
    if (c < 0x20) return "the name holds a control character";
  return {};
}

bool ReadInput(const std::string& path, size_t limit, std::string& text, std::string& error) {
  HANDLE file = path == "-" ? GetStdHandle(STD_INPUT_HANDLE)
                            : CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE || file == nullptr) {
    error = "cannot open " + (path == "-" ? std::string("standard input") : "'" + path + "'") + " (" +
            DescribeResult(HRESULT_FROM_WIN32(GetLastError())) + ")";
    return false;
  }
  text.clear();
  char buffer[4096];
  bool ok = true;
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
      const DWORD code = GetLastError();
      if (code == ERROR_BROKEN_PIPE || code == ERROR_HANDLE_EOF) break;  // the writer is done
      error = "cannot read " + path + " (" + DescribeResult(HRESULT_FROM_WIN32(code)) + ")";
      ok = false;
      break;
    }
    if (got == 0) break;
    if (text.size() + got > limit) {
      error = (path == "-" ? std::string("standard input") : "'" + path + "'") + " is larger than " +
              std::to_string(limit) + " bytes";
      ok = false;
      break;
    }
    text.append(buffer, got);
  }
  if (path != "-") CloseHandle(file);
  return ok;
}

}  // namespace quill::cli
