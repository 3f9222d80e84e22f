// A Clock on the standard library's steady clock, for native programs (benchmarks, tools).
#pragma once
#include "middleware/transport/clock.h"

namespace quill {

class SteadyClock : public Clock {
 public:
  void Sleep(uint32_t milliseconds) override;
  void Yield() override;
  uint32_t TickCount() override;  // milliseconds, wrapping like GetTickCount
};

}  // namespace quill
