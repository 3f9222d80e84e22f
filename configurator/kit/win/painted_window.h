// A window of the kit that paints itself: its background is never erased, WM_PAINT draws into
// a memory DC through Paint and blits once, and from the first mouse move on the mouse leaving
// is tracked (WM_MOUSELEAVE): hovered() tells whether the pointer is over the window, and a
// change repaints it. The controls handle the messages in OnMessage (also those two).
#pragma once
#include "configurator/kit/win/window_base.h"

namespace quill::kit::win {

class PaintedWindow : public Window {
 protected:
  virtual void Paint(HDC dc, const RECT& client) = 0;
  virtual LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) { return Default(message, wparam, lparam); }
  bool hovered() const { return hovered_; }

 private:
  LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) final;
  void SetHovered(bool hovered);
  bool tracking_ = false, hovered_ = false;
};

}  // namespace quill::kit::win
