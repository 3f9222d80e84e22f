// Device features against the in-process emulator through a real DriverHandler: the emulator's
// request log shows which commands went out, in which order, with which bytes.
#pragma once
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <string>
#include <vector>

#include "emulator/device_state.h"
#include "middleware/transport/tests/transport_fixture.h"

namespace quill::device::test {

// One request and the device's final reply to it.
struct Exchange {
  FeatureReport request{};
  FeatureReport reply{};
};

class DeviceTest : public quill::test::TransportTest {
 protected:
  void SetUp() override { Open(); }

  emu::DeviceState State() const { return model_.State(); }
  void Edit(const std::function<void(emu::DeviceState&)>& change) {
    emu::DeviceState state = model_.State();
    change(state);
    model_.SetState(state);
  }

  // Profile 2 with the default block, its uninterpreted bytes 23 to 28 set to marker + 14 ...
  // marker + 19 so that a write that does not carry them through shows.
  static void MarkedProfileTwo(emu::DeviceState& s, uint8_t marker) {
    s.Slot(2).name = emu::ProfileNameFromText(u"Two");
    s.Slot(2).block = emu::DefaultProfileBlock(2);
    for (size_t i = 14; i < 20; ++i) s.Slot(2).block[i] = static_cast<uint8_t>(marker + i);
  }

  // The requests the mouse received, as "R05", "W06", ... in order.
  std::vector<std::string> Sequence() const {
    std::vector<std::string> out;
    for (const Exchange& e : Exchanges()) {
      char text[8];
      std::snprintf(text, sizeof text, "%c%02X", e.request[kDirection] ? 'R' : 'W',
                    e.request[kCommand]);
      out.emplace_back(text);
    }
    return out;
  }

  std::vector<Exchange> Exchanges() const {
    std::vector<Exchange> out;
    for (const emu::LogEntry& entry : model_.LogEntries()) {
      if (entry.kind == emu::TransferKind::kRequest && entry.ok) {
        out.push_back(Exchange{entry.bytes, {}});
      } else if (entry.kind == emu::TransferKind::kPoll && entry.ok && !out.empty()) {
        out.back().reply = entry.bytes;
      }
    }
    return out;
  }

  // The write of exchange `write` sends back the reply of exchange `read` unchanged, apart from
  // the write header and the payload bytes in `changed`.
  static void ExpectEchoes(const Exchange& read, const Exchange& write, uint8_t length,
                           const std::set<size_t>& changed) {
    EXPECT_EQ(write.request[kStatus], 0);
    EXPECT_EQ(write.request[kDirection], kDirectionWrite);
    EXPECT_EQ(write.request[kCommand], read.request[kCommand]);
    EXPECT_EQ(write.request[kLength], length);
    EXPECT_EQ(write.request[kTrailer], 1);
    for (size_t i = kCounterHigh; i < kChecksum; ++i) {
      if (!changed.count(i)) {
        EXPECT_EQ(write.request[i], read.reply[i]) << "byte " << i;
      }
    }
  }
};

}  // namespace quill::device::test
