// A list whose rows carry sliders (the performance settings): each row a label, a
// CBitmapSliderCtrl and its value as text. Moves are shown in the row and reported to the
// owner's CSliderCtrlParent with the row's slider.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "configurator/kit/win/bitmap_slider.h"
#include "configurator/kit/win/painted_window.h"

namespace quill::kit::win {

class CSliderListCtrlV2 : public PaintedWindow, private CSliderCtrlParent {
 public:
  using Format = std::function<std::wstring(double)>;
  explicit CSliderListCtrlV2(CSliderCtrlParent* parent) : parent_(parent) {}

  bool Create(HWND parent, int id, const RECT& rect, int row_height = 28);
  // A row whose slider reports as `slider_id`; `format` gives the value's text.
  CBitmapSliderCtrl* AddRow(const std::wstring& label, int slider_id, double min, double max, double step,
                            double value, Format format);
  CBitmapSliderCtrl* slider(int row) { return rows_[static_cast<size_t>(row)].slider.get(); }

 protected:
  void Paint(HDC dc, const RECT& r) override;

 private:
  void OnSliderMoved(CBitmapSliderCtrl& slider, double value) override;
  struct Row {
    std::wstring label;
    Format format;
    std::unique_ptr<CBitmapSliderCtrl> slider;
  };
  CSliderCtrlParent* parent_;
  int row_height_ = 28;
  std::vector<Row> rows_;
};

}  // namespace quill::kit::win
