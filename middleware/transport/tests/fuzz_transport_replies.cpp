// Device replies of any content, fed to the exchange loop and to every reply reader of the
// command layer. Input: a sequence of 91-byte replies (the last one zero-padded).
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <vector>

#include "middleware/transport/commands.h"
#include "middleware/transport/device_ids.h"
#include "middleware/transport/driver_handler.h"

namespace {

using namespace quill;

struct Replies {
  std::vector<FeatureReport> list;
  size_t next = 0;
  bool Take(uint8_t* out) {
    if (next >= list.size()) return false;
    std::memcpy(out, list[next++].data(), kFeatureReportSize);
    return true;
  }
};

// A device that accepts every request and answers polls from the input until it runs out.
class ReplyDevice : public HidDevice {
 public:
  explicit ReplyDevice(Replies& replies) : replies_(replies) {}
  bool GetAttributes(HidAttributes& a) override {
    a = HidAttributes{VENDOR_ID, QUILLFERN_PID, 1};
    return true;
  }
  bool SetFeature(const uint8_t*, size_t) override { return true; }
  bool GetFeature(uint8_t* report, size_t) override { return replies_.Take(report); }

 private:
  Replies& replies_;
};

class ReplyPort : public HidPort {
 public:
  explicit ReplyPort(Replies& replies) : replies_(replies) {}
  bool BeginEnumeration() override { return true; }
  uint32_t InterfaceAt(uint32_t index, std::u16string& path) override {
    if (index > 0) return kErrorNoMoreItems;
    path = u"\\\\?\\hid#fuzz";
    return 0;
  }
  void EndEnumeration() override {}
  std::unique_ptr<HidDevice> Open(const std::u16string&) override {
    return std::make_unique<ReplyDevice>(replies_);
  }

 private:
  Replies& replies_;
};

class NoWaitClock : public Clock {
 public:
  void Sleep(uint32_t ms) override { now_ += ms; }
  void Yield() override { ++now_; }
  uint32_t TickCount() override { return now_; }

 private:
  uint32_t now_ = 0;
};

class OpenLock : public DeviceLock {
 public:
  Attempt TryAcquire() override { return Attempt::kAcquired; }
  void Release() override {}
};

// Answers each request with the next reply of the input.
class ReplyChannel : public FeatureChannel {
 public:
  explicit ReplyChannel(Replies& replies) : replies_(replies) {}
  HResult SetFeatureRaw(FeatureReport& r, size_t, bool) override { return Answer(r); }
  HResult GetFeatureRaw(FeatureReport& r, size_t, bool) override { return Answer(r); }

 private:
  HResult Answer(FeatureReport& r) {
    if (!replies_.Take(r.data())) return kE_ABORT;
    return r[kStatus] == kStatusDone ? kS_OK : kE_FAIL;
  }
  Replies& replies_;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  Replies replies;
  for (size_t at = 0; at < size; at += kFeatureReportSize) {
    FeatureReport r{};
    std::memcpy(r.data(), data + at, std::min(kFeatureReportSize, size - at));
    replies.list.push_back(r);
  }
  if (replies.list.size() > 4000) return 0;  // the exchange reads at most 20 x 1000 replies

  {
    ReplyPort port(replies);
    NoWaitClock clock;
    OpenLock lock;
    DriverHandler handler(port, lock, clock);
    handler.Initialise(QUILLFERN_PID);
    FeatureReport report = BuildPerformanceRead();
    handler.GetFeatureRaw(report, report.size(), true);
  }

  for (const FeatureReport& r : replies.list) {
    (void)ParseProfileName(r);
    (void)ParseMacroName(r);
    (void)ReplyPayload(r);
    (void)ReplyText(r, r[0] % kFeatureReportSize, r[1]);
    (void)ReplyBytes(r, r[2] % kFeatureReportSize, r[3]);
  }
  replies.next = 0;
  ReplyChannel channel(replies);
  MacroDirectory directory;
  ReadMacroDirectory(channel, directory);
  std::vector<uint8_t> macro;
  const size_t length = size >= 2 ? (data[0] << 8 | data[1]) % 2000 : 0;
  ReadMacroData(channel, 1, length, macro);
  return 0;
}
