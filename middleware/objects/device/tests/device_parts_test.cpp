// Download mode, sensor ROM and the DPI table load against the emulated mouse.
#include "middleware/objects/device/device_parts.h"

#include <gtest/gtest.h>

#include "middleware/objects/device/dpi_table.h"
#include "middleware/objects/device/tests/device_fixture.h"
#include "middleware/objects/device/tests/scripted_channel.h"
#include "middleware/transport/device_ids.h"

namespace quill::device::test {
namespace {

using Strings = std::vector<std::string>;

class DeviceParts : public DeviceTest {};

TEST_F(DeviceParts, DownloadModeOnlyForTheDownloadProduct) {
  ASSERT_EQ(SetDownloadMode(handler_, DOWNLOAD_PID, true), kS_OK);
  EXPECT_TRUE(State().download_mode);
  ASSERT_EQ(SetDownloadMode(handler_, DOWNLOAD_PID, false), kS_OK);
  EXPECT_FALSE(State().download_mode);
  ASSERT_EQ(Sequence(), (Strings{"W24", "W24"}));
  const std::vector<Exchange> ex = Exchanges();
  EXPECT_EQ(ex[0].request[kLength], 1);
  EXPECT_EQ(ex[0].request[9], 1);
  EXPECT_EQ(ex[1].request[9], 2);

  Forget();
  for (const uint16_t pid : {QUILLFERN_PID, ALTERNATE_PID, EXCLUDED_PID})
    EXPECT_EQ(SetDownloadMode(handler_, pid, true), kE_FAIL);
  EXPECT_TRUE(Sequence().empty());
}

TEST_F(DeviceParts, SensorRomStatusIsReadModifyWriteOfByteNine) {
  Edit([](emu::DeviceState& s) { s.sensor_rom_status = 6; });
  int32_t status = 0;
  ASSERT_EQ(GetSensorRomStatus(handler_, status), kS_OK);
  EXPECT_EQ(status, 6);
  ASSERT_EQ(SetSensorRomStatus(handler_, 0x103), kS_OK);
  ASSERT_EQ(Sequence(), (Strings{"R30", "R30", "W30"}));
  const std::vector<Exchange> ex = Exchanges();
  EXPECT_EQ(ex[0].request[kLength], 1);
  ExpectEchoes(ex[1], ex[2], 1, {9});
  EXPECT_EQ(State().sensor_rom_status, 3);
}

TEST(WirelessDistance, SendsTheDistanceReportAndReadsByteOne) {
  ScriptedChannel device([](FeatureReport& r) {
    r[1] = 0x2A;
    return kS_OK;
  });
  ASSERT_EQ(SetWirelessDistance(device, 0x107), kS_OK);
  int32_t distance = 0;
  ASSERT_EQ(GetWirelessDistance(device, distance), kS_OK);
  EXPECT_EQ(distance, 0x2A);
  ASSERT_EQ(device.requests().size(), 2u);
  FeatureReport set{}, get{};
  set[0] = get[0] = 0x51;
  set[1] = 0x07;
  EXPECT_EQ(device.requests()[0], set);
  EXPECT_EQ(device.requests()[1], get);
}

TEST_F(DeviceParts, TheWiredMouseRefusesTheDistanceReport) {
  int32_t distance = -1;
  EXPECT_EQ(GetWirelessDistance(handler_, distance), kE_ABORT);
  EXPECT_EQ(distance, -1);
  EXPECT_EQ(SetWirelessDistance(handler_, 3), kE_ABORT);
  EXPECT_EQ(State(), emu::DeviceState::Factory());
}

class DpiTableLoad : public DeviceTest {
 protected:
  void Occupy(std::initializer_list<int> slots) {
    Edit([&](emu::DeviceState& s) {
      for (int n = 1; n <= 5; ++n) s.Slot(n).name = emu::EmptyProfileName();
      for (const int n : slots) {
        s.Slot(n).name = emu::ProfileNameFromText(u"P");
        s.Slot(n).block = emu::DefaultProfileBlock(static_cast<uint8_t>(n));
        s.Slot(n).block[emu::kBlockStageCount] = static_cast<uint8_t>(n);
      }
      s.performance = emu::PerformanceRecord{4, 2, 1, 30, 31};
    });
    Forget();
  }
};

TEST_F(DpiTableLoad, FillsTheEntriesOfTheProfilesThatExist) {
  Occupy({1, 2, 4});
  DpiTable table;
  EXPECT_EQ(LoadDpiTable(handler_, QUILLFERN_PID, table), kE_FAIL);  // fewer than five profiles
  EXPECT_TRUE(table.loaded);
  EXPECT_EQ(table.current_slot, 4);
  for (const int n : {1, 2, 4}) {
    const DpiStageRecord* record = table.Record(n);
    ASSERT_NE(record, nullptr) << n;
    EXPECT_EQ(record->ulTotalStages, static_cast<uint32_t>(n));
    EXPECT_EQ(record->lDefaultStage, 3);
    EXPECT_EQ(record->lCurrentStage, 1);
    EXPECT_EQ(record->CurrentDpiStage, (SensitivityRecord{850, 875}));
  }
  EXPECT_EQ(table.Record(3), nullptr);
  EXPECT_EQ(table.Record(5), nullptr);
}

TEST_F(DpiTableLoad, FiveProfilesLoadCleanlyAndAReloadStartsAfresh) {
  Occupy({1, 2, 3, 4, 5});
  DpiTable table;
  ASSERT_EQ(LoadDpiTable(handler_, QUILLFERN_PID, table), kS_OK);
  for (int n = 1; n <= 5; ++n) EXPECT_NE(table.Record(n), nullptr) << n;

  Occupy({1, 5});
  EXPECT_EQ(LoadDpiTable(handler_, QUILLFERN_PID, table), kE_FAIL);
  EXPECT_NE(table.Record(5), nullptr);
  EXPECT_EQ(table.Record(2), nullptr);
}

TEST_F(DpiTableLoad, ExcludedProductIsRefusedAndLeavesTheTable) {
  DpiTable table;
  table.current_slot = 2;
  table.records[1] = DpiStageRecord{};
  EXPECT_EQ(LoadDpiTable(handler_, EXCLUDED_PID, table), kE_FAIL);
  EXPECT_TRUE(Sequence().empty());
  EXPECT_FALSE(table.loaded);
  EXPECT_NE(table.Record(2), nullptr);
  EXPECT_EQ(table.current_slot, 2);
}

}  // namespace
}  // namespace quill::device::test
