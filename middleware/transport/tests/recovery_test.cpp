// Unplug, replug and the recover flag of the exchange operations.
#include <gtest/gtest.h>

#include <algorithm>

#include "middleware/transport/tests/transport_fixture.h"

namespace quill::test {
namespace {

bool SleptFor(const FakeClock& clock, uint32_t ms) {
  return std::find(clock.sleeps().begin(), clock.sleeps().end(), ms) != clock.sleeps().end();
}

struct ReplugCase {
  const char* name;
  bool replugged;
  bool new_path;
  bool recover;
  HResult result;
  bool pauses_a_second;
  bool path_renewed;
};

void PrintTo(const ReplugCase& c, std::ostream* os) { *os << c.name; }

class Replug : public TransportTest, public ::testing::WithParamInterface<ReplugCase> {};

TEST_P(Replug, BetweenTwoReads) {
  const ReplugCase& c = GetParam();
  Open();
  const std::u16string old_path = handler_.device_path();
  port_.Unplug();
  if (c.replugged) port_.Replug(c.new_path);
  Forget();

  FeatureReport report = BuildPerformanceRead();
  EXPECT_EQ(handler_.GetFeatureRaw(report, report.size(), c.recover), c.result);
  EXPECT_EQ(SleptFor(clock_, kPauseBeforeRecovery), c.pauses_a_second);
  EXPECT_EQ(handler_.device_path() != old_path, c.path_renewed);
  if (c.path_renewed) {
    EXPECT_EQ(handler_.device_path(), port_.MousePath());
  }
  EXPECT_EQ(Traced("DriverHandler::GetFeatureRaw Retrying GetFeatureRaw 0\n"), c.pauses_a_second);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Replug,
    ::testing::Values(
        ReplugCase{"SamePathWithoutFlag", true, false, false, kS_OK, false, false},
        ReplugCase{"SamePathWithFlag", true, false, true, kS_OK, false, false},
        ReplugCase{"NewPathWithoutFlag", true, true, false, kE_ABORT, false, false},
        ReplugCase{"NewPathWithFlag", true, true, true, kS_OK, true, true},
        ReplugCase{"StillUnpluggedWithoutFlag", false, false, false, kE_ABORT, false, false},
        ReplugCase{"StillUnpluggedWithFlag", false, false, true, kE_ABORT, true, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(TransportTest, MouseComingBackDuringTheRecoveryPauseIsPickedUp) {
  Open();
  port_.Unplug();
  clock_.OnSleep([this](uint32_t ms) {
    if (ms == kPauseBeforeRecovery) port_.Replug(/*new_path=*/true);
  });
  FeatureReport report = BuildProfileRead(1);
  EXPECT_EQ(handler_.SetFeatureRaw(report, report.size(), true), kS_OK);
  EXPECT_EQ(handler_.device_path(), port_.MousePath());
  EXPECT_TRUE(Traced("DriverHandler SetFeatureRaw\n"));
  EXPECT_TRUE(Traced("DriverHandler::SetFeatureRaw Retrying GetFeatureRaw 0\n"));
}

TEST_F(TransportTest, RecoverySendsTheOriginalRequestAgain) {
  Open();
  model_.FailNextGetFeatures(1);  // the first exchange zeroes the buffer, then its read fails
  FeatureReport report = BuildProfileRead(3);
  EXPECT_EQ(handler_.GetFeatureRaw(report, report.size(), true), kS_OK);
  const auto requests = model_.LoggedRequests(CMD_PROFILE);  // the search's probe between them
  ASSERT_EQ(requests.size(), 2u);
  EXPECT_EQ(requests[1].bytes, requests[0].bytes);
  EXPECT_EQ(requests[1].bytes[kPayload], 3);
  EXPECT_EQ(report[kPayload], 3);  // the reply names the slot that was asked for
}

TEST_F(TransportTest, OnlyAbortTriggersRecovery) {
  Open();
  model_.SetStatusScript(CMD_PERFORMANCE, {{9}, false});
  FeatureReport report = BuildPerformanceRead();
  EXPECT_EQ(handler_.GetFeatureRaw(report, report.size(), true), kE_FAIL);
  EXPECT_FALSE(SleptFor(clock_, kPauseBeforeRecovery));
}

TEST_F(TransportTest, ExplicitPathIsUsedForTheRetryToo) {
  Open();
  const std::u16string old_path = handler_.device_path();
  port_.Unplug();
  port_.Replug(/*new_path=*/true);
  FeatureReport report = BuildPerformanceRead();
  EXPECT_EQ(handler_.GetFeatureRawEx(old_path, report, report.size(), true), kE_ABORT);
  EXPECT_TRUE(Traced("DriverHandler GetFeatureRawEx\n"));
  EXPECT_TRUE(Traced("DriverHandler::GetFeatureRawEx Retrying GetFeatureRaw 0\n"));
  EXPECT_EQ(handler_.device_path(), port_.MousePath());  // the search renewed the stored path

  report = BuildPerformanceRead();
  EXPECT_EQ(handler_.GetFeatureRawEx(port_.MousePath(), report, report.size(), false), kS_OK);
}

TEST_F(TransportTest, WrongLengthIsRejectedWithoutTraffic) {
  Open();
  FeatureReport report = BuildPerformanceRead();
  EXPECT_EQ(handler_.GetFeatureRaw(report, 64, true), kE_INVALIDARG);
  EXPECT_TRUE(model_.LogEntries().empty());
}

}  // namespace
}  // namespace quill::test
