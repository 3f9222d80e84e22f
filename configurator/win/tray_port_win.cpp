#include "configurator/win/tray_port_win.h"

#include <shellapi.h>

#include "common/win/program_windows.h"

namespace quill::cfg::win {

TrayWindow WinTrayPort::FindTray() { return reinterpret_cast<TrayWindow>(quill::win::FindTrayWindow()); }

std::optional<uint64_t> WinTrayPort::SendToTray(TrayWindow window, uint32_t message, uint32_t timeoutMs) {
  DWORD_PTR reply = 0;
  if (!window || !SendMessageTimeoutW(reinterpret_cast<HWND>(window), message, 0, 0, SMTO_ABORTIFHUNG, timeoutMs, &reply))
    return std::nullopt;
  return static_cast<uint64_t>(reply);
}

void WinTrayPort::LaunchTray() {
  std::u16string current;
  wchar_t buffer[MAX_PATH];
  const DWORD n = GetCurrentDirectoryW(MAX_PATH, buffer);
  if (n > 0 && n < MAX_PATH) current.assign(reinterpret_cast<const char16_t*>(buffer), n);
  const TrayLaunch launch = TrayProgramLaunch(installFolder_, current);
  ShellExecuteW(nullptr, L"open", reinterpret_cast<const wchar_t*>(launch.program.c_str()), nullptr,
                reinterpret_cast<const wchar_t*>(launch.workingFolder.c_str()), SW_SHOW);
}

void PumpingClock::Sleep(uint32_t ms) { quill::win::PumpingWait(ms); }

}  // namespace quill::cfg::win
