#include "configurator/kit/win/spin_controls.h"

#include <windowsx.h>

#include "configurator/kit/spin_repeat.h"
#include "configurator/kit/win/skin.h"

namespace quill::kit::win {

namespace {

constexpr UINT_PTR kRepeatTimer = 1;

HMENU IdOf(int id) { return reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)); }

std::wstring Wide(const std::u16string& s) { return {reinterpret_cast<const wchar_t*>(s.data()), s.size()}; }

}  // namespace

// ---- one arrow

bool CSpinButton::Create(HWND parent, int id, const RECT& r, bool up) {
  up_ = up;
  return CreateOf(L"QuillKitSpinButton", 0, WS_CHILD | WS_VISIBLE, r.left, r.top, r.right - r.left, r.bottom - r.top,
                  parent, IdOf(id));
}

void CSpinButton::Step() {
  ++steps_;
  if (on_step) on_step();
}

void CSpinButton::Paint(HDC dc, const RECT& r) {
  const int dpi = WindowDpi(hwnd());
  Skin& skin = Skin::Get();
  FillColour(dc, r, skin::kColourPanel);
  const bool enabled = IsWindowEnabled(hwnd()) != FALSE;
  const int box = !enabled ? skin::kButtonDisabled
                  : held_  ? skin::kButtonPressed
                  : hovered() ? skin::kButtonHover
                              : skin::kButtonNormal;
  skin.DrawBox(dc, box, skin::kButtonNormalSlice, r, dpi);
  skin.DrawCentred(dc, !enabled ? skin::kArrowDownDisabled : up_ ? skin::kArrowUp : skin::kArrowDown, r, dpi);
}

LRESULT CSpinButton::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (!IsWindowEnabled(hwnd())) return 0;
      SetCapture(hwnd());
      held_ = true;
      steps_ = 0;
      InvalidateRect(hwnd(), nullptr, FALSE);
      Step();
      SetTimer(hwnd(), kRepeatTimer, static_cast<UINT>(SpinRepeatDelay(steps_)), nullptr);
      return 0;
    case WM_TIMER:
      if (wparam != kRepeatTimer || !held_) return 0;
      {
        // Only while the pointer stays on the arrow; the schedule goes on either way.
        POINT p;
        GetCursorPos(&p);
        RECT r;
        GetWindowRect(hwnd(), &r);
        if (PtInRect(&r, p)) Step();
      }
      SetTimer(hwnd(), kRepeatTimer, static_cast<UINT>(SpinRepeatDelay(steps_)), nullptr);
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == hwnd()) ReleaseCapture();
      return 0;
    case WM_CAPTURECHANGED:
      held_ = false;
      KillTimer(hwnd(), kRepeatTimer);
      InvalidateRect(hwnd(), nullptr, FALSE);
      return 0;
    case WM_ENABLE:
      if (!wparam && GetCapture() == hwnd()) ReleaseCapture();
      InvalidateRect(hwnd(), nullptr, FALSE);
      return 0;
    default:
      return Default(message, wparam, lparam);
  }
}

// ---- the pair of arrows

bool CGWSpinButtonCtrl::Create(HWND parent, int id, const RECT& r) {
  if (!CreateOf(L"QuillKitSpinArrows", 0, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, r.left, r.top, r.right - r.left,
                r.bottom - r.top, parent, IdOf(id))) {
    return false;
  }
  const int w = r.right - r.left, h = r.bottom - r.top;
  up_.on_step = [this] {
    if (on_step) on_step(+1);
  };
  down_.on_step = [this] {
    if (on_step) on_step(-1);
  };
  return up_.Create(hwnd(), 1, RECT{0, 0, w, h / 2}, true) && down_.Create(hwnd(), 2, RECT{0, h - h / 2, w, h}, false);
}

void CGWSpinButtonCtrl::Paint(HDC dc, const RECT& r) { FillColour(dc, r, skin::kColourPanel); }

// ---- the numeric field

