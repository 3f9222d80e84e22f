// Test support of the kit's Wine tests: a shown host window that records what its controls
// report, real input (SendInput) at a control's position, and waiting for a condition while
// the thread's messages are pumped.
#pragma once
#include <windows.h>

#include <chrono>
#include <functional>
#include <string>
#include <vector>

#include "configurator/kit/win/bitmap_slider.h"
#include "configurator/kit/win/hover_button.h"
#include "configurator/kit/win/window_base.h"

namespace quill::kit::win::test {

// Pumps this thread's messages until `done` answers true or `seconds` have passed.
// `dialog` gets the dialog keys (Tab, Enter, Escape) as a dialog's message loop gives them.
inline bool PumpUntil(const std::function<bool()>& done, HWND dialog = nullptr, int seconds = 20) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (dialog && IsDialogMessageW(dialog, &msg)) continue;
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return true;
}

// Pumps until the queue holds nothing more (the input sent so far is handled).
inline void PumpPending() {
  MSG msg;
  for (int round = 0; round < 5; ++round) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
  }
}

inline void SendMouse(DWORD flags, POINT screen = {}) {
  INPUT input{};
  input.type = INPUT_MOUSE;
  if (flags & MOUSEEVENTF_ABSOLUTE) {
    const int w = GetSystemMetrics(SM_CXSCREEN), h = GetSystemMetrics(SM_CYSCREEN);
    input.mi.dx = static_cast<LONG>((screen.x * 65535LL + w / 2) / (w - 1));
    input.mi.dy = static_cast<LONG>((screen.y * 65535LL + h / 2) / (h - 1));
  }
  input.mi.dwFlags = flags;
  SendInput(1, &input, sizeof input);
}

// A click at a point of a window's client area.
inline void ClickAt(HWND hwnd, POINT client) {
  ClientToScreen(hwnd, &client);
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, client);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  SendMouse(MOUSEEVENTF_LEFTUP);
}

inline void ClickCentre(HWND hwnd) {
  RECT r;
  GetClientRect(hwnd, &r);
  ClickAt(hwnd, {r.right / 2, r.bottom / 2});
}

inline void PressKey(WORD vk) {
  INPUT keys[2]{};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = vk;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  SendInput(2, keys, sizeof(INPUT));
}

inline void TypeText(const std::wstring& text) {
  for (wchar_t c : text) {
    INPUT keys[2]{};
    keys[0].type = keys[1].type = INPUT_KEYBOARD;
    keys[0].ki.wScan = keys[1].ki.wScan = c;
    keys[0].ki.dwFlags = KEYEVENTF_UNICODE;
    keys[1].ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
  }
}

// A shown top-level window at the screen's top left that owns the controls of a test and
// records what they report.
class Host : public Window, public HoverButtonV2Parent, public CSliderCtrlParent {
 public:
  Host() {
    CreateOf(L"QuillKitTestHost", WS_EX_CONTROLPARENT, WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 40, 40, 560, 320,
             nullptr, nullptr);
    SetForegroundWindow(hwnd());
    PumpPending();
  }
  void OnHoverButtonClicked(int id) override { clicks.push_back(id); }
  void OnSliderMoved(CBitmapSliderCtrl& slider, double value) override { moves.push_back({slider.id(), value}); }

  std::vector<int> clicks;
  std::vector<std::pair<int, double>> moves;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) override {
    if (message == WM_ERASEBKGND) return 1;
    if (message == WM_PAINT) {
      PAINTSTRUCT ps;
      BeginPaint(hwnd(), &ps);
      FillRect(ps.hdc, &ps.rcPaint, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
      EndPaint(hwnd(), &ps);
      return 0;
    }
    return Default(message, wparam, lparam);
  }
};

}  // namespace quill::kit::win::test
