// The Windows clock of the transport: Sleep, GetTickCount, and a yield that gives the
// processor away even when no other thread is ready to run.
#pragma once
#include "middleware/transport/clock.h"

namespace quill::win {

class WinClock : public Clock {
 public:
  void Sleep(uint32_t milliseconds) override;
  // SwitchToThread; when no other thread was ready, Sleep(1), so that a waiter for the device
  // lock does not keep a core busy for the whole of another process's exchange.
  void Yield() override;
  uint32_t TickCount() override;
};

}  // namespace quill::win
