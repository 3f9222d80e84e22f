// The benchmarks' clock: the platform's real clock, adding up the pauses the transport asked
// for, so that the time an operation takes beyond the protocol's pauses can be printed.
#pragma once
#include <atomic>
#include <cstdint>

#include "middleware/transport/clock.h"

#ifdef _WIN32
#include "middleware/transport/win/win_clock.h"
#else
#include "middleware/transport/steady_clock.h"
#endif

namespace quill::bench {

#ifdef _WIN32
using RealClock = win::WinClock;
#else
using RealClock = SteadyClock;
#endif

class MeasuredClock : public Clock {
 public:
  explicit MeasuredClock(Clock& inner) : inner_(inner) {}
  void Sleep(uint32_t ms) override {
    requested_ += ms;
    inner_.Sleep(ms);
  }
  void Yield() override { inner_.Yield(); }
  uint32_t TickCount() override { return inner_.TickCount(); }
  // Milliseconds of pause asked for so far.
  uint64_t requested() const { return requested_; }

 private:
  Clock& inner_;
  std::atomic<uint64_t> requested_{0};
};

}  // namespace quill::bench
