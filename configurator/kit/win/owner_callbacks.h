// The interfaces through which the kit's controls report to the window that owns them. The
// owner implements the ones of the controls it holds and hands itself to them at creation.
#pragma once

namespace quill::kit::win {

class CBitmapSliderCtrl;

// A button with its control identifier was clicked (a toggle has already changed its state).
class HoverButtonV2Parent {
 public:
  virtual void OnHoverButtonClicked(int id) = 0;

 protected:
  ~HoverButtonV2Parent() = default;
};

// A slider moved to a new value (by mouse or keyboard; never when the owner sets the value).
class CSliderCtrlParent {
 public:
  virtual void OnSliderMoved(CBitmapSliderCtrl& slider, double value) = 0;

 protected:
  ~CSliderCtrlParent() = default;
};

// A drop-down made a new choice: the entry and, for an entry with a second list, the entry of
// that list (-1 otherwise).
class ComboBoxParent {
 public:
  virtual void OnComboChosen(int id, int entry, int child) = 0;

 protected:
  ~ComboBoxParent() = default;
};

}  // namespace quill::kit::win
