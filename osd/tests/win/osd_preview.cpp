// Shows the tray's displays as the tray would, for screenshots:
//   osd_preview [--backdrop] profile <name>    the profile display with the padded name
//   osd_preview [--backdrop] dpi <x> <y>       the X and Y displays with the DPI bitmaps
//   osd_preview [--backdrop] both <name> <x> <y>
// --dpi-aware first: the process draws for each monitor's DPI itself (as a tray with such a
// manifest would), so the displays' own scaling shows.
// Prints "shown" once the displays have faded in, then keeps them for 30 s. --backdrop puts a
// light, busy window behind them, to judge their transparency.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>

#include "osd/osd_api.h"
#include "osd/tests/win/tray_sequence.h"

namespace {

void Pump(DWORD milliseconds) {
  const ULONGLONG end = GetTickCount64() + milliseconds;
  while (GetTickCount64() < end) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

LRESULT CALLBACK BackdropProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_PAINT) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    for (int y = 0; y < client.bottom; y += 8) {
      const int shade = 150 + 100 * y / std::max<LONG>(1, client.bottom);
      RECT band{0, y, client.right, y + 8};
      HBRUSH brush = CreateSolidBrush(RGB(shade, shade - 20, 255 - shade / 3));
      FillRect(dc, &band, brush);
      DeleteObject(brush);
    }
    SetBkMode(dc, TRANSPARENT);
    for (int y = 10; y < client.bottom; y += 46) {
      const wchar_t line[] = L"Document window text behind the display, Fenster mit Text dahinter";
      TextOutW(dc, 10 + (y % 3) * 40, y, line, static_cast<int>(wcslen(line)));
    }
    EndPaint(window, &paint);
    return 0;
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

void ShowBackdrop() {
  WNDCLASSW window_class{};
  window_class.lpfnWndProc = BackdropProc;
  window_class.hInstance = GetModuleHandleW(nullptr);
  window_class.lpszClassName = L"QuillOsdPreviewBackdrop";
  RegisterClassW(&window_class);
  HWND window = CreateWindowExW(0, window_class.lpszClassName, L"Backdrop", WS_POPUP | WS_VISIBLE, 0, 0,
                                GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN), nullptr, nullptr,
                                window_class.hInstance, nullptr);
  UpdateWindow(window);
}

std::string Ansi(const std::wstring& text) {
  char buffer[128] = {};
  WideCharToMultiByte(CP_ACP, 0, text.c_str(), -1, buffer, sizeof buffer - 1, nullptr, nullptr);
  return buffer;
}

HBITMAP DpiBitmap(int dpi) {
  return static_cast<HBITMAP>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(5000 + dpi / 100), IMAGE_BITMAP, 0, 0, 0));
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int at = 1;
  if (at < argc && std::wstring(argv[at]) == L"--dpi-aware") {
    using SetAwarenessFn = BOOL(WINAPI*)(HANDLE);
    const auto set_awareness = reinterpret_cast<SetAwarenessFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetProcessDpiAwarenessContext")));
    const HANDLE per_monitor_v2 = reinterpret_cast<HANDLE>(static_cast<intptr_t>(-4));
    if (!set_awareness || !set_awareness(per_monitor_v2)) SetProcessDPIAware();
    ++at;
  }
  if (at < argc && std::wstring(argv[at]) == L"--backdrop") {
    ShowBackdrop();
    ++at;
  }
  if (at >= argc) {
    std::fprintf(stderr, "usage: osd_preview [--backdrop] profile <name> | dpi <x> <y> | both <name> <x> <y>\n");
    return 2;
  }
  const std::wstring scene = argv[at++];
  OsdInitialize(0);
  quill::osd::IOsdDisplay* profile = quill::osd::test::CreateLikeTheTray("- |||||||||||||||||||| +", 98, 95);
  quill::osd::IOsdDisplay* x = quill::osd::test::CreateLikeTheTray("", 99, 94);
  quill::osd::IOsdDisplay* y = quill::osd::test::CreateLikeTheTray("", 95, 94);
  if (!profile || !x || !y) return 1;

  if ((scene == L"profile" || scene == L"both") && at < argc) {
    profile->SetText(Ansi(quill::osd::test::PaddedProfileName(argv[at++])).c_str());
    profile->Show();
  }
  if ((scene == L"dpi" || scene == L"both") && at + 1 < argc) {
    const int dx = _wtoi(argv[at]), dy = _wtoi(argv[at + 1]);
    HBITMAP bx = DpiBitmap(dx), by = DpiBitmap(dy);
    x->SetBitmap(bx, 0xFFFF00FF);
    x->Show();
    if (dy != dx) {
      y->SetBitmap(by, 0xFFFF00FF);
      y->Show();
    }
    DeleteObject(bx);
    DeleteObject(by);
  }
  Pump(800);
  std::printf("shown\n");
  std::fflush(stdout);
  Pump(30000);
  return 0;
}
