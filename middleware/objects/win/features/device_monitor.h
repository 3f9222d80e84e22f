// The process-wide device monitor. The mouse reports a DPI or profile change by sending the key
// F20; a low-level keyboard hook on the thread of the first listener notices the key-down,
// timer 1 (20 ms) posts UM_DEVICE_EVENT to a message-only window, and the window calls every
// listener in registration order. Timer 2 (40 ms, restarted by each press) stops both timers.
// The hook does no device I/O. The monitor lives while at least one listener is registered;
// that thread must pump messages.
#pragma once
#include <windows.h>

namespace quill::server {

inline constexpr UINT UM_DEVICE_EVENT = WM_USER + 5;
inline constexpr UINT_PTR kPostTimer = 1;
inline constexpr UINT kPostTimerMs = 20;
inline constexpr UINT_PTR kStopTimer = 2;
inline constexpr UINT kStopTimerMs = 40;

// A registered object (IMeridex). The monitor holds a reference to each listener while it
// calls them, so a listener released from inside a call is not freed under the monitor.
class DeviceEventListener {
 public:
  virtual void ListenerAddRef() = 0;
  virtual void ListenerRelease() = 0;
  virtual void OnDeviceEvent() = 0;

 protected:
  ~DeviceEventListener() = default;
};

// Appends `listener`; the first one starts the monitor (hook, then window): E_OUTOFMEMORY, or
// HRESULT_FROM_WIN32 of the failing call, and the listener is not registered then.
HRESULT RegisterDeviceListener(DeviceEventListener* listener);
// Removes `listener`; the last one stops the monitor (unhook, destroy the window). E_FAIL
// without a monitor or for a listener that is not registered.
HRESULT UnregisterDeviceListener(DeviceEventListener* listener);
// The monitor window while the monitor runs, else null.
HWND DeviceMonitorWindow();

}  // namespace quill::server
