// Current DPI, DPI stages, polling rate and LED bits against the emulated mouse.
#include "middleware/objects/device/performance_features.h"

#include <gtest/gtest.h>

#include "middleware/objects/device/tests/device_fixture.h"

namespace quill::device::test {
namespace {

using Strings = std::vector<std::string>;

class PerformanceFeatures : public DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    // A profile 2 with recognisable bytes everywhere, active, at 1000 Hz, stage 2.
    Edit([](emu::DeviceState& s) {
      MarkedProfileTwo(s, 0xA0);
      s.performance = emu::PerformanceRecord{2, 1, 2, 44, 44};
    });
    Forget();
  }
};

TEST_F(PerformanceFeatures, GetDpiLevelConvertsBothCodes) {
  Edit([](emu::DeviceState& s) { s.performance.dpi_x_code = 28;
    s.performance.dpi_y_code = 220;
   });
  SensitivityRecord level;
  ASSERT_EQ(GetDpiLevel(handler_, level), kS_OK);
  EXPECT_EQ(level, (SensitivityRecord{800, 5600}));
  EXPECT_EQ(Sequence(), (Strings{"R05"}));
}

TEST_F(PerformanceFeatures, SetDpiLevelWritesTruncatedCodesAndEchoesTheRest) {
  struct Case {
    uint32_t x, y;
    uint8_t x_code, y_code;
  };
  for (const Case c : {Case{800, 810, 28, 28}, Case{100, 6475, 0, 255}, Case{1234, 5599, 45, 219}}) {
    Forget();
    ASSERT_EQ(SetDpiLevel(handler_, {c.x, c.y}), kS_OK);
    const std::vector<Exchange> ex = Exchanges();
    ASSERT_EQ(Sequence(), (Strings{"R05", "W05"}));
    ExpectEchoes(ex[0], ex[1], 5, {12, 13});
    EXPECT_EQ(ex[1].request[12], c.x_code);
    EXPECT_EQ(ex[1].request[13], c.y_code);
    EXPECT_EQ(State().performance, (emu::PerformanceRecord{2, 1, 2, c.x_code, c.y_code}));
  }
}

TEST_F(PerformanceFeatures, SetDpiLevelRefusesValuesOffTheWireRangeWithoutTraffic) {
  for (const SensitivityRecord level : {SensitivityRecord{99, 800}, SensitivityRecord{800, 6476},
                                        SensitivityRecord{0, 0}, SensitivityRecord{800, 0xFFFFFFFF}}) {
    EXPECT_EQ(SetDpiLevel(handler_, level), kE_INVALIDARG);
  }
  EXPECT_TRUE(Sequence().empty());
}

TEST_F(PerformanceFeatures, GetDpiStagesReadsTheBlockThenTheCurrentStage) {
  Edit([](emu::DeviceState& s) { s.Slot(2).block[emu::kBlockStageCount] = 3; });
  DpiStageRecord stages;
  stages.CurrentDpiStage = {1, 2};
  bool filled = false;
  ASSERT_EQ(GetDpiStages(handler_, 2, stages, filled), kS_OK);
  EXPECT_TRUE(filled);
  EXPECT_EQ(stages.ulTotalStages, 3u);
  EXPECT_EQ(stages.lDefaultStage, 3);
  EXPECT_EQ(stages.lCurrentStage, 2);
  EXPECT_EQ(stages.Sensitivity[0], (SensitivityRecord{800, 800}));
  EXPECT_EQ(stages.Sensitivity[1], (SensitivityRecord{1200, 1200}));
  EXPECT_EQ(stages.Sensitivity[2], (SensitivityRecord{1800, 1800}));
  EXPECT_EQ(stages.Sensitivity[3], (SensitivityRecord{}));
  EXPECT_EQ(stages.CurrentDpiStage, (SensitivityRecord{1, 2}));  // not filled
  EXPECT_EQ(Sequence(), (Strings{"R06", "R05"}));
  EXPECT_EQ(Exchanges()[0].request[9], 2);
}

TEST_F(PerformanceFeatures, GetDpiStagesCutsAClaimOfMoreThanFiveStages) {
  Edit([](emu::DeviceState& s) { s.Slot(2).block[emu::kBlockStageCount] = 12; });
  DpiStageRecord stages;
  bool filled = false;
  ASSERT_EQ(GetDpiStages(handler_, 2, stages, filled), kS_OK);
  EXPECT_EQ(stages.ulTotalStages, 5u);
  EXPECT_EQ(stages.Sensitivity[4], (SensitivityRecord{5600, 5600}));
  EXPECT_EQ(stages.Sensitivity[5], (SensitivityRecord{}));
}

