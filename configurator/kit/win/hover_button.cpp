#include "configurator/kit/win/hover_button.h"

#include <windowsx.h>

#include "configurator/kit/win/skin.h"

namespace quill::kit::win {

bool CHoverButton::Create(HWND parent, int id, const RECT& r, const std::wstring& text) {
  id_ = id;
  text_ = text;
  if (!CreateOf(L"QuillKitHoverButton", 0, WS_CHILD | WS_VISIBLE | WS_TABSTOP, r.left, r.top, r.right - r.left,
                r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)))) {
    return false;
  }
  SetWindowTextW(hwnd(), text.c_str());  // for accessibility and tests
  return true;
}

void CHoverButton::SetText(const std::wstring& text) {
  text_ = text;
  if (hwnd()) {
    SetWindowTextW(hwnd(), text.c_str());
    InvalidateRect(hwnd(), nullptr, FALSE);
  }
}

void CHoverButton::SetEnabled(bool enabled) {
  if (hwnd()) EnableWindow(hwnd(), enabled);  // WM_ENABLE updates the state
}

void CHoverButton::Apply(ButtonChange change) {
  if (change.repaint && hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
  if (change.clicked) Clicked();  // last: the owner may close the window that holds us
}

void CHoverButton::Clicked() {
  if (on_click) on_click(id_);
}

void CHoverButtonV2::Clicked() {
  CHoverButton::Clicked();
  if (parent_) parent_->OnHoverButtonClicked(id());
}

bool CHoverButton::Inside(LPARAM lparam) const {
  RECT client;
  GetClientRect(hwnd(), &client);
  const POINT p{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
  return PtInRect(&client, p) != FALSE;
}

void CHoverButton::Paint(HDC dc, const RECT& r) {
  const int dpi = WindowDpi(hwnd());
  Skin& skin = Skin::Get();
  FillColour(dc, r, skin::kColourPanel);

  const ButtonFace face = state_.Face();
  const bool on = state_.checked();
  int box = skin::kButtonNormal;
  COLORREF text = skin::kColourText;
  switch (face) {
    case ButtonFace::kNormal: box = on ? skin::kButtonChecked : skin::kButtonNormal; break;
    case ButtonFace::kHover: box = on ? skin::kButtonCheckedHover : skin::kButtonHover; break;
    case ButtonFace::kPressed: box = skin::kButtonPressed; break;
    case ButtonFace::kDisabled: box = skin::kButtonDisabled; break;
  }
  if (face == ButtonFace::kDisabled) {
    text = skin::kColourTextDisabled;
  } else if (on && face != ButtonFace::kPressed) {
    text = skin::kColourTextOnAccent;
  }
  skin.DrawBox(dc, box, skin::kButtonNormalSlice, r, dpi);
  RECT label = r;
  if (face == ButtonFace::kPressed) OffsetRect(&label, 0, 1);
  DrawTextIn(dc, text_.c_str(), static_cast<int>(text_.size()), label, skin.TextFont(dpi, true), text,
             DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  if (state_.focused()) {
    // The keyboard focus: a short bar along the foot, in the accent (dark on an accent face).
    const int inset = Scale(8, dpi), thick = std::max(1, Scale(2, dpi));
    RECT bar{r.left + inset, r.bottom - Scale(4, dpi) - thick, r.right - inset, r.bottom - Scale(4, dpi)};
    FillColour(dc, bar, on ? skin::kColourTextOnAccent : skin::kColourAccent);
  }
}

LRESULT CHoverButton::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_MOUSEMOVE:
      Apply(state_.MouseMove(Inside(lparam)));
      return 0;
    case WM_MOUSELEAVE:
      if (GetCapture() != hwnd()) Apply(state_.MouseLeave());
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!state_.enabled()) return 0;
      SetFocus(hwnd());
      SetCapture(hwnd());
      Apply(state_.MouseDown());
      return 0;
    case WM_LBUTTONUP: {
      const ButtonChange change = state_.MouseUp(Inside(lparam));
      if (GetCapture() == hwnd()) ReleaseCapture();
      Apply(change);
      return 0;
    }
    case WM_CAPTURECHANGED:
      Apply(state_.CaptureLost());
      return 0;
    case WM_KEYDOWN:
      if (wparam == VK_SPACE && !(lparam & (1 << 30))) Apply(state_.KeyDown());
      if (wparam == VK_RETURN) Apply(state_.Activate());
      return 0;
    case WM_KEYUP:
      if (wparam == VK_SPACE) Apply(state_.KeyUp());
      return 0;
    case WM_GETDLGCODE: {
      // Enter reaches the focused button itself; Tab and arrows stay with the dialog.
      const auto* msg = reinterpret_cast<const MSG*>(lparam);
      if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) return DLGC_WANTMESSAGE | DLGC_BUTTON;
      return DLGC_BUTTON;
    }
    case WM_SETFOCUS:
      Apply(state_.SetFocused(true));
      return 0;
    case WM_KILLFOCUS:
      Apply(state_.SetFocused(false));
      return 0;
    case WM_ENABLE:
      Apply(state_.SetEnabled(wparam != FALSE));
      return 0;
    default:
      return Default(message, wparam, lparam);
  }
}

}  // namespace quill::kit::win
