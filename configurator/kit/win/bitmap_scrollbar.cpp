#include "configurator/kit/win/bitmap_scrollbar.h"

#include <windowsx.h>

#include <algorithm>

#include "configurator/kit/scroll_thumb.h"
#include "configurator/kit/win/skin.h"

namespace quill::kit::win {

namespace {

constexpr int kMinThumb = 16;

}  // namespace

bool CBitmapScrollbar::Create(HWND parent, int id, const RECT& r) {
  return CreateOf(L"QuillKitScrollbar", 0, WS_CHILD | WS_VISIBLE, r.left, r.top, r.right - r.left, r.bottom - r.top,
                  parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void CBitmapScrollbar::SetRows(int count, int visible, int top) {
  count = std::max(0, count);
  visible = std::max(1, visible);
  top = std::clamp(top, 0, std::max(0, count - visible));
  if (count == count_ && visible == visible_ && top == top_) return;
  count_ = count;
  visible_ = visible;
  top_ = top;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

RECT CBitmapScrollbar::ThumbRect() const {
  RECT r{};
  GetClientRect(hwnd(), &r);
  const ScrollThumb thumb = ThumbOf(count_, visible_, top_, r.bottom, Scale(kMinThumb, WindowDpi(hwnd())));
  return {0, thumb.offset, r.right, thumb.offset + thumb.length};
}

void CBitmapScrollbar::ScrollTo(int top) {
  top = std::clamp(top, 0, std::max(0, count_ - visible_));
  if (top == top_) return;
  top_ = top;
  InvalidateRect(hwnd(), nullptr, FALSE);
  if (on_scroll) on_scroll(top_);
}

void CBitmapScrollbar::Paint(HDC dc, const RECT& r) {
  const int dpi = WindowDpi(hwnd());
  Skin& skin = Skin::Get();
  FillColour(dc, r, skin::kColourPanelRaised);
  skin.DrawBox(dc, skin::kSliderTrack, skin::kSliderTrackSlice, r, dpi);
  if (count_ <= visible_) return;  // nothing to scroll: the track alone
  const int box = dragging_ ? skin::kButtonPressed : hovered() ? skin::kButtonHover : skin::kButtonNormal;
  skin.DrawBox(dc, box, skin::kSliderTrackSlice, ThumbRect(), dpi);
}

LRESULT CBitmapScrollbar::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_LBUTTONDOWN: {
      if (count_ <= visible_) return 0;
      const int y = GET_Y_LPARAM(lparam);
      const RECT thumb = ThumbRect();
      if (y < thumb.top) {
        ScrollTo(top_ - std::max(1, visible_ - 1));
      } else if (y >= thumb.bottom) {
        ScrollTo(top_ + std::max(1, visible_ - 1));
      } else {
        dragging_ = true;
        grab_ = y - thumb.top;
        SetCapture(hwnd());
        InvalidateRect(hwnd(), nullptr, FALSE);
      }
      return 0;
    }
    case WM_MOUSEMOVE:
      if (dragging_) {
        RECT r;
        GetClientRect(hwnd(), &r);
        ScrollTo(TopForThumb(count_, visible_, GET_Y_LPARAM(lparam) - grab_, r.bottom,
                             Scale(kMinThumb, WindowDpi(hwnd()))));
      }
      return 0;
    case WM_LBUTTONUP:
      if (GetCapture() == hwnd()) ReleaseCapture();
      return 0;
    case WM_CAPTURECHANGED:
      dragging_ = false;
      InvalidateRect(hwnd(), nullptr, FALSE);
      return 0;
    case WM_MOUSEWHEEL:
      ScrollTo(top_ - GET_WHEEL_DELTA_WPARAM(wparam) / WHEEL_DELTA);
      return 0;
    default:
      return Default(message, wparam, lparam);
  }
}

}  // namespace quill::kit::win
