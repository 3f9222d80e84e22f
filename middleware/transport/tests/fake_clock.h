// A clock for tests: records every sleep and yield, advances its tick count by them, and
// never waits. A hook can act at a given sleep (for example replug the mouse during a pause).
#pragma once
#include <cstdint>
#include <functional>
#include <thread>
#include <vector>

#include "middleware/transport/clock.h"

namespace quill::test {

class FakeClock : public Clock {
 public:
  void Sleep(uint32_t milliseconds) override {
    sleeps_.push_back(milliseconds);
    now_ += milliseconds;
    if (on_sleep_) on_sleep_(milliseconds);
  }
  // Advances the ticks by 1 ms and lets other threads run.
  void Yield() override {
    ++yields_;
    ++now_;
    std::this_thread::yield();
  }
  uint32_t TickCount() override { return now_; }

  const std::vector<uint32_t>& sleeps() const { return sleeps_; }
  unsigned yields() const { return yields_; }
  uint64_t SleptMs() const {
    uint64_t sum = 0;
    for (uint32_t s : sleeps_) sum += s;
    return sum;
  }
  void Reset() {
    sleeps_.clear();
    yields_ = 0;
  }
  void OnSleep(std::function<void(uint32_t)> hook) { on_sleep_ = std::move(hook); }

 private:
  std::vector<uint32_t> sleeps_;
  unsigned yields_ = 0;
  uint32_t now_ = 1000;
  std::function<void(uint32_t)> on_sleep_;
};

}  // namespace quill::test
