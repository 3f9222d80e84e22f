#include "configurator/kit/win/painted_window.h"

#include "configurator/kit/win/skin.h"

namespace quill::kit::win {

void PaintedWindow::SetHovered(bool hovered) {
  if (hovered_ == hovered) return;
  hovered_ = hovered;
  InvalidateRect(hwnd(), nullptr, FALSE);
}

LRESULT PaintedWindow::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintBuffer paint(hwnd());
      Paint(paint.dc(), paint.client());
      return 0;
    }
    case WM_MOUSEMOVE:
      if (!tracking_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
        tracking_ = TrackMouseEvent(&track) != FALSE;
      }
      SetHovered(true);
      break;
    case WM_MOUSELEAVE:
      tracking_ = false;
      SetHovered(false);
      break;
    default:
      break;
  }
  return OnMessage(message, wparam, lparam);
}

}  // namespace quill::kit::win
