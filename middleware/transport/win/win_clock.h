// The Windows clock of the transport: Sleep, SwitchToThread and GetTickCount.
#pragma once
#include "middleware/transport/clock.h"

namespace quill::win {

class WinClock : public Clock {
 public:
  void Sleep(uint32_t milliseconds) override;
  void Yield() override;  // SwitchToThread
  uint32_t TickCount() override;
};

}  // namespace quill::win
