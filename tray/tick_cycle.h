// The tray's 500 ms timer: a cycle of 21 ticks that runs the application check on tick 5 and
// the device check when the counter wraps from 20 to 0, and the countdowns of the three
// on-screen displays, which hide a display ten ticks after it was shown.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace quill::tray {

constexpr int32_t kTicksPerCycle = 21;
constexpr int32_t kApplicationCheckTick = 5;
constexpr int32_t kDisplayTicks = 10;   // 5 s
constexpr uint32_t kTimerId = 275;
constexpr uint32_t kTimerMilliseconds = 500;

struct TickWork {
  bool applicationCheck = false;  // runs before the counter advances
  bool deviceCheck = false;       // runs after it
};

class TickCycle {
 public:
  // What this tick runs; advances the counter.
  TickWork Advance();
  int32_t counter() const { return counter_; }

 private:
  int32_t counter_ = 0;
};

enum Display : std::size_t { kProfileDisplay = 0, kXDisplay = 1, kYDisplay = 2, kDisplayCount = 3 };

class DisplayCountdowns {
 public:
  // Shown: counts kDisplayTicks; hidden: 0.
  void Start(Display display) { ticks_[display] = kDisplayTicks; }
  void Stop(Display display) { ticks_[display] = 0; }
  // One tick: each running countdown goes down by one; the result says which displays reached
  // the end now and are to be hidden.
  std::array<bool, kDisplayCount> Step();
  int32_t ticks(Display display) const { return ticks_[display]; }

 private:
  std::array<int32_t, kDisplayCount> ticks_{};
};

}  // namespace quill::tray
