#include "middleware/transport/win/win_clock.h"

#include <windows.h>
#undef Yield  // obsolete 16-bit macro; clashes with Clock::Yield

namespace quill::win {

void WinClock::Sleep(uint32_t milliseconds) { ::Sleep(milliseconds); }

void WinClock::Yield() { ::SwitchToThread(); }

uint32_t WinClock::TickCount() { return ::GetTickCount(); }

}  // namespace quill::win
