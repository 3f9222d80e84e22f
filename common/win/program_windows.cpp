#include "common/win/program_windows.h"

#include <string>

#include "common/tray_protocol.h"

namespace quill::win {
namespace {

const wchar_t* Wide(std::u16string_view text) { return reinterpret_cast<const wchar_t*>(text.data()); }

bool HasText(HWND window, std::u16string_view text) {
  wchar_t buffer[260];
  const int n = GetWindowTextW(window, buffer, 260);
  return n >= 0 && static_cast<size_t>(n) == text.size() &&
         std::u16string_view(reinterpret_cast<const char16_t*>(buffer), static_cast<size_t>(n)) == text;
}

struct Search {
  std::u16string_view text;
  HWND found = nullptr;
};

BOOL CALLBACK MatchWindow(HWND window, LPARAM param) {
  auto* search = reinterpret_cast<Search*>(param);
  if (HasText(window, search->text)) {
    search->found = window;
    return FALSE;
  }
  return TRUE;
}

BOOL CALLBACK SearchChildren(HWND top, LPARAM param) {
  EnumChildWindows(top, MatchWindow, param);
  return reinterpret_cast<Search*>(param)->found ? FALSE : TRUE;
}

}  // namespace

HWND FindTrayWindow() {
  const std::u16string cls(tray::kTrayWindowClass), title(tray::kTrayWindowTitle);
  return FindWindowW(Wide(cls), Wide(title));
}

HWND FindWindowByExactTitle(std::u16string_view title) {
  const std::u16string text(title);
  Search search{text};
  EnumChildWindows(GetDesktopWindow(), MatchWindow, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

HWND FindConfiguratorMarker() {
  Search search{tray::kConfiguratorMarker};
  EnumWindows(SearchChildren, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

namespace {

// Dispatches every message waiting for this thread; false when WM_QUIT came (posted again).
bool DispatchWaiting() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      PostQuitMessage(static_cast<int>(msg.wParam));
      return false;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return true;
}

}  // namespace

bool PumpingWait(DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  for (;;) {
    if (!DispatchWaiting()) return false;
    const ULONGLONG now = GetTickCount64();
    if (now >= end) return true;
    MsgWaitForMultipleObjectsEx(0, nullptr, static_cast<DWORD>(end - now), QS_ALLINPUT, MWMO_INPUTAVAILABLE);
  }
}

bool PumpingWaitFor(HANDLE object, DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  for (;;) {
    if (!DispatchWaiting()) return false;
    const ULONGLONG now = GetTickCount64();
    if (milliseconds != INFINITE && now >= end) return WaitForSingleObject(object, 0) == WAIT_OBJECT_0;
    const DWORD wait = milliseconds == INFINITE ? INFINITE : static_cast<DWORD>(end - now);
    const DWORD r = MsgWaitForMultipleObjectsEx(1, &object, wait, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (r == WAIT_OBJECT_0) return true;
    if (r == WAIT_FAILED) return false;
  }
}

}  // namespace quill::win