TEST_F(PerformanceFeatures, GetDpiStagesKeepsTheRecordWhenThePerformanceReadFails) {
  model_.SetStatusScript(emu::kCmdPerformance, {{9}});
  DpiStageRecord stages;
  bool filled = false;
  EXPECT_EQ(GetDpiStages(handler_, 2, stages, filled), kE_FAIL);
  EXPECT_TRUE(filled);
  EXPECT_EQ(stages.ulTotalStages, 5u);

  model_.SetStatusScript(emu::kCmdProfile, {{9}});
  filled = true;
  EXPECT_EQ(GetDpiStages(handler_, 2, stages, filled), kE_FAIL);
  EXPECT_FALSE(filled);
}

DpiStageRecord ThreeStages(int32_t current) {
  DpiStageRecord s;
  s.ulTotalStages = 3;
  s.lDefaultStage = 1;
  s.lCurrentStage = current;
  s.Sensitivity[0] = {400, 500};
  s.Sensitivity[1] = {1000, 1025};
  s.Sensitivity[2] = {3000, 3300};
  return s;
}

TEST_F(PerformanceFeatures, SetDpiStagesOfTheActiveProfileAlsoSetsTheCurrentDpi) {
  ASSERT_EQ(SetDpiStages(handler_, 2, ThreeStages(2)), kS_OK);
  ASSERT_EQ(Sequence(), (Strings{"R06", "W06", "R05", "W05"}));
  const std::vector<Exchange> ex = Exchanges();
  ExpectEchoes(ex[0], ex[1], 56, {11, 12, 13, 14, 15, 16, 17, 18});
  EXPECT_EQ(ex[1].request[11], 1);
  EXPECT_EQ(ex[1].request[12], 3);
  const std::vector<uint8_t> codes{12, 16, 36, 37, 116, 128};
  EXPECT_EQ(std::vector<uint8_t>(ex[1].request.begin() + 13, ex[1].request.begin() + 19), codes);
  // Stages 4 and 5 and the uninterpreted bytes 23 to 28 go back as read.
  EXPECT_EQ(ex[1].request[19], 156);
  EXPECT_EQ(ex[1].request[23], 0xA0 + 14);

  ExpectEchoes(ex[2], ex[3], 5, {11, 12, 13});
  EXPECT_EQ(State().performance, (emu::PerformanceRecord{2, 1, 2, 36, 37}));
}

TEST_F(PerformanceFeatures, ACurrentStageBeyondTheNewCountTakesTheCodesTheDeviceReported) {
  ASSERT_EQ(SetDpiStages(handler_, 2, ThreeStages(5)), kS_OK);
  EXPECT_EQ(State().performance, (emu::PerformanceRecord{2, 1, 5, 220, 220}));
}

TEST_F(PerformanceFeatures, SetDpiStagesOfAnInactiveProfileLeavesTheCurrentDpi) {
  Edit([](emu::DeviceState& s) { s.performance.active_slot = 1; });
  const emu::PerformanceRecord before = State().performance;
  ASSERT_EQ(SetDpiStages(handler_, 2, ThreeStages(2)), kS_OK);
  EXPECT_EQ(Sequence(), (Strings{"R06", "W06", "R05"}));
  EXPECT_EQ(State().performance, before);
  EXPECT_EQ(State().Slot(2).block[emu::kBlockStageCount], 3);
}

TEST_F(PerformanceFeatures, SetDpiStagesRefusesBadRecordsWithoutTraffic) {
  std::vector<DpiStageRecord> bad(6, ThreeStages(2));
  bad[0].ulTotalStages = 6;
  bad[1].Sensitivity[2].ulYSensitivity = 6500;
  bad[2].Sensitivity[0].ulXSensitivity = 50;
  bad[3].lDefaultStage = 0;
  bad[4].lCurrentStage = 6;
  bad[5].lCurrentStage = -1;
  for (const DpiStageRecord& record : bad) EXPECT_EQ(SetDpiStages(handler_, 2, record), kE_INVALIDARG);
  EXPECT_EQ(SetDpiStages(handler_, 6, ThreeStages(2)), kE_INVALIDARG);
  EXPECT_TRUE(Sequence().empty());
}

