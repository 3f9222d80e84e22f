#include "middleware/objects/device_type_core.h"

#include <gtest/gtest.h>

#include "emulator/in_process_port.h"
#include "emulator/quillfern_model.h"
#include "middleware/transport/device_ids.h"
#include "middleware/transport/local_device_lock.h"

namespace quill {
namespace {

class NoWaitClock : public Clock {
 public:
  void Sleep(uint32_t ms) override { now_ += ms; }
  void Yield() override {}
  uint32_t TickCount() override { return now_; }

 private:
  uint32_t now_ = 0;
};

// A device type over the in-process emulator; counts the handlers (openings) it makes.
class DeviceTypeCoreTest : public ::testing::Test {
 protected:
  DeviceTypeCoreTest()
      : port_(model_),
        lock_(lock_state_),
        core_([this] {
          ++handlers_made_;
          return std::make_unique<DriverHandler>(port_, lock_, clock_);
        }, this) {
    emu::DeviceState state = model_.State();
    for (size_t i = 0; i < state.info.serial.size(); ++i) state.info.serial[i] = uint8_t(200 + i);
    state.info.firmware_major = 2;
    state.info.firmware_minor = 3;
    model_.SetState(state);
    port_.AddWineVirtualMouse();
  }

  unsigned MouseReports() { return port_.Counters(port_.MousePath()).FeatureReports(); }

