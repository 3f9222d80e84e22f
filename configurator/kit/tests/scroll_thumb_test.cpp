#include "configurator/kit/scroll_thumb.h"

#include <gtest/gtest.h>

namespace quill::kit {
namespace {

TEST(ScrollThumb, PlaceAndLengthFollowTheShownRows) {
  // 100 rows, 10 shown, a 200-pixel track: a 20-pixel thumb moving over 180 pixels.
  EXPECT_EQ(ThumbOf(100, 10, 0, 200, 12).offset, 0);
  EXPECT_EQ(ThumbOf(100, 10, 0, 200, 12).length, 20);
  EXPECT_EQ(ThumbOf(100, 10, 90, 200, 12).offset, 180);  // the last rows: at the end
  EXPECT_EQ(ThumbOf(100, 10, 45, 200, 12).offset, 90);
  EXPECT_EQ(ThumbOf(100, 10, 500, 200, 12).offset, 180);  // a top beyond the end counts as the end
  EXPECT_EQ(ThumbOf(10000, 10, 0, 200, 12).length, 12);   // never shorter than the least length
  EXPECT_EQ(ThumbOf(5, 10, 0, 200, 12).length, 200);      // all shown: the whole track
  EXPECT_EQ(ThumbOf(100, 10, 3, 8, 12).length, 8);        // a track shorter than the least length
  EXPECT_EQ(ThumbOf(100, 0, 3, 200, 12).length, 200);
}

TEST(ScrollThumb, DraggingTheThumbGivesBackTheTopRow) {
  for (int top = 0; top <= 90; ++top) {
    EXPECT_EQ(TopForThumb(100, 10, ThumbOf(100, 10, top, 200, 12).offset, 200, 12), top);
  }
  EXPECT_EQ(TopForThumb(100, 10, -50, 200, 12), 0);
  EXPECT_EQ(TopForThumb(100, 10, 5000, 200, 12), 90);
  EXPECT_EQ(TopForThumb(5, 10, 50, 200, 12), 0);
  EXPECT_EQ(TopForThumb(100, 10, 5, 8, 12), 0);  // no room to move
}

}  // namespace
}  // namespace quill::kit
