#include "configurator/kit/win/bitmap_slider.h"

#include <windowsx.h>

#include <algorithm>

#include "configurator/kit/win/skin.h"

namespace quill::kit::win {

bool CBitmapSliderCtrl::Create(HWND parent, int id, const RECT& r) {
  id_ = id;
  return CreateOf(L"QuillKitSlider", 0, WS_CHILD | WS_VISIBLE | WS_TABSTOP, r.left, r.top, r.right - r.left,
                  r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void CBitmapSliderCtrl::SetRange(double min, double max, double step) {
  range_ = ValueRange(min, max, step);
  value_ = range_.Snap(value_);
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void CBitmapSliderCtrl::SetValue(double value) {
  value_ = range_.Snap(value);
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

CBitmapSliderCtrl::Track CBitmapSliderCtrl::Geometry() const {
  RECT client{};
  GetClientRect(hwnd(), &client);
  const int thumb = Scale(skin::kSliderThumbWidth, WindowDpi(hwnd()));
  const int start = thumb / 2 + 1;
  return {start, std::max(0, static_cast<int>(client.right) - 2 * start), static_cast<int>(client.bottom) / 2, thumb};
}

POINT CBitmapSliderCtrl::ThumbCentre() const {
  const Track t = Geometry();
  return {range_.PixelOf(value_, t.start, t.length), t.middle};
}

bool CBitmapSliderCtrl::OnThumb(POINT p) const {
  const POINT c = ThumbCentre();
  const int half = Geometry().thumb / 2 + 1;
  return std::abs(p.x - c.x) <= half && std::abs(p.y - c.y) <= half;
}

void CBitmapSliderCtrl::MoveTo(double value) {
  const double snapped = range_.Snap(value);
  if (snapped == value_) return;
  value_ = snapped;
  InvalidateRect(hwnd(), nullptr, FALSE);
  if (parent_) parent_->OnSliderMoved(*this, value_);
}

void CBitmapSliderCtrl::Paint(HDC dc, const RECT& r) {
  const int dpi = WindowDpi(hwnd());
  Skin& skin = Skin::Get();
  FillColour(dc, r, skin::kColourPanel);
  const Track t = Geometry();
  const bool enabled = IsWindowEnabled(hwnd()) != FALSE;
  const int track_h = Scale(skin::kSliderTrackHeight, dpi);
  const RECT track{t.start - track_h / 2, t.middle - track_h / 2, t.start + t.length + track_h / 2,
                   t.middle - track_h / 2 + track_h};
  skin.DrawBox(dc, skin::kSliderTrack, skin::kSliderTrackSlice, track, dpi);
  const POINT c = ThumbCentre();
  const RECT fill{track.left, track.top, std::max<LONG>(c.x + track_h / 2, track.left + track_h), track.bottom};
  skin.DrawBox(dc, enabled ? skin::kSliderFill : skin::kSliderFillDisabled, skin::kSliderFillSlice, fill, dpi);
  if (GetFocus() == hwnd() && enabled) {
    // The keyboard focus: an accent ring around the thumb.
    const int ring = t.thumb / 2 + Scale(3, dpi);
    const quill::win::Pen pen(CreatePen(PS_SOLID, std::max(1, Scale(1, dpi)), skin::kColourAccent));
    const quill::win::SelectedObject selected_pen(dc, pen.Get());
    const quill::win::SelectedObject selected_brush(dc, GetStockObject(NULL_BRUSH));
    Ellipse(dc, c.x - ring, c.y - ring, c.x + ring + 1, c.y + ring + 1);
  }
  const int thumb = !enabled ? skin::kSliderThumbDisabled
                    : dragging_ ? skin::kSliderThumbPressed
                    : hover_    ? skin::kSliderThumbHover
                                : skin::kSliderThumb;
  const RECT thumb_rect{c.x - t.thumb / 2, c.y - t.thumb / 2, c.x - t.thumb / 2 + t.thumb, c.y - t.thumb / 2 + t.thumb};
  skin.DrawBox(dc, thumb, skin::kSliderThumbSlice, thumb_rect, dpi);
}

LRESULT CBitmapSliderCtrl::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_MOUSEMOVE: {
      const POINT p{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      if (dragging_) {
        const Track t = Geometry();
        MoveTo(range_.ValueAt(p.x - grab_offset_, t.start, t.length));
        return 0;
      }
      const bool hover = OnThumb(p);
      if (hover != hover_) {
        hover_ = hover;
        InvalidateRect(hwnd(), nullptr, FALSE);
      }
      return 0;
    }
    case WM_MOUSELEAVE:
      if (hover_ && !dragging_) {
        hover_ = false;
        InvalidateRect(hwnd(), nullptr, FALSE);
      }
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (!IsWindowEnabled(hwnd())) return 0;
      SetFocus(hwnd());
      const POINT p{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      // On the thumb: drag it from where it was taken. Elsewhere: the thumb jumps there.
      grab_offset_ = OnThumb(p) ? p.x - ThumbCentre().x : 0;
      dragging_ = true;
      SetCapture(hwnd());
      if (grab_offset_ == 0) {
        const Track t = Geometry();
        MoveTo(range_.ValueAt(p.x, t.start, t.length));
      }
      InvalidateRect(hwnd(), nullptr, FALSE);
      return 0;
    }
    case WM_LBUTTONUP:
      if (GetCapture() == hwnd()) ReleaseCapture();
      return 0;
    case WM_CAPTURECHANGED:
      if (dragging_) {
        dragging_ = false;
        InvalidateRect(hwnd(), nullptr, FALSE);
      }
      return 0;
    case WM_KEYDOWN:
      switch (wparam) {
        case VK_LEFT: case VK_DOWN: MoveTo(range_.Stepped(value_, -1)); break;
        case VK_RIGHT: case VK_UP: MoveTo(range_.Stepped(value_, +1)); break;
        case VK_PRIOR: MoveTo(value_ + range_.PageStep()); break;
        case VK_NEXT: MoveTo(value_ - range_.PageStep()); break;
        case VK_HOME: MoveTo(range_.min()); break;
        case VK_END: MoveTo(range_.max()); break;
        default: break;
      }
      return 0;
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
    case WM_ENABLE:
      InvalidateRect(hwnd(), nullptr, FALSE);
      return 0;
    default:
      return Default(message, wparam, lparam);
  }
}

}  // namespace quill::kit::win
