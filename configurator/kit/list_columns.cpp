#include "configurator/kit/list_columns.h"

#include <cstddef>

namespace quill::kit {

int ColumnAt(const std::vector<int>& widths, int x) {
  if (x < 0) return -1;
  int left = 0;
  for (size_t i = 0; i < widths.size(); ++i) {
    if (widths[i] > 0 && x < left + widths[i]) return static_cast<int>(i);
    left += widths[i] > 0 ? widths[i] : 0;
  }
  return -1;
}

int ColumnLeft(const std::vector<int>& widths, int column) {
  int left = 0;
  for (int i = 0; i < column && i < static_cast<int>(widths.size()); ++i) left += widths[i] > 0 ? widths[i] : 0;
  return left;
}

int NextSelectable(const std::vector<bool>& selectable, int from, int direction) {
  const int n = static_cast<int>(selectable.size());
  if (n == 0) return -1;
  direction = direction < 0 ? -1 : 1;
  int i = from < 0 || from >= n ? (direction > 0 ? -1 : n) : from;
  for (int step = 0; step < n; ++step) {
    i = ((i + direction) % n + n) % n;
    if (selectable[i]) return i;
  }
  return -1;
}

}  // namespace quill::kit
