#include "osd/placement.h"

#include <gtest/gtest.h>

namespace quill::osd {
namespace {

bool Overlap(const Rect& a, const Rect& b) {
  return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool Inside(const Rect& r, const Rect& work) {
  return r.left >= work.left && r.top >= work.top && r.right <= work.right && r.bottom <= work.bottom;
}

// The tray's displays: profile (98/95, text), X (99/94) and Y (95/94) with bitmaps of one size.
std::vector<PanelRequest> TrayDisplays(int text_width, int bitmap_width) {
  return {{98, 95, text_width, 64, 0, 0}, {99, 94, bitmap_width, 72, 0, 0}, {95, 94, bitmap_width, 72, 0, 0}};
}

TEST(Placement, TrayDisplaysNeverOverlapAndStayInTheWorkArea) {
  const Rect work_areas[] = {{0, 0, 1024, 738}, {-1920, 0, 0, 1040}, {1920, 200, 3200, 1200}, {0, 0, 640, 450}};
  for (const Rect& work : work_areas) {
    for (int text_width : {120, 300, 520}) {
      const auto panels = TrayDisplays(text_width, 176);
      Rect placed[3];
      for (size_t i = 0; i < 3; ++i) placed[i] = PlacePanel(work, panels, i, 0);
      for (size_t i = 0; i < 3; ++i) {
        EXPECT_TRUE(Inside(placed[i], work)) << "display " << i << " in " << work.left << "," << work.top;
        EXPECT_EQ(placed[i].width(), panels[i].width);
        for (size_t j = i + 1; j < 3; ++j) {
          EXPECT_FALSE(Overlap(placed[i], placed[j])) << i << " and " << j << ", text " << text_width;
        }
      }
      EXPECT_LE(placed[2].right, placed[1].left) << "Y sits left of X";
      EXPECT_LE(placed[1].bottom, placed[0].top) << "the DPI row sits above the profile row";
    }
  }
}

TEST(Placement, LoneDisplayHasItsEdgesAtTheAnchorPercentages) {
  const Rect work{100, 50, 1100, 850};
  const Rect r = PlacePanel(work, {{90, 75, 200, 60, 0, 0}}, 0, 0);
  EXPECT_EQ(r.right, 100 + 900);
  EXPECT_EQ(r.bottom, 50 + 600);
  EXPECT_EQ(r.width(), 200);
  EXPECT_EQ(r.height(), 60);
}

TEST(Placement, OffsetMovesTheDisplayButNeverOutOfTheWorkArea) {
  const Rect work{0, 0, 1000, 800};
  Rect r = PlacePanel(work, {{50, 50, 100, 40, -30, 20}}, 0, 0);
  EXPECT_EQ(r.right, 470);
  EXPECT_EQ(r.bottom, 420);
  r = PlacePanel(work, {{99, 99, 100, 40, 500, 500}}, 0, 0);
  EXPECT_EQ(r.right, 1000);
  EXPECT_EQ(r.bottom, 800);
  // Wider than the work area: the left and top edges stay visible.
  r = PlacePanel(work, {{100, 100, 1500, 900, 0, 0}}, 0, 0);
  EXPECT_EQ(r.left, 0);
  EXPECT_EQ(r.top, 0);
}

TEST(Placement, DisplaysWithoutContentTakeNoRoom) {
  const Rect work{0, 0, 1000, 800};
  const std::vector<PanelRequest> panels = {{99, 94, 0, 0, 0, 0}, {95, 94, 150, 70, 0, 0}};
  EXPECT_EQ(PlacePanel(work, panels, 1, 0).right, 950);
}

TEST(Placement, GapIsKeptBetweenNeighbours) {
  const Rect work{0, 0, 1000, 800};
  const std::vector<PanelRequest> panels = {{99, 94, 150, 70, 0, 0}, {98, 94, 150, 70, 0, 0}};
  EXPECT_EQ(PlacePanel(work, panels, 1, 8).right, PlacePanel(work, panels, 0, 8).left - 8);
}

}  // namespace
}  // namespace quill::osd
