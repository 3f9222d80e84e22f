// configurator_stand_in.exe: what the tray needs of the configuration application, for tests
// (copied into an install folder as QuillfernCfg.exe): a main window holding the marker button
// "memu_Fenn_2", answering UM_PING, ending on WM_CLOSE. It writes "started <folder>" with its
// working folder and "closed" to the file named by QUILLFERN_STAND_IN_LOG.
#include <windows.h>

#include <string>

namespace {

constexpr UINT kPing = WM_USER + 301;

void Note(const std::wstring& line) {
  wchar_t path[MAX_PATH];
  if (!GetEnvironmentVariableW(L"QUILLFERN_STAND_IN_LOG", path, MAX_PATH)) return;
  HANDLE f = CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS, 0, nullptr);
  if (f == INVALID_HANDLE_VALUE) return;
  char utf8[1024];
  const int n = WideCharToMultiByte(CP_UTF8, 0, (line + L"\r\n").c_str(), -1, utf8, sizeof utf8, nullptr, nullptr);
  DWORD written = 0;
  if (n > 1) WriteFile(f, utf8, static_cast<DWORD>(n - 1), &written, nullptr);
  CloseHandle(f);
}

LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case kPing:
      return 0x2A3B4C5D;
    case WM_CLOSE:
      Note(L"closed");
      DestroyWindow(window);
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  wchar_t folder[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, folder);
  Note(std::wstring(L"started ") + folder);
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.lpszClassName = L"ConfiguratorStandIn";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"Torvo Quillfern Config", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                50, 50, 320, 200, nullptr, nullptr, instance, nullptr);
  CreateWindowExW(0, L"BUTTON", L"memu_Fenn_2", WS_CHILD | WS_VISIBLE, 10, 10, 120, 30, window, nullptr, instance, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return 0;
}
