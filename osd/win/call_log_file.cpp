#include "osd/win/call_log_file.h"

#include <windows.h>

#include <string>

namespace quill::osd {

void WriteLogLine(const LogLine& line) {
  wchar_t path[MAX_PATH * 2];
  const DWORD length = GetEnvironmentVariableW(L"QUILLFERN_OSD_LOG", path, static_cast<DWORD>(std::size(path)));
  if (length == 0 || length >= std::size(path)) return;
  HANDLE file = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return;
  const std::string text = line.str() + "\n";
  DWORD written = 0;
  WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
  CloseHandle(file);
}

}  // namespace quill::osd
