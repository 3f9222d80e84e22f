// Small builders of requests and a complete exchange (request, polls, reset) for the tests.
#pragma once
#include <initializer_list>
#include <vector>

#include "emulator/quillfern_model.h"

namespace quill::emu::test {

// A request with the header of the command table; `payload` goes to bytes 9 on.
inline FeatureReport Request(uint8_t direction, uint8_t command, uint8_t length,
                             std::initializer_list<uint8_t> payload = {}) {
  FeatureReport r{};
  r[kFixedOne] = 1;
  r[kDirection] = direction;
  r[kCommand] = command;
  r[kLength] = length;
  size_t i = kPayload;
  for (uint8_t b : payload) r[i++] = b;
  r[kTrailer] = 1;
  r[kChecksum] = ReportChecksum(r);
  return r;
}
inline FeatureReport Read(uint8_t command, uint8_t length = 0, std::initializer_list<uint8_t> payload = {}) {
  return Request(1, command, length, payload);
}
inline FeatureReport Write(uint8_t command, uint8_t length, std::initializer_list<uint8_t> payload = {}) {
  return Request(0, command, length, payload);
}
// Turns a reply into a write request the way read-modify-write writers do.
inline FeatureReport AsWrite(FeatureReport reply, uint8_t length) {
  reply[kStatus] = 0;
  reply[kDirection] = 0;
  reply[kLength] = length;
  reply[kChecksum] = 0;
  reply[kTrailer] = 1;
  reply[kChecksum] = ReportChecksum(reply);
  return reply;
}
inline FeatureReport WithChecksum(FeatureReport r) {
  r[kChecksum] = ReportChecksum(r);
  return r;
}

// One client's handle on the model, exchanging as the transport does.
struct Client {
  QuillfernModel& model;
  uint32_t id = 1;
  uint64_t handle = 0;

  explicit Client(QuillfernModel& m, uint32_t client_id = 1) : model(m), id(client_id) {
    handle = model.OpenHandle(model.DevicePath()).value_or(0);
  }
  bool Send(const FeatureReport& r) { return model.SetFeature(handle, id, r.data(), r.size()); }
  bool Poll(FeatureReport& reply) { return model.GetFeature(handle, id, reply.data(), reply.size()); }
  bool Reset() {
    const FeatureReport reset = MakeResetReport();
    return model.SetFeature(handle, id, reset.data(), reset.size());
  }
  // Request, polls until the status is not busy (at most 1000), reset. Returns the last reply.
  FeatureReport Exchange(const FeatureReport& r, std::vector<uint8_t>* statuses = nullptr) {
    FeatureReport reply{};
    if (Send(r)) {
      for (int i = 0; i < 1000; ++i) {
        if (!Poll(reply)) break;
        if (statuses) statuses->push_back(reply[kStatus]);
        if (reply[kStatus] > 1) break;
      }
    }
    Reset();
    return reply;
  }
};

}  // namespace quill::emu::test
