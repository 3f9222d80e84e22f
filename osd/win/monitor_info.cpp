#include "osd/win/monitor_info.h"

#include "osd/win/argb_surface.h"

namespace quill::osd {

namespace {

// GetDpiForMonitor (Windows 8.1 and later) is looked up once; without it the screen's DPI.
// It answers what the process can use: 96 for a process the system scales, the system DPI
// for one that is aware of that only.
using GetDpiForMonitorFn = HRESULT(WINAPI*)(HMONITOR, int, UINT*, UINT*);

GetDpiForMonitorFn DpiForMonitorFunction() {
  HMODULE shcore = LoadLibraryW(L"shcore.dll");
  return shcore ? reinterpret_cast<GetDpiForMonitorFn>(reinterpret_cast<void*>(GetProcAddress(shcore, "GetDpiForMonitor")))
                : nullptr;
}

int ScreenDpi() {
  win::WindowDc screen(nullptr);
  const int dpi = screen.Get() ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 0;
  return dpi > 0 ? dpi : 96;
}

}  // namespace

MonitorPlace MonitorUnderPointer() {
  MonitorPlace place;
  POINT pointer{};
  GetCursorPos(&pointer);
  HMONITOR monitor = MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  if (monitor && GetMonitorInfoW(monitor, &info)) {
    place.work_area = info.rcWork;
  } else {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &place.work_area, 0);
  }

  static const GetDpiForMonitorFn get_dpi = DpiForMonitorFunction();
  UINT x = 0, y = 0;
  constexpr int kEffectiveDpi = 0;
  if (get_dpi && monitor && SUCCEEDED(get_dpi(monitor, kEffectiveDpi, &x, &y)) && y > 0) {
    place.dpi = static_cast<int>(y);
  } else {
    place.dpi = ScreenDpi();
  }
  return place;
}

}  // namespace quill::osd
