// A floating-point range with a step, shared by the sliders and the spin fields: clamping,
// snapping to the step, keyboard steps, and the mapping between values and pixels of a track.
#pragma once
#include <string>
#include <string_view>

namespace quill::kit {

class ValueRange {
 public:
  // `step` 0 means continuous. A range given upside down is turned round; a negative step
  // counts as its size.
  ValueRange(double min = 0, double max = 100, double step = 1);

  double min() const { return min_; }
  double max() const { return max_; }
  double step() const { return step_; }

  double Clamp(double value) const;
  // The nearest value min + k * step within the range (the value clamped when continuous).
  // A range whose length is no multiple of the step ends at max all the same.
  double Snap(double value) const;
  // `steps` steps (negative: down) from `value`, snapped and clamped. A continuous range steps
  // by a hundredth of its length.
  double Stepped(double value, int steps) const;
  // The step of Page Up / Page Down: a tenth of the range, at least one step.
  double PageStep() const;

  // A track `length` pixels long from `start`: the value at a pixel (clamped, not snapped) and
  // the pixel of a value. A track shorter than 1 pixel maps everything to min / to start.
  double ValueAt(int pixel, int start, int length) const;
  int PixelOf(double value, int start, int length) const;

 private:
  double min_, max_, step_;
};

// "%.2f" of a value, the form of the numeric fields.
std::u16string FixedTwoText(double value);
// A decimal number as typed into a numeric field: optional blanks around, an optional sign,
// digits with at most one '.' or ','; false for anything else (the field then keeps its value).
bool ParseDecimal(std::u16string_view text, double& value);

}  // namespace quill::kit
