// Where the displays of a process sit in a monitor's work area. Each display asks for its
// right edge at anchor_x percent of the work area's width and its bottom edge at anchor_y
// percent of its height. Displays with the same anchor_y form a row: the one with the highest
// anchor_x keeps its place and each further one moves left of its neighbour when it would
// touch it. Rows stack the same way upwards from the one with the highest anchor_y. So the
// displays never overlap, whatever they show, and each keeps its place while others come and
// go. The offset is added last and the result is kept inside the work area.
#pragma once
#include <cstddef>
#include <vector>

namespace quill::osd {

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;
  int width() const { return right - left; }
  int height() const { return bottom - top; }
};

struct PanelRequest {
  int anchor_x = 0;  // percent
  int anchor_y = 0;  // percent
  int width = 0;     // pixels; a panel of no size takes no room
  int height = 0;
  int offset_x = 0;  // pixels
  int offset_y = 0;
};

// The rectangle of panels[which] among all panels of the process. `gap`: pixels kept between
// neighbours. Ties of anchor_x keep the order of the list (the earlier one to the right).
Rect PlacePanel(const Rect& work_area, const std::vector<PanelRequest>& panels, std::size_t which, int gap);

}  // namespace quill::osd
