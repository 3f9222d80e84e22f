#include "configurator/kit/list_columns.h"

#include <gtest/gtest.h>

namespace quill::kit {
namespace {

TEST(ListColumns, ColumnUnderAPointAndLeftEdges) {
  const std::vector<int> widths = {24, 150, 0, 120, 80};  // a hidden column of width 0
  struct Case { int x, column; } cases[] = {{-1, -1}, {0, 0}, {23, 0}, {24, 1}, {173, 1}, {174, 3}, {293, 3},
                                            {294, 4}, {373, 4}, {374, -1}};
  for (const auto& c : cases) EXPECT_EQ(ColumnAt(widths, c.x), c.column) << c.x;
  EXPECT_EQ(ColumnLeft(widths, 3), 174);
  EXPECT_EQ(ColumnLeft(widths, 9), 374);
  EXPECT_EQ(ColumnAt({}, 5), -1);
}

TEST(ListColumns, MenuSelectionSkipsSeparatorsAndDisabledItemsAndWraps) {
  const std::vector<bool> items = {true, false, true, true, false};
  EXPECT_EQ(NextSelectable(items, -1, +1), 0);
  EXPECT_EQ(NextSelectable(items, -1, -1), 3);
  EXPECT_EQ(NextSelectable(items, 0, +1), 2);
  EXPECT_EQ(NextSelectable(items, 3, +1), 0);  // wraps past the disabled last item
  EXPECT_EQ(NextSelectable(items, 0, -1), 3);
  EXPECT_EQ(NextSelectable({false, false}, -1, 1), -1);
  EXPECT_EQ(NextSelectable({}, 0, 1), -1);
  EXPECT_EQ(NextSelectable({true}, 0, 1), 0);
}

}  // namespace
}  // namespace quill::kit
