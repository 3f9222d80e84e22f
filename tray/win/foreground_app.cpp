#include "tray/win/foreground_app.h"

#include <windows.h>
#include <tlhelp32.h>

#include "winsupport/handles.h"

namespace quill::tray {

std::u16string ForegroundExecutable() {
  HWND window = GetForegroundWindow();
  if (!window) return {};
  DWORD processId = 0;
  GetWindowThreadProcessId(window, &processId);
  if (!processId) return {};
  const win::FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return {};
  std::u16string name;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more; more = Process32NextW(snapshot.Get(), &entry)) {
    if (entry.th32ProcessID == processId) {
      const size_t n = wcsnlen(entry.szExeFile, MAX_PATH);
      name.assign(reinterpret_cast<const char16_t*>(entry.szExeFile), n);
      break;
    }
  }
  return name;
}

}  // namespace quill::tray
