#include "tray/tick_cycle.h"

namespace quill::tray {

TickWork TickCycle::Advance() {
  TickWork work;
  work.applicationCheck = counter_ == kApplicationCheckTick;
  if (counter_ == kTicksPerCycle - 1) {
    counter_ = 0;
    work.deviceCheck = true;
  } else {
    ++counter_;
  }
  return work;
}

std::array<bool, kDisplayCount> DisplayCountdowns::Step() {
  std::array<bool, kDisplayCount> hide{};
  for (size_t i = 0; i < kDisplayCount; ++i) {
    if (ticks_[i] > 0) {
      hide[i] = ticks_[i] == 1;
      --ticks_[i];
    }
  }
  return hide;
}

}  // namespace quill::tray
