// Stands in for a running tray agent and configuration application while a test installs over a
// copy: the tray's hidden window (its class and title) and the configuration application's
// single-instance mutex. WM_CLOSE to the window ends both the way a program that takes a moment
// to shut down would: the window goes at once, the mutex 1.5 s later, then the process ends.
// Prints "ready" once both exist.
#include <windows.h>

#include <cstdio>

namespace {

LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_CLOSE) {
    DestroyWindow(window);
    return 0;
  }
  if (message == WM_DESTROY) {
    PostQuitMessage(0);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

}  // namespace

int wmain() {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, L"FennConfigurator");
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = WindowProc;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.lpszClassName = L"Torvo_Quillfern_Tray";
  if (!mutex || !RegisterClassW(&window_class) ||
      !CreateWindowExW(0, window_class.lpszClassName, L"Torvo Quillfern Tray", WS_POPUP, 0, 0, 0, 0, nullptr,
                       nullptr, window_class.hInstance, nullptr)) {
    std::printf("could not start (error %lu)\n", GetLastError());
    return 1;
  }
  std::printf("ready\n");
  std::fflush(stdout);
  MSG message;
  while (GetMessageW(&message, nullptr, 0, 0) > 0) DispatchMessageW(&message);
  Sleep(1500);
  CloseHandle(mutex);
  std::printf("closed\n");
  return 0;
}
