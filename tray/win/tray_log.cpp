#include "tray/win/tray_log.h"

#include <windows.h>

#include "winsupport/handles.h"

namespace quill::tray {

TrayLog::TrayLog() {
  wchar_t buffer[MAX_PATH];
  const DWORD n = GetEnvironmentVariableW(L"QUILLFERN_TRAY_LOG", buffer, MAX_PATH);
  if (n > 0 && n < MAX_PATH) path_.assign(buffer, n);
}

void TrayLog::Line(std::u16string_view text) const {
  if (path_.empty()) return;
  const win::FileHandle file(CreateFileW(path_.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                         nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return;
  std::string utf8;
  const int units = static_cast<int>(text.size());
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int bytes = units ? WideCharToMultiByte(CP_UTF8, 0, wide, units, nullptr, 0, nullptr, nullptr) : 0;
  utf8.resize(static_cast<size_t>(bytes));
  if (bytes) WideCharToMultiByte(CP_UTF8, 0, wide, units, utf8.data(), bytes, nullptr, nullptr);
  utf8 += '\n';
  std::string lines;   // every line ends in CR LF
  for (char c : utf8) {
    if (c == '\n') lines += '\r';
    lines += c;
  }
  utf8 = std::move(lines);
  DWORD written = 0;
  WriteFile(file.Get(), utf8.data(), static_cast<DWORD>(utf8.size()), &written, nullptr);
}

}  // namespace quill::tray
