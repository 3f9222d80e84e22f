#include "configurator/kit/list_cursor.h"

#include <gtest/gtest.h>

namespace quill::kit {
namespace {

TEST(ListCursor, KeyboardNavigationKeepsTheSelectionInView) {
  ListCursor c(20, 5);
  struct Step { ListKey key; int selected, top; } steps[] = {
      {ListKey::kDown, 0, 0},     // nothing selected: the first row
      {ListKey::kUp, 0, 0},       // stays at the top
      {ListKey::kPageDown, 4, 0}, {ListKey::kDown, 5, 1}, {ListKey::kPageDown, 9, 5},
      {ListKey::kEnd, 19, 15},    {ListKey::kDown, 19, 15}, {ListKey::kPageUp, 15, 15},
      {ListKey::kUp, 14, 14},     {ListKey::kHome, 0, 0},
  };
  for (const auto& s : steps) {
    c.Navigate(s.key);
    EXPECT_EQ(c.selected(), s.selected);
    EXPECT_EQ(c.top(), s.top);
  }
  ListCursor empty(0, 5);
  EXPECT_FALSE(empty.Navigate(ListKey::kDown));
  EXPECT_EQ(empty.selected(), -1);
  ListCursor fresh(3, 5);
  fresh.Navigate(ListKey::kUp);  // nothing selected: Up starts at the last row
  EXPECT_EQ(fresh.selected(), 2);
}

TEST(ListCursor, WheelHitTestAndShrinkingLists) {
  ListCursor c(10, 4);
  EXPECT_TRUE(c.ScrollBy(3));
  EXPECT_EQ(c.top(), 3);
  EXPECT_TRUE(c.ScrollBy(100));
  EXPECT_EQ(c.top(), 6);  // the last rows fill the view
  EXPECT_FALSE(c.ScrollBy(1));
  EXPECT_EQ(c.RowAt(0, 20), 6);
  EXPECT_EQ(c.RowAt(79, 20), 9);
  EXPECT_EQ(c.RowAt(80, 20), -1);  // below the shown rows
  EXPECT_EQ(c.RowAt(-1, 20), -1);
  EXPECT_EQ(c.RowAt(5, 0), -1);
  c.Select(9);
  c.SetHot(8);
  c.SetCount(5);  // rows went away under the selection, hot row and view
  EXPECT_EQ(c.selected(), 4);
  EXPECT_EQ(c.hot(), -1);
  EXPECT_EQ(c.top(), 1);
  EXPECT_EQ(ListCursor(2, 4).RowAt(50, 20), -1);  // below the last of fewer rows than fit
  EXPECT_FALSE(c.SetHot(99));
}

}  // namespace
}  // namespace quill::kit
