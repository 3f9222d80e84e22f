// Skinned horizontal slider over a floating-point range with a step: a track, its filled part
// up to the thumb, and the thumb (normal, hover, pressed, disabled). The mouse drags the thumb
// or jumps to a point of the track; the arrow keys step, Page Up / Page Down move a tenth,
// Home / End go to the ends. Moves are reported to the owner's CSliderCtrlParent.
#pragma once
#include "configurator/kit/value_range.h"
#include "configurator/kit/win/owner_callbacks.h"
#include "configurator/kit/win/painted_window.h"

namespace quill::kit::win {

class CBitmapSliderCtrl : public PaintedWindow {
 public:
  explicit CBitmapSliderCtrl(CSliderCtrlParent* parent) : parent_(parent) {}

  bool Create(HWND parent, int id, const RECT& rect);
  int id() const { return id_; }
  void SetRange(double min, double max, double step);  // keeps the value inside, not reported
  const ValueRange& range() const { return range_; }
  void SetValue(double value);                          // not reported
  double value() const { return value_; }
  void SetEnabled(bool enabled) { EnableWindow(hwnd(), enabled); }

  // Screen-independent geometry of the control for tests: the thumb's centre in client pixels.
  POINT ThumbCentre() const;

 protected:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  struct Track {
    int start, length, middle, thumb;
  };
  Track Geometry() const;
  void MoveTo(double value);  // snapped; reported when it changed
  void Paint(HDC dc, const RECT& r) override;
  bool OnThumb(POINT p) const;

  CSliderCtrlParent* parent_;
  int id_ = 0;
  ValueRange range_{0, 100, 1};
  double value_ = 0;
  bool hover_ = false, dragging_ = false;
  int grab_offset_ = 0;
};

}  // namespace quill::kit::win
