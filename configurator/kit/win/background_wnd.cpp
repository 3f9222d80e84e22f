#include "configurator/kit/win/background_wnd.h"

#include "configurator/kit/win/skin.h"

namespace quill::kit::win {

bool CBackgroundWnd::Create(HWND parent, int id, const RECT& r) {
  return CreateOf(L"QuillKitBackground", WS_EX_CONTROLPARENT, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, r.left, r.top,
                  r.right - r.left, r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void CBackgroundWnd::Paint(HDC dc, const RECT& client) { FillColour(dc, client, skin::kColourPanel); }

void CBackgroundWndV2::Paint(HDC dc, const RECT& client) {
  FillColour(dc, client, skin::kColourPanel);
  Skin::Get().DrawBox(dc, skin::kDialogFrame, skin::kDialogFrameSlice, client, WindowDpi(hwnd()));
}

LRESULT CBackgroundWnd::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_COMMAND:
    case WM_NOTIFY:
    case WM_CTLCOLOREDIT:
    case WM_CTLCOLORSTATIC:
      return SendMessageW(GetParent(hwnd()), message, wparam, lparam);
    default:
      return Default(message, wparam, lparam);
  }
}

}  // namespace quill::kit::win
