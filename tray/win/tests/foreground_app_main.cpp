// tray_foreground_app.exe: a plain window that puts itself in the foreground and stays until it
// is closed or ended; the tray's application check sees this file name in front.
#include <windows.h>

static LRESULT CALLBACK Proc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wParam, lParam);
}

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW wc{};
  wc.lpfnWndProc = Proc;
  wc.hInstance = instance;
  wc.lpszClassName = L"TrayForegroundTestApp";
  wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  RegisterClassW(&wc);
  HWND window = CreateWindowExW(0, wc.lpszClassName, L"Foreground test application", WS_OVERLAPPEDWINDOW | WS_VISIBLE,
                                100, 100, 300, 200, nullptr, nullptr, instance, nullptr);
  SetForegroundWindow(window);
  SetTimer(window, 1, 500, nullptr);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (msg.message == WM_TIMER && GetForegroundWindow() != window) SetForegroundWindow(window);
    DispatchMessageW(&msg);
  }
  return 0;
}
