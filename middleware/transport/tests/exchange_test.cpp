// The exchange algorithm: pauses, status polling, retries and the reset report.
#include <gtest/gtest.h>

#include "middleware/transport/tests/transport_fixture.h"

namespace quill::test {
namespace {

struct ExchangeCase {
  const char* name;
  bool write;                      // a write request (download mode) or a read (performance)
  std::vector<uint8_t> statuses;   // scripted reply statuses; empty: the real reply at once
  unsigned fail_sets = 0, fail_gets = 0, fail_resets = 0;
  HResult result;
  size_t transmissions;
  std::vector<uint32_t> sleeps;
};

void PrintTo(const ExchangeCase& c, std::ostream* os) { *os << c.name; }

class ExchangeTable : public TransportTest, public ::testing::WithParamInterface<ExchangeCase> {};

TEST_P(ExchangeTable, PausesRetriesAndResult) {
  const ExchangeCase& c = GetParam();
  Open();
  FeatureReport report = c.write ? BuildDownloadMode(true) : BuildPerformanceRead();
  const uint8_t command = report[kCommand];
  if (!c.statuses.empty()) model_.SetStatusScript(command, {c.statuses, false});
  model_.FailNextSetFeatures(c.fail_sets);
  model_.FailNextGetFeatures(c.fail_gets);
  model_.FailNextResets(c.fail_resets);

  EXPECT_EQ(handler_.ExchangeFeatureReport(handler_.device_path(), report), c.result);
  EXPECT_EQ(Requests().size(), c.transmissions);
  EXPECT_EQ(clock_.sleeps(), c.sleeps);
  // Every transmission is followed by a reset report; the lock and the handle are given back.
  size_t resets = 0;
  for (const emu::LogEntry& e : model_.LogEntries()) resets += e.kind == emu::TransferKind::kReset;
  EXPECT_EQ(resets, c.transmissions);
  EXPECT_FALSE(lock_state_.exists.load());
  EXPECT_EQ(port_.OpenHandles(), 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ExchangeTable,
    ::testing::Values(
        ExchangeCase{"ReadDoneAtOnce", false, {}, 0, 0, 0, kS_OK, 1, {10, 10, 10}},
        ExchangeCase{"WriteGetsLongerPause", true, {}, 0, 0, 0, kS_OK, 1, {10, 100, 10}},
        ExchangeCase{"BusyThreeTimesThenDone", false, {1, 1, 1, 2}, 0, 0, 0, kS_OK, 1,
                     {10, 10, 30, 30, 30, 10}},
        ExchangeCase{"BusyZeroCountsAsBusy", false, {0, 2}, 0, 0, 0, kS_OK, 1, {10, 10, 30, 10}},
        ExchangeCase{"FinalStatusIsNotRetried", false, {9}, 0, 0, 0, kE_FAIL, 1, {10, 10, 10, 10}},
        ExchangeCase{"RetryableStatusThenDone", false, {5, 2}, 0, 0, 0, kS_OK, 2,
                     {10, 10, 10, 10, 10, 10, 10, 10}},
        ExchangeCase{"StatusEightIsRetried", true, {8, 2}, 0, 0, 0, kS_OK, 2,
                     {10, 100, 10, 10, 10, 10, 100, 10}},
        ExchangeCase{"FailedWrite", false, {}, 1, 0, 0, kE_ABORT, 1, {10, 10, 10}},
        ExchangeCase{"FailedStatusRead", false, {}, 0, 1, 0, kE_ABORT, 1, {10, 10, 10}},
        ExchangeCase{"FailedResetSpoilsGoodReply", false, {}, 0, 0, 1, kE_ABORT, 1,
                     {10, 10, 10, 10}},
        ExchangeCase{"FailedResetAfterRetryableStatusStillRetries", false, {4, 2}, 0, 0, 1, kS_OK,
                     2, {10, 10, 10, 10, 10, 10, 10, 10, 10}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TransportTest, RetryableStatusEveryTimeGivesTwentyTransmissionsOfTheSameRequest) {
  Open();
  model_.SetStatusScript(CMD_PERFORMANCE, {{5}, true});
  FeatureReport report = BuildPerformanceRead();
  EXPECT_EQ(handler_.GetFeatureRaw(report, report.size(), false), kE_FAIL);

  const auto requests = Requests();
  ASSERT_EQ(requests.size(), kMaxTransmissions);
  FeatureReport expected = BuildPerformanceRead();
  ApplyChecksum(expected);
  for (const emu::LogEntry& e : requests) EXPECT_EQ(e.bytes, expected);
  EXPECT_EQ(report[kStatus], 5);  // the last reply stays in the buffer
  // Per transmission 10 + 10 + 10 + 10, plus 10 before each of the 19 repeats.
  EXPECT_EQ(clock_.sleeps().size(), 20u * 4 + 19);
  EXPECT_EQ(clock_.SleptMs(), 20u * 40 + 190);
}

TEST_F(TransportTest, BusyForAThousandReadsGivesUp) {
  Open();
  model_.SetStatusScript(CMD_PERFORMANCE, {{1}, true});
  FeatureReport report = BuildPerformanceRead();
  EXPECT_EQ(handler_.GetFeatureRaw(report, report.size(), false), kE_FAIL);
  size_t polls = 0;
  for (const emu::LogEntry& e : model_.LogEntries()) polls += e.kind == emu::TransferKind::kPoll;
  EXPECT_EQ(polls, kMaxStatusReads);
  EXPECT_EQ(Requests().size(), 1u);
  std::vector<uint32_t> expected{10, 10};
  expected.insert(expected.end(), kMaxStatusReads - 1, 30);
  expected.push_back(10);
  EXPECT_EQ(clock_.sleeps(), expected);
}

TEST_F(TransportTest, ReplyIsLeftInTheBuffer) {
  Open();
  FeatureReport report = BuildPerformanceRead();
  ASSERT_EQ(handler_.GetFeatureRaw(report, report.size(), false), kS_OK);
  const emu::PerformanceRecord& p = model_.State().performance;
  EXPECT_EQ(report[kStatus], kStatusDone);
  EXPECT_EQ(ParsePerformance(report),
            (Performance{p.active_slot, p.polling_rate_code, p.current_stage, p.dpi_x_code,
                         p.dpi_y_code}));
}

TEST_F(TransportTest, UnwrittenRequestStaysInTheBufferWithItsChecksum) {
  Open();
  model_.FailNextSetFeatures(1);
  FeatureReport report = BuildProfileRead(2);
  FeatureReport expected = report;
  ApplyChecksum(expected);
  EXPECT_EQ(handler_.GetFeatureRaw(report, report.size(), false), kE_ABORT);
  EXPECT_EQ(report, expected);
}

TEST_F(TransportTest, ChecksumIsComputedAnewOverStaleByte89) {
  Open();
  FeatureReport report = BuildProfileRead(1);
  report[kChecksum] = 0xEE;  // left over from an earlier reply
  EXPECT_EQ(handler_.GetFeatureRaw(report, report.size(), false), kS_OK);
  ASSERT_EQ(Requests().size(), 1u);
  EXPECT_EQ(Requests()[0].bytes[kChecksum], ComputeChecksum(Requests()[0].bytes));
}

TEST_F(TransportTest, UnopenablePathGivesAbortWithoutTrafficOrLock) {
  Open();
  FeatureReport report = BuildPerformanceRead();
  EXPECT_EQ(handler_.ExchangeFeatureReport(u"\\\\?\\hid#nothing", report), kE_ABORT);
  EXPECT_TRUE(model_.LogEntries().empty());
  EXPECT_TRUE(clock_.sleeps().empty());
  EXPECT_FALSE(lock_state_.exists.load());
}

}  // namespace
}  // namespace quill::test