bool CSmartEdit::Create(HWND parent, int id, const RECT& r, const ValueRange& range) {
  range_ = range;
  value_ = range_.Snap(range_.min());
  if (!CBitmapEditCtrl::Create(parent, id, r, 32)) return false;
  SetText(Wide(FixedTwoText(value_)));
  return true;
}

void CSmartEdit::SetRange(const ValueRange& range) {
  range_ = range;
  SetValue(value_);
}

void CSmartEdit::SetValue(double value) {
  value_ = range_.Snap(value);
  SetText(Wide(FixedTwoText(value_)));
}

void CSmartEdit::Commit() {
  const std::wstring text = Text();
  double typed = 0;
  const double before = value_;
  if (ParseDecimal({reinterpret_cast<const char16_t*>(text.data()), text.size()}, typed)) value_ = range_.Snap(typed);
  SetText(Wide(FixedTwoText(value_)));  // the value as kept, also when the text was no number
  if (value_ != before && on_change) on_change(value_);
}

LRESULT CSmartEdit::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_COMMAND && HIWORD(wparam) == EN_KILLFOCUS) Commit();
  return CBitmapEditCtrl::OnMessage(message, wparam, lparam);
}

// ---- field and arrows together

bool CBitmapSpinCtrl::Create(HWND parent, int id, const RECT& r, const ValueRange& range) {
  range_ = range;
  if (!CreateOf(L"QuillKitSpin", WS_EX_CONTROLPARENT, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, r.left, r.top,
                r.right - r.left, r.bottom - r.top, parent, IdOf(id))) {
    return false;
  }
  const int w = r.right - r.left, h = r.bottom - r.top;
  const int arrows = Scale(20, WindowDpi(hwnd()));
  field_.on_change = [this](double value) {
    if (on_change) on_change(value);
  };
  arrows_.on_step = [this](int direction) { StepBy(direction * (range_.step() > 0 ? range_.step() : 1)); };
  if (!field_.Create(hwnd(), 1, RECT{0, 0, w - arrows - Scale(2, WindowDpi(hwnd())), h}, range_)) return false;
  // Keys and the wheel in the field step the value.
  keys_.Attach(field_.edit(), [this](HWND, UINT message, WPARAM wparam, LPARAM, bool& handled) -> LRESULT {
    if (message == WM_KEYDOWN) {
      const double page = range_.PageStep(), step = range_.step() > 0 ? range_.step() : 1;
      switch (wparam) {
        case VK_UP: StepBy(step); handled = true; break;
        case VK_DOWN: StepBy(-step); handled = true; break;
        case VK_PRIOR: StepBy(page); handled = true; break;
        case VK_NEXT: StepBy(-page); handled = true; break;
        case VK_RETURN: field_.Commit(); handled = true; break;
        default: break;
      }
    } else if (message == WM_MOUSEWHEEL) {
      StepBy((GET_WHEEL_DELTA_WPARAM(wparam) / WHEEL_DELTA) * (range_.step() > 0 ? range_.step() : 1));
      handled = true;
    } else if (message == WM_GETDLGCODE) {
      handled = true;
      return DLGC_WANTARROWS | DLGC_WANTCHARS | DLGC_HASSETSEL | DLGC_WANTMESSAGE;
    }
    return 0;
  });
  return arrows_.Create(hwnd(), 2, RECT{w - arrows, 0, w, h});
}

void CBitmapSpinCtrl::StepBy(double amount) {
  field_.Commit();  // a typed number counts before the step
  const double before = field_.value();
  field_.SetValue(before + amount);
  if (field_.value() != before && on_change) on_change(field_.value());
}

void CBitmapSpinCtrl::Paint(HDC dc, const RECT& r) { FillColour(dc, r, skin::kColourPanel); }

LRESULT CBitmapSpinCtrl::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_SETFOCUS) {
    SetFocus(field_.edit());
    return 0;
  }
  return Default(message, wparam, lparam);
}

}  // namespace quill::kit::win
