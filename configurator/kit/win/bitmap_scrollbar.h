// Skinned vertical scroll bar for the kit's lists: a track and a thumb whose length shows the
// share of rows on view. Dragging the thumb, a click on the track (a page up or down) and the
// wheel over it move the top row, reported to `on_scroll`.
#pragma once
#include <functional>

#include "configurator/kit/win/painted_window.h"

namespace quill::kit::win {

class CBitmapScrollbar : public PaintedWindow {
 public:
  bool Create(HWND parent, int id, const RECT& rect);
  void SetRows(int count, int visible, int top);  // not reported
  int top() const { return top_; }
  std::function<void(int top)> on_scroll;

 protected:
  void Paint(HDC dc, const RECT& r) override;
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  RECT ThumbRect() const;
  void ScrollTo(int top);
  int count_ = 0, visible_ = 1, top_ = 0;
  bool dragging_ = false;
  int grab_ = 0;
};

}  // namespace quill::kit::win
