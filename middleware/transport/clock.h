// Sleeps and ticks of the transport, behind a seam so tests check pauses without waiting.
#pragma once
#include <cstdint>

// <windows.h> still defines the 16-bit Yield() as an empty macro, which would swallow the
// method below; Windows code that includes it after this header undefines it again.
#ifdef Yield
#undef Yield
#endif

namespace quill {

class Clock {
 public:
  virtual ~Clock() = default;
  virtual void Sleep(uint32_t milliseconds) = 0;
  // Gives up the rest of the time slice (Sleep(0) / a short sleep) between lock attempts.
  virtual void Yield() = 0;
  virtual uint32_t TickCount() = 0;
};

}  // namespace quill