TEST_F(PerformanceFeatures, SetDpiStagesStopsAtAFailedBlockWrite) {
  model_.SetStatusScript(emu::kCmdProfile, {{2, 9}});
  EXPECT_EQ(SetDpiStages(handler_, 2, ThreeStages(2)), kE_FAIL);
  EXPECT_EQ(Sequence(), (Strings{"R06", "W06"}));
}

TEST_F(PerformanceFeatures, GetRateMapsTheThreeCodesAndRejectsOthers) {
  struct Case {
    uint8_t code;
    HResult hr;
    int32_t rate;
  };
  for (const Case c : {Case{1, kS_OK, 1000}, Case{2, kS_OK, 500}, Case{8, kS_OK, 125},
                       Case{4, kE_FAIL, -7}, Case{0, kE_FAIL, -7}}) {
    Edit([&](emu::DeviceState& s) { s.performance.polling_rate_code = c.code; });
    int32_t rate = -7;
    EXPECT_EQ(GetRate(handler_, rate), c.hr) << int(c.code);
    EXPECT_EQ(rate, c.rate);
  }
}

TEST_F(PerformanceFeatures, GetRateRecoversAMouseThatCameBackUnderANewPath) {
  clock_.OnSleep([this](uint32_t ms) {
    if (ms == kPauseBeforeRecovery) port_.Replug(/*new_path=*/true);
  });
  port_.Unplug();
  int32_t rate = 0;
  EXPECT_EQ(GetRate(handler_, rate), kS_OK);
  EXPECT_EQ(rate, 1000);

  port_.Unplug();
  SensitivityRecord level;
  EXPECT_EQ(GetDpiLevel(handler_, level), kE_ABORT);  // no recover flag
}

TEST_F(PerformanceFeatures, SetRateChangesOnlyThePollingByte) {
  struct Case {
    int32_t rate;
    uint8_t code;
  };
  for (const Case c : {Case{500, 2}, Case{125, 8}, Case{1000, 1}}) {
    Forget();
    ASSERT_EQ(SetRate(handler_, c.rate), kS_OK);
    ASSERT_EQ(Sequence(), (Strings{"R05", "W05"}));
    const std::vector<Exchange> ex = Exchanges();
    ExpectEchoes(ex[0], ex[1], 5, {10});
    EXPECT_EQ(ex[1].request[10], c.code);
  }
}

TEST_F(PerformanceFeatures, SetRateRefusesOtherRatesWithoutTraffic) {
  for (const int32_t rate : {250, 0, -1000, 1001, 8})
    EXPECT_EQ(SetRate(handler_, rate), kE_INVALIDARG) << rate;
  EXPECT_TRUE(Sequence().empty());
  EXPECT_EQ(State().performance.polling_rate_code, 1);
}

TEST_F(PerformanceFeatures, LedStatusReadsAndWritesByteTenOfTheSlot) {
  int32_t status = -1;
  ASSERT_EQ(GetLedStatus(handler_, 2, status), kS_OK);
  EXPECT_EQ(status, 7);

  ASSERT_EQ(SetLedStatus(handler_, 2, 0x1F5), kS_OK);
  ASSERT_EQ(Sequence(), (Strings{"R06", "R06", "W06"}));
  const std::vector<Exchange> ex = Exchanges();
  ExpectEchoes(ex[1], ex[2], 56, {10});
  EXPECT_EQ(ex[2].request[10], 0xF5);
  EXPECT_EQ(State().Slot(2).block[emu::kBlockLed], 0xF5);
}

TEST_F(PerformanceFeatures, SlotZeroAddressesTheActiveProfileAndOtherSlotsAreRefused) {
  ASSERT_EQ(SetLedStatus(handler_, 0, 3), kS_OK);
  EXPECT_EQ(Exchanges()[0].request[9], 0);
  EXPECT_EQ(State().Slot(2).block[emu::kBlockLed], 3);  // profile 2 is active
  Forget();
  int32_t status = 0;
  EXPECT_EQ(GetLedStatus(handler_, 6, status), kE_INVALIDARG);
  EXPECT_EQ(SetLedStatus(handler_, -1, 3), kE_INVALIDARG);
  EXPECT_TRUE(Sequence().empty());
}

}  // namespace
}  // namespace quill::device::test
