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

}  // namespace quill::cli
