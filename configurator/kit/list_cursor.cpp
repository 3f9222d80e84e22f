#include "configurator/kit/list_cursor.h"

#include <algorithm>

namespace quill::kit {

ListCursor::ListCursor(int count, int visible) : count_(std::max(0, count)), visible_(std::max(1, visible)) {}

bool ListCursor::SetCount(int count) {
  const int old_selected = selected_, old_top = top_, old_hot = hot_, old_count = count_;
  count_ = std::max(0, count);
  if (selected_ >= count_) selected_ = count_ - 1;
  if (hot_ >= count_) hot_ = -1;
  top_ = std::min(top_, max_top());
  return old_selected != selected_ || old_top != top_ || old_hot != hot_ || old_count != count_;
}

bool ListCursor::SetVisible(int visible) {
  const int old_top = top_;
  visible_ = std::max(1, visible);
  top_ = std::min(top_, max_top());
  if (selected_ >= 0) Show(selected_);
  return old_top != top_;
}

void ListCursor::Show(int row) {
  if (row < top_) top_ = row;
  if (row >= top_ + visible_) top_ = row - visible_ + 1;
  top_ = std::clamp(top_, 0, max_top());
}

bool ListCursor::Select(int row) {
  const int old_selected = selected_, old_top = top_;
  selected_ = count_ == 0 || row < 0 ? -1 : std::min(row, count_ - 1);
  if (selected_ >= 0) Show(selected_);
  return old_selected != selected_ || old_top != top_;
}

bool ListCursor::Navigate(ListKey key) {
  if (count_ == 0) return false;
  // With nothing selected, Down and Page Down start at the first row and Up at the last.
  const int from = selected_;
  int to = from;
  switch (key) {
    case ListKey::kUp: to = from < 0 ? count_ - 1 : from - 1; break;
    case ListKey::kDown: to = from + 1; break;
    case ListKey::kPageUp: to = from < 0 ? 0 : from - (visible_ > 1 ? visible_ - 1 : 1); break;
    case ListKey::kPageDown: to = from < 0 ? 0 : from + (visible_ > 1 ? visible_ - 1 : 1); break;
    case ListKey::kHome: to = 0; break;
    case ListKey::kEnd: to = count_ - 1; break;
  }
  return Select(std::clamp(to, 0, count_ - 1));
}

bool ListCursor::ScrollTo(int top) {
  const int old = top_;
  top_ = std::clamp(top, 0, max_top());
  return old != top_;
}

bool ListCursor::ScrollBy(int rows) { return ScrollTo(top_ + rows); }

bool ListCursor::SetHot(int row) {
  const int hot = row >= 0 && row < count_ ? row : -1;
  if (hot == hot_) return false;
  hot_ = hot;
  return true;
}

int ListCursor::RowAt(int y, int row_height) const {
  if (y < 0 || row_height < 1) return -1;
  const int shown = y / row_height;
  if (shown >= visible_) return -1;
  const int row = top_ + shown;
  return row < count_ ? row : -1;
}

}  // namespace quill::kit
