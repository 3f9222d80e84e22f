// A DriverHandler on the in-process emulator, with a fake clock and a process-local lock.
#pragma once
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "emulator/in_process_port.h"
#include "emulator/quillfern_model.h"
#include "middleware/transport/commands.h"
#include "middleware/transport/device_ids.h"
#include "middleware/transport/driver_handler.h"
#include "middleware/transport/local_device_lock.h"
#include "middleware/transport/tests/fake_clock.h"

namespace quill::test {

class TransportTest : public ::testing::Test {
 protected:
  TransportTest() : port_(model_), lock_(lock_state_), handler_(port_, lock_, clock_) {
    handler_.SetTraceHook([this](std::string_view m) { traces_.emplace_back(m); });
  }

  // Finds the mouse, then forgets what the search did.
  void Open() {
    ASSERT_EQ(handler_.Initialise(QUILLFERN_PID), kS_OK);
    Forget();
  }
  void Forget() {
    clock_.Reset();
    model_.ClearLog();
    port_.ResetCounters();
    traces_.clear();
  }
  // Successful command requests the mouse received (reset reports and polls left out).
  std::vector<emu::LogEntry> Requests() const {
    std::vector<emu::LogEntry> out;
    for (const emu::LogEntry& e : model_.LogEntries())
      if (e.kind == emu::TransferKind::kRequest) out.push_back(e);
    return out;
  }
  bool Traced(const std::string& message) const {
    for (const std::string& t : traces_)
      if (t == message) return true;
    return false;
  }

  emu::QuillfernModel model_;
  emu::InProcessPort port_;
  FakeClock clock_;
  LocalLockState lock_state_;
  LocalDeviceLock lock_;
  DriverHandler handler_;
  std::vector<std::string> traces_;
};

}  // namespace quill::test
