#include "configurator/kit/value_range.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <utility>

namespace quill::kit {

ValueRange::ValueRange(double min, double max, double step) : min_(min), max_(max), step_(std::fabs(step)) {
  if (!std::isfinite(min_)) min_ = 0;
  if (!std::isfinite(max_)) max_ = min_;
  if (max_ < min_) std::swap(min_, max_);
  if (!std::isfinite(step_)) step_ = 0;
}

double ValueRange::Clamp(double value) const {
  if (std::isnan(value)) return min_;
  return std::clamp(value, min_, max_);
}

double ValueRange::Snap(double value) const {
  value = Clamp(value);
  if (step_ <= 0) return value;
  // The step below and the one above, max itself standing in for a step beyond it, so that max
  // stays reachable when the length is no multiple of the step.
  const double lower = std::min(max_, min_ + std::floor((value - min_) / step_) * step_);
  const double upper = std::min(max_, lower + step_);
  return value - lower < upper - value ? lower : upper;  // halves round up
}

double ValueRange::Stepped(double value, int steps) const {
  const double unit = step_ > 0 ? step_ : (max_ - min_) / 100;
  return Snap(Clamp(value) + steps * unit);
}

double ValueRange::PageStep() const {
  const double tenth = (max_ - min_) / 10;
  if (step_ <= 0) return tenth;
  return std::max(step_, std::round(tenth / step_) * step_);
}

double ValueRange::ValueAt(int pixel, int start, int length) const {
  if (length < 1) return min_;
  const double t = std::clamp(static_cast<double>(pixel - start) / length, 0.0, 1.0);
  return min_ + t * (max_ - min_);
}

int ValueRange::PixelOf(double value, int start, int length) const {
  if (length < 1 || max_ <= min_) return start;
  const double t = (Clamp(value) - min_) / (max_ - min_);
  return start + static_cast<int>(std::lround(t * length));
}

std::u16string FixedTwoText(double value) {
  if (!std::isfinite(value)) value = 0;
  const int n = std::snprintf(nullptr, 0, "%.2f", value);
  std::string buffer(static_cast<size_t>(n > 0 ? n : 0) + 1, '\0');
  std::snprintf(buffer.data(), buffer.size(), "%.2f", value);
  buffer.pop_back();
  return std::u16string(buffer.begin(), buffer.end());
}

bool ParseDecimal(std::u16string_view text, double& value) {
  while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  std::string ascii;
  bool digits = false, point = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const char16_t c = text[i];
    if ((c == u'-' || c == u'+') && i == 0) {
      ascii += static_cast<char>(c);
    } else if (c >= u'0' && c <= u'9') {
      ascii += static_cast<char>(c);
      digits = true;
    } else if ((c == u'.' || c == u',') && !point) {
      ascii += '.';
      point = true;
    } else {
      return false;
    }
  }
  if (!digits || ascii.size() > 64) return false;
  value = std::strtod(ascii.c_str(), nullptr);
  return std::isfinite(value);
}

}  // namespace quill::kit
