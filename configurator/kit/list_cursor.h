// Selection, hot row and scrolling of a list of rows of one height (the drop-down lists and the
// list controls): keyboard navigation, mouse wheel, and the row under a point.
#pragma once

namespace quill::kit {

enum class ListKey { kUp, kDown, kPageUp, kPageDown, kHome, kEnd };

class ListCursor {
 public:
  // `count` rows, `visible` of them shown at once (at least 1).
  explicit ListCursor(int count = 0, int visible = 1);

  int count() const { return count_; }
  int visible() const { return visible_; }
  int selected() const { return selected_; }  // -1: none
  int top() const { return top_; }            // first row shown
  int hot() const { return hot_; }            // row under the mouse, -1: none
  int max_top() const { return count_ > visible_ ? count_ - visible_ : 0; }

  // Each answers whether anything shown changed.
  bool SetCount(int count);  // keeps the selection when it still exists
  bool SetVisible(int visible);
  bool Select(int row);      // clamped to the rows, -1 for none; scrolls it into view
  bool Navigate(ListKey key);
  bool ScrollBy(int rows);   // wheel: moves the view, not the selection
  bool ScrollTo(int top);
  bool SetHot(int row);      // -1 or a row; rows outside count as -1

  // The row at `y` pixels below the list's first shown row, -1 outside the rows.
  int RowAt(int y, int row_height) const;

 private:
  void Show(int row);

  int count_, visible_;
  int selected_ = -1, top_ = 0, hot_ = -1;
};

}  // namespace quill::kit
