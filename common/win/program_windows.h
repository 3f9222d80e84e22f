// Finding the desktop programs' windows, and waiting without blocking the thread's messages.
#pragma once
#include <windows.h>

#include <string_view>

namespace quill::win {

// The tray window by class and title.
HWND FindTrayWindow();
// A window whose text is exactly title, among all windows below the desktop window.
HWND FindWindowByExactTitle(std::u16string_view title);
// The configuration application's main dialog: the parent of the marker control, searched among
// the child windows of every top-level window. Null when it does not run.
HWND FindConfiguratorMarker();
inline HWND FindConfiguratorDialog() {
  HWND marker = FindConfiguratorMarker();
  return marker ? GetParent(marker) : nullptr;
}

// Waits milliseconds while dispatching this thread's messages (hooks, COM, timers keep
// running). Returns false early when WM_QUIT arrived (it is posted again for the caller's loop).
bool PumpingWait(DWORD milliseconds);

// Waits up to milliseconds (INFINITE: without limit) for object to be signalled while
// dispatching this thread's messages. True when it was signalled; false when the time passed or
// WM_QUIT arrived (posted again for the caller's loop).
bool PumpingWaitFor(HANDLE object, DWORD milliseconds);

}  // namespace quill::win
