// The HID layer of the emulated mouse: busy polls, scripted statuses, checksum, failing
// transfers, the reset report, and the request log with its interleave check.
#include <gtest/gtest.h>

#include "emulator/quillfern_model.h"
#include "emulator/tests/report_helpers.h"

namespace quill::emu {
namespace {

using test::Client;
using test::Read;
using test::Write;

FeatureReport RateWrite(uint8_t code) { return Write(kCmdPerformance, 5, {1, code, 3, 68, 68}); }

TEST(TransferTest, BusyPollsThenOneReplyActedOnOnce) {
  QuillfernModel model;
  model.SetBusyPolls(3);
  Client a(model);
  const uint64_t version = model.StateVersion();
  ASSERT_TRUE(a.Send(RateWrite(8)));
  FeatureReport reply{};
  for (int i = 0; i < 3; ++i) {
    ASSERT_TRUE(a.Poll(reply));
    EXPECT_EQ(reply[kStatus], kStatusBusy1);
    EXPECT_EQ(model.State().performance.polling_rate_code, 2) << "not acted on while busy";
  }
  for (int i = 0; i < 4; ++i) {  // polls after the reply repeat it
    ASSERT_TRUE(a.Poll(reply));
    EXPECT_EQ(reply[kStatus], kStatusDone);
  }
  EXPECT_EQ(model.State().performance.polling_rate_code, 8);
  EXPECT_EQ(model.StateVersion(), version + 1);
  EXPECT_EQ(model.LoggedRequests(kCmdPerformance).size(), 1u);
  ASSERT_TRUE(a.Reset());
}

struct ScriptCase {
  const char* what;
  StatusScript script;
  int exchanges;
  std::vector<std::vector<uint8_t>> statuses;  // per exchange
  bool applied;                                // the write took effect
};

TEST(TransferTest, ScriptedStatuses) {
  const ScriptCase cases[] = {
      {"busy three times, then done", {{1, 1, 1, 2}, false}, 2, {{1, 1, 1, 2}, {2}}, true},
      {"retryable error forever", {{5}, true}, 3, {{5}, {5}, {5}}, false},
      {"final failure once", {{9}, false}, 1, {{9}}, false},
      {"error then done", {{5, 2}, false}, 2, {{5}, {2}}, true},
      {"busy 0 counts as busy", {{0, 2}, false}, 1, {{0, 2}}, true},
  };
  for (const ScriptCase& c : cases) {
    QuillfernModel model;
    model.SetStatusScript(kCmdPerformance, c.script);
    Client a(model);
    for (int e = 0; e < c.exchanges; ++e) {
      std::vector<uint8_t> seen;
      a.Exchange(test::WithChecksum(RateWrite(1)), &seen);
      EXPECT_EQ(seen, c.statuses[static_cast<size_t>(e)]) << c.what << ", exchange " << e;
    }
    EXPECT_EQ(model.State().performance.polling_rate_code, c.applied ? 1 : 2) << c.what;
    // Other commands are not affected by the script.
    EXPECT_EQ(a.Exchange(Read(kCmdDeviceInfo, 1))[kStatus], kStatusDone) << c.what;
  }
}

TEST(TransferTest, BadChecksumIsAnsweredRetryableAndNotActedOn) {
  QuillfernModel model;
  Client a(model);
  FeatureReport request = RateWrite(8);
  request[kChecksum] ^= 0x40;
  const FeatureReport reply = a.Exchange(request);
  EXPECT_EQ(reply[kStatus], kStatusChecksumError);
  EXPECT_EQ(model.State().performance.polling_rate_code, 2);
  const auto log = model.LogEntries();
  ASSERT_GE(log.size(), 2u);
  EXPECT_EQ(log[0].note, "bad checksum");
  EXPECT_EQ(log[1].status, kStatusChecksumError);
  // A request whose bytes 3 to 88 are zero has checksum 0; bytes 0 to 2 do not count.
  FeatureReport zero{};
  zero[kFixedOne] = 1;
  zero[kTrailer] = 1;
  EXPECT_EQ(ReportChecksum(zero), 0);
}

TEST(TransferTest, ResetReportEndsTheExchange) {
  QuillfernModel model;
  Client a(model);
  ASSERT_TRUE(a.Send(Read(kCmdPerformance)));
  ASSERT_TRUE(a.Reset());
  FeatureReport reply{};
  ASSERT_TRUE(a.Poll(reply));
  EXPECT_EQ(reply, MakeResetReport()) << "nothing pending: idle report, status 0";
  EXPECT_EQ(model.LogEntries().back().note, "no request pending");
  EXPECT_EQ(model.LogEntries()[1].kind, TransferKind::kReset);
}

TEST(TransferTest, InjectedTransferFailures) {
  QuillfernModel model;
  Client a(model);
  model.FailNextSetFeatures(2);
  EXPECT_FALSE(a.Send(Read(kCmdPerformance)));
  EXPECT_FALSE(a.Send(Read(kCmdPerformance)));
  EXPECT_TRUE(a.Reset()) << "reset writes are counted separately";
  EXPECT_TRUE(a.Send(Read(kCmdPerformance)));
  model.FailNextGetFeatures(1);
  FeatureReport reply{};
  EXPECT_FALSE(a.Poll(reply));
  EXPECT_TRUE(a.Poll(reply));
  EXPECT_EQ(reply[kStatus], kStatusDone);
  model.FailNextResets(1);
  EXPECT_FALSE(a.Reset());
  EXPECT_TRUE(a.Reset());
  unsigned failed = 0;
  for (const LogEntry& e : model.LogEntries()) failed += e.ok ? 0 : 1;
  EXPECT_EQ(failed, 4u);
  // Transfers that no HID stack would carry.
  FeatureReport id = Read(kCmdPerformance);
  id[kReportId] = 3;
  EXPECT_FALSE(a.Send(id));
  EXPECT_FALSE(model.SetFeature(a.handle, 1, id.data(), 90));
  EXPECT_FALSE(model.GetFeature(a.handle, 1, reply.data(), 92));
}

TEST(TransferTest, LogRecordsClientsKindsAndBytes) {
  QuillfernModel model;
  Client a(model, 100), b(model, 200);
  a.Exchange(Read(kCmdDeviceInfo, 1));
  b.Exchange(Read(kCmdPerformance));
  const auto log = model.LogEntries();
  ASSERT_EQ(log.size(), 6u);
  EXPECT_EQ(log[0].client, 100u);
  EXPECT_EQ(log[0].kind, TransferKind::kRequest);
  EXPECT_EQ(log[0].bytes, Read(kCmdDeviceInfo, 1));
  EXPECT_EQ(log[1].kind, TransferKind::kPoll);
  EXPECT_EQ(log[1].command, kCmdDeviceInfo);
  EXPECT_EQ(log[1].status, kStatusDone);
  EXPECT_EQ(log[2].kind, TransferKind::kReset);
  EXPECT_EQ(log[3].client, 200u);
  EXPECT_LT(log[0].sequence, log[5].sequence);
  EXPECT_EQ(model.LoggedRequests(kCmdPerformance).size(), 1u);
  EXPECT_TRUE(model.Interleavings().empty());
  EXPECT_EQ(model.InterleaveVerdict(), "interleave: none\n");
  EXPECT_NE(model.FormatLog().find("client=200 request cmd=05 ok"), std::string::npos);
  model.ClearLog();
  EXPECT_TRUE(model.LogEntries().empty());
}

// The printed log read back line by line: kind of each transfer, and which requests write.
TEST(TransferTest, PrintedLogLinesTellKindAndDirection) {
  QuillfernModel model;
  Client a(model);
  a.Exchange(Read(kCmdPerformance));
  a.Exchange(RateWrite(1));
  std::vector<std::pair<TransferKind, bool>> kinds;
  const std::string log = model.FormatLog();
  for (size_t start = 0, end; start < log.size(); start = end + 1) {
    end = log.find('\n', start);
    LogLineKind kind;
    ASSERT_TRUE(ReadLogLineKind(std::string_view(log).substr(start, end - start), kind)) << log;
    kinds.emplace_back(kind.kind, kind.write);
  }
  const std::vector<std::pair<TransferKind, bool>> expected = {
      {TransferKind::kRequest, false}, {TransferKind::kPoll, false}, {TransferKind::kReset, false},
      {TransferKind::kRequest, true},  {TransferKind::kPoll, false}, {TransferKind::kReset, false}};
  EXPECT_EQ(kinds, expected);
  LogLineKind none;
  EXPECT_FALSE(ReadLogLineKind("interleave: none", none));
}

TEST(TransferTest, InterleavedExchangesAreFlagged) {
  QuillfernModel model;
  Client a(model, 1), b(model, 2);
  FeatureReport reply{};
  ASSERT_TRUE(a.Send(Read(kCmdPerformance)));
  ASSERT_TRUE(b.Send(Read(kCmdDeviceInfo, 1)));  // inside a's exchange
  ASSERT_TRUE(a.Poll(reply));
  EXPECT_EQ(reply[kCommand], kCmdDeviceInfo) << "the device answers the last request it got";
  a.Reset();       // inside b's exchange as well
  b.Poll(reply);  // a closed, b is still open: no intrusion
  b.Reset();
  ASSERT_TRUE(a.Send(Read(kCmdPerformance)));
  b.Reset();  // a reset from another client inside a's exchange
  a.Reset();

  const auto found = model.Interleavings();
  ASSERT_EQ(found.size(), 4u);
  EXPECT_EQ(found[0].owner, 1u);
  EXPECT_EQ(found[0].intruder, 2u);
  EXPECT_EQ(found[0].kind, TransferKind::kRequest);
  EXPECT_EQ(found[1].owner, 2u) << "a polled while b's exchange was open";
  EXPECT_EQ(found[1].kind, TransferKind::kPoll);
  EXPECT_EQ(found[2].kind, TransferKind::kReset);
  EXPECT_EQ(found[2].owner, 2u);
  EXPECT_EQ(found[3].kind, TransferKind::kReset);
  EXPECT_EQ(found[3].owner, 1u);
  EXPECT_EQ(found[3].intruder, 2u);
  EXPECT_NE(model.InterleaveVerdict().find("interleave: 4"), std::string::npos);

  // The offline check over the same entries agrees.
  const auto offline = FindInterleavings(model.LogEntries());
  ASSERT_EQ(offline.size(), found.size());
  for (size_t i = 0; i < found.size(); ++i) EXPECT_EQ(offline[i].sequence, found[i].sequence);
}

TEST(TransferTest, LogKeepsItsCapacity) {
  RequestLog log(3);
  for (int i = 0; i < 5; ++i) log.Add(LogEntry{});
  EXPECT_EQ(log.Entries().size(), 3u);
  EXPECT_EQ(log.Dropped(), 2u);
  EXPECT_EQ(log.Entries().front().sequence, 3u);
}

}  // namespace
}  // namespace quill::emu
