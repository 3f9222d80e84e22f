// The monitor a display appears on: the one under the mouse pointer, its work area and the
// DPI the display is drawn for.
#pragma once
#include <windows.h>

namespace quill::osd {

struct MonitorPlace {
  RECT work_area{};
  int dpi = 96;
};

MonitorPlace MonitorUnderPointer();

}  // namespace quill::osd