  emu::QuillfernModel model_;
  emu::InProcessPort port_;
  LocalLockState lock_state_;
  LocalDeviceLock lock_;
  NoWaitClock clock_;
  int handlers_made_ = 0;
  DeviceTypeCore core_;
};

TEST_F(DeviceTypeCoreTest, NeverOpenedAnswersWithoutTheDevice) {
  std::u16string text = u"untouched";
  EXPECT_EQ(core_.SerialNumber(text), kE_HANDLE);
  EXPECT_EQ(core_.FirmwareVersion(text), kE_HANDLE);
  EXPECT_EQ(core_.HardwareId(text), kE_HANDLE);
  EXPECT_EQ(text, u"untouched");
  uint32_t bus = 7;
  EXPECT_EQ(core_.BusType(bus), kE_HANDLE);
  EXPECT_EQ(bus, 0u);
  int32_t connected = 5;
  EXPECT_EQ(core_.IsConnected(connected), kS_OK);  // no product ID opened yet
  EXPECT_EQ(connected, 0);
  EXPECT_FALSE(core_.is_open());
  EXPECT_EQ(core_.handler(), nullptr);
  EXPECT_EQ(MouseReports(), 0u);
}

TEST_F(DeviceTypeCoreTest, OpenOnTheMouseReadsItsInformation) {
  ASSERT_EQ(core_.Open(QUILLFERN_PID), kS_OK);
  EXPECT_TRUE(core_.is_open());
  EXPECT_EQ(core_.pid(), QUILLFERN_PID);
  ASSERT_NE(core_.handler(), nullptr);
  EXPECT_EQ(core_.handler()->owner(), this);
  EXPECT_EQ(core_.handler()->device_path(), port_.MousePath());
  EXPECT_EQ(port_.ForeignCounters().FeatureReports(), 0u);  // Wine's mouse is only looked at

  std::u16string serial, firmware, hardware;
  EXPECT_EQ(core_.SerialNumber(serial), kS_OK);
  std::u16string expected;
  for (int i = 0; i < 32; ++i) expected += std::u16string(u"") + char16_t(u'0' + (200 + i) / 100) +
                                           char16_t(u'0' + (200 + i) / 10 % 10) +
                                           char16_t(u'0' + (200 + i) % 10);
  EXPECT_EQ(serial, expected);
  EXPECT_EQ(core_.FirmwareVersion(firmware), kS_OK);
  EXPECT_EQ(firmware, u"2.03");
  EXPECT_EQ(core_.HardwareId(hardware), kS_OK);
  EXPECT_EQ(hardware, u"VID_3A7C&PID_0C31");
  int32_t connected = 0;
  EXPECT_EQ(core_.IsConnected(connected), kS_OK);
  EXPECT_EQ(connected, 1);
  uint32_t bus = 7;
  EXPECT_EQ(core_.BusType(bus), kE_HANDLE);
  EXPECT_EQ(bus, 0u);
}

TEST_F(DeviceTypeCoreTest, FailedSearchLeavesItOpenUntilClosed) {
  port_.SetMouseListed(false);
  EXPECT_EQ(core_.Open(QUILLFERN_PID), kE_NO_MORE_ITEMS);
  EXPECT_TRUE(core_.is_open());
  EXPECT_EQ(handlers_made_, 1);

  // Already open: no new handler, no search, whatever product is asked for.
  port_.SetMouseListed(true);
  port_.ResetCounters();
  EXPECT_EQ(core_.Open(ALTERNATE_PID), kS_OK);
  EXPECT_EQ(handlers_made_, 1);
  EXPECT_EQ(core_.pid(), QUILLFERN_PID);
  EXPECT_EQ(port_.ForeignCounters().opens, 0u);
  int32_t connected = 1;
  EXPECT_NE(core_.IsConnected(connected), kS_OK);  // no path was ever found
  EXPECT_EQ(connected, 0);

  core_.Close();
  EXPECT_FALSE(core_.is_open());
  EXPECT_EQ(core_.handler(), nullptr);
  EXPECT_EQ(core_.Open(QUILLFERN_PID), kS_OK);  // searches again and finds it now
  EXPECT_EQ(handlers_made_, 2);
  EXPECT_EQ(core_.IsConnected(connected), kS_OK);
  EXPECT_EQ(connected, 1);
}

TEST_F(DeviceTypeCoreTest, AfterCloseTheDeviceReadsNeedAHandler) {
  ASSERT_EQ(core_.Open(QUILLFERN_PID), kS_OK);
  core_.Close();
  core_.Close();  // closing twice is harmless
  std::u16string text;
  EXPECT_EQ(core_.SerialNumber(text), kE_HANDLE);
  int32_t connected = 1;
  EXPECT_EQ(core_.IsConnected(connected), kE_HANDLE);
  EXPECT_EQ(connected, 0);
}

TEST_F(DeviceTypeCoreTest, IsConnectedForAnotherProductSendsNothing) {
  EXPECT_EQ(core_.Open(ALTERNATE_PID), kE_NO_MORE_ITEMS);
  port_.ResetCounters();
  int32_t connected = 1;
  EXPECT_EQ(core_.IsConnected(connected), kS_OK);
  EXPECT_EQ(connected, 0);
  EXPECT_EQ(MouseReports(), 0u);
  EXPECT_EQ(port_.ForeignCounters().FeatureReports(), 0u);
}

TEST_F(DeviceTypeCoreTest, DeviceFailuresPassThroughAndNothingIsFormatted) {
  ASSERT_EQ(core_.Open(QUILLFERN_PID), kS_OK);
  model_.SetStatusScript(emu::kCmdDeviceInfo, {{9}, true});
  std::u16string text = u"untouched";
  EXPECT_EQ(core_.SerialNumber(text), kE_FAIL);
  EXPECT_EQ(core_.FirmwareVersion(text), kE_FAIL);
  EXPECT_EQ(text, u"untouched");
  int32_t connected = 1;
  EXPECT_EQ(core_.IsConnected(connected), kE_FAIL);
  EXPECT_EQ(connected, 0);

  model_.ClearStatusScripts();
  model_.Unplug();
  EXPECT_EQ(core_.IsConnected(connected), kE_ABORT);  // no recovery search for these reads
  EXPECT_EQ(connected, 0);
  model_.Replug(false);
  EXPECT_EQ(core_.IsConnected(connected), kS_OK);
  EXPECT_EQ(connected, 1);
}

TEST(DeviceTypeCore, NoHandlerMeansOutOfMemoryAndStaysClosed) {
  DeviceTypeCore core([] { return std::unique_ptr<DriverHandler>(); }, nullptr);
  EXPECT_EQ(core.Open(QUILLFERN_PID), kE_OUTOFMEMORY);
  EXPECT_FALSE(core.is_open());
  EXPECT_EQ(core.pid(), QUILLFERN_PID);
}

}  // namespace
}  // namespace quill
