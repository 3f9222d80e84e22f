// Skinned number fields with up/down arrows over a floating-point range and step.
// CSpinButton is one arrow: pressed with the mouse it steps at once and again while held,
// after a pause and then quicker (SpinRepeatDelay). CGWSpinButtonCtrl stacks an up and a down
// arrow and reports steps (+1 / −1). CSmartEdit is the numeric edit field: it shows its value
// with two decimals and takes a typed number when Enter is pressed or the field is left (a
// typed text that is no number puts the old value back). CBitmapSpinCtrl joins a CSmartEdit
// and a CGWSpinButtonCtrl; the Up/Down keys and the mouse wheel step it too, Page Up / Page Down
// by a tenth of the range.
#pragma once
#include <functional>

#include "configurator/kit/value_range.h"
#include "configurator/kit/win/bitmap_edit.h"
#include "configurator/kit/win/painted_window.h"

namespace quill::kit::win {

class CSpinButton : public PaintedWindow {
 public:
  bool Create(HWND parent, int id, const RECT& rect, bool up);
  std::function<void()> on_step;  // once at the press, then per repeat while held
  int steps() const { return steps_; }  // steps of the current or last press

 protected:
  void Paint(HDC dc, const RECT& r) override;
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void Step();
  bool up_ = true, held_ = false;
  int steps_ = 0;
};

class CGWSpinButtonCtrl : public PaintedWindow {
 public:
  bool Create(HWND parent, int id, const RECT& rect);
  std::function<void(int direction)> on_step;
  HWND up() const { return up_.hwnd(); }
  HWND down() const { return down_.hwnd(); }

 protected:
  void Paint(HDC dc, const RECT& r) override;

 private:
  CSpinButton up_, down_;
};

class CSmartEdit : public CBitmapEditCtrl {
 public:
  bool Create(HWND parent, int id, const RECT& rect, const ValueRange& range);
  void SetRange(const ValueRange& range);
  void SetValue(double value);  // snapped into the range, shown "%.2f", not reported
  double value() const { return value_; }
  // Takes the typed text: a number is snapped into the range and reported when it changed.
  void Commit();
  std::function<void(double value)> on_change;

 protected:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  ValueRange range_;
  double value_ = 0;
};

class CBitmapSpinCtrl : public PaintedWindow {
 public:
  bool Create(HWND parent, int id, const RECT& rect, const ValueRange& range);
  void SetValue(double value) { field_.SetValue(value); }
  double value() const { return field_.value(); }
  CSmartEdit& field() { return field_; }
  CGWSpinButtonCtrl& arrows() { return arrows_; }
  std::function<void(double value)> on_change;  // by typing, arrows, keys or wheel

 protected:
  void Paint(HDC dc, const RECT& r) override;
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void StepBy(double amount);
  ValueRange range_;
  CSmartEdit field_;
  CGWSpinButtonCtrl arrows_;
  Subclass keys_;
};

}  // namespace quill::kit::win
