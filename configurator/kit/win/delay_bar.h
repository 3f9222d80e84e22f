// A painted bar showing a delay: the track, the part of it the delay fills against the bar's
// largest delay, and the delay as text ("250 ms"). Display only.
#pragma once
#include "configurator/kit/win/painted_window.h"

namespace quill::kit::win {

class CBitmapDelayBarCtrl : public PaintedWindow {
 public:
  bool Create(HWND parent, int id, const RECT& rect);
  void SetDelay(int milliseconds, int largest);  // a delay beyond the largest fills the bar
  int delay() const { return delay_; }

 protected:
  void Paint(HDC dc, const RECT& r) override;

 private:
  int delay_ = 0, largest_ = 1000;
};

}  // namespace quill::kit::win
