// The DriverHandler's small operations: close, next device, hardware ID, control channel.
#include <gtest/gtest.h>

#include <array>

#include "middleware/transport/tests/transport_fixture.h"

namespace quill::test {
namespace {

TEST_F(TransportTest, CloseAndNextDeviceDoNothing) {
  Open();
  EXPECT_EQ(handler_.Close(), kE_HANDLE);
  EXPECT_EQ(handler_.SwitchToNextDevice(), kE_NOTIMPL);
  EXPECT_TRUE(model_.LogEntries().empty());
  EXPECT_EQ(handler_.device_path(), port_.MousePath());
}

TEST_F(TransportTest, HardwareId) {
  Open();
  std::array<char16_t, kHardwareIdCapacity> buffer;
  buffer.fill(u'x');
  EXPECT_EQ(handler_.GetHardwareId(buffer.data(), buffer.size()), kS_OK);
  EXPECT_EQ(std::u16string(buffer.data()), u"VID_3A7C&PID_0C31");
  EXPECT_EQ(handler_.HardwareId(), u"VID_3A7C&PID_0C31");

  // 17 units and the terminator: 18 fit, 17 do not.
  EXPECT_EQ(handler_.GetHardwareId(buffer.data(), 18), kS_OK);
  buffer.fill(u'x');
  EXPECT_EQ(handler_.GetHardwareId(buffer.data(), 17), kE_INSUFFICIENT_BUFFER);
  EXPECT_EQ(buffer[0], u'\0');
  EXPECT_EQ(buffer[17], u'x');
  EXPECT_EQ(handler_.GetHardwareId(nullptr, 512), kE_POINTER);
}

TEST_F(TransportTest, ControlChannelRequestsFailWithoutTraffic) {
  Open();
  std::array<uint8_t, kSettingWordSize> word_in{}, word_out{};
  std::array<uint8_t, kDpiLevelListSize> list{};
  std::array<uint8_t, kWirelessDistanceSize> distance{};
  std::array<uint8_t, 8 + 41> mappings{};
  EXPECT_EQ(handler_.ReadControlInformation(), kE_HANDLE);
  EXPECT_EQ(handler_.ReadSettingWord(word_in, word_out), kE_HANDLE);
  EXPECT_EQ(handler_.WriteSettingWord(word_in), kE_HANDLE);
  EXPECT_EQ(handler_.UploadButtonMappingBlock(mappings), kE_HANDLE);
  EXPECT_EQ(handler_.UploadButtonMappingEntries(mappings), kE_HANDLE);
  EXPECT_EQ(handler_.ReadDpiLevelList(list), kE_HANDLE);
  EXPECT_EQ(handler_.WriteDpiLevelList(list), kE_HANDLE);
  EXPECT_EQ(handler_.ReadWirelessDistance(distance), kE_HANDLE);
  EXPECT_EQ(handler_.WriteWirelessDistance(distance), kE_HANDLE);
  uint32_t bus_type = 77;
  EXPECT_EQ(handler_.GetBusType(bus_type), kE_HANDLE);
  EXPECT_EQ(bus_type, 0u);
  EXPECT_TRUE(model_.LogEntries().empty());
  EXPECT_EQ(port_.Counters(port_.MousePath()).opens, 0u);
}

TEST(DriverHandlerOwning, OwnsItsSeamsAndDiscardsTracesByDefault) {
  emu::QuillfernModel model;
  auto state = std::make_shared<LocalLockState>();
  DriverHandler handler(std::make_unique<emu::InProcessPort>(model),
                        std::make_unique<LocalDeviceLock>(*state), std::make_unique<FakeClock>());
  EXPECT_EQ(handler.Initialise(QUILLFERN_PID), kS_OK);
  handler.SetTraceHook(nullptr);
  FeatureReport report = BuildSensorRomRead();
  EXPECT_EQ(handler.GetFeatureRaw(report, report.size(), false), kS_OK);
}

}  // namespace
}  // namespace quill::test
