#include "osd/placement.h"

#include <algorithm>
#include <map>

namespace quill::osd {

namespace {

struct Row {
  std::vector<size_t> members;  // right to left
  int height = 0;
};

int AtPercent(int start, int length, int percent) {
  return start + static_cast<int>(static_cast<long long>(length) * percent / 100);
}

}  // namespace

Rect PlacePanel(const Rect& work, const std::vector<PanelRequest>& panels, size_t which, int gap) {
  if (which >= panels.size()) return {};
  const PanelRequest& self = panels[which];

  // Rows from the bottom up; members of a row from right to left.
  std::map<int, Row, std::greater<int>> rows;
  for (size_t i = 0; i < panels.size(); ++i) {
    if (i != which && (panels[i].width <= 0 || panels[i].height <= 0)) continue;
    Row& row = rows[panels[i].anchor_y];
    row.members.push_back(i);
    row.height = std::max(row.height, panels[i].height);
  }
  for (auto& [anchor, row] : rows) {
    std::stable_sort(row.members.begin(), row.members.end(),
                     [&](size_t a, size_t b) { return panels[a].anchor_x > panels[b].anchor_x; });
  }

  Rect rect;
  int row_top = work.bottom + gap;  // top of the row below the current one
  for (auto& [anchor, row] : rows) {
    const int bottom = std::min(AtPercent(work.top, work.height(), anchor), row_top - gap);
    int left_of_previous = work.right + gap;
    for (size_t i : row.members) {
      const int right = std::min(AtPercent(work.left, work.width(), panels[i].anchor_x), left_of_previous - gap);
      if (i == which) {
        rect = {right - self.width, bottom - self.height, right, bottom};
      }
      left_of_previous = right - panels[i].width;
    }
    row_top = bottom - row.height;
  }

  // The offset, then inside the work area (the right and bottom edges give way first).
  rect.left += self.offset_x;
  rect.right += self.offset_x;
  rect.top += self.offset_y;
  rect.bottom += self.offset_y;
  const int dx = std::max(work.left - rect.left, std::min(0, work.right - rect.right));
  const int dy = std::max(work.top - rect.top, std::min(0, work.bottom - rect.bottom));
  rect.left += dx;
  rect.right += dx;
  rect.top += dy;
  rect.bottom += dy;
  return rect;
}

}  // namespace quill::osd
