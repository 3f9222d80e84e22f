// The device search: which interfaces are examined, probed and accepted, and what it traces.
#include <gtest/gtest.h>

#include "middleware/transport/tests/transport_fixture.h"

namespace quill::test {
namespace {

TEST_F(TransportTest, InitialiseFindsTheMouseAndNamesTheControl) {
  EXPECT_EQ(handler_.Initialise(QUILLFERN_PID), kS_OK);
  EXPECT_EQ(handler_.device_path(), port_.MousePath());
  EXPECT_EQ(handler_.control_name(), u"TorvoControl_0C31");
  EXPECT_EQ(handler_.product_id(), QUILLFERN_PID);
  // Probes: one reset report, then one device-information read with its own reset report.
  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 1u);
  EXPECT_EQ(requests[0].command, CMD_DEVICE_INFO);
  EXPECT_EQ(requests[0].bytes[kLength], 1);
  EXPECT_EQ(requests[0].bytes[kDirection], 1);
}

TEST_F(TransportTest, SearchTracesItsStepsAndTheProbeReply) {
  emu::DeviceState state = model_.State();
  state.info.serial[0] = 0xAB;  // report byte 9: traced as the signed value it is
  model_.SetState(state);
  ASSERT_EQ(handler_.Initialise(QUILLFERN_PID), kS_OK);

  ASSERT_GE(traces_.size(), 15u);
  EXPECT_EQ(traces_[0], "DriverHandler::EnumTvDevices()\n");
  EXPECT_EQ(traces_[1], "Can Create Handle\n");
  EXPECT_EQ(traces_[2], "HidD_GetAttribute success\n");
  EXPECT_EQ(traces_[3], "Vendor ID = 3a7c, Device ID = c31, Version No = 100\n");
  EXPECT_EQ(traces_[4], "GetFirmware Success\n");
  EXPECT_EQ(traces_[5], "Result 01 : 0 1 2 1 2 1 0 0 0 ffffffab\n");
  EXPECT_EQ(traces_[13].rfind("Result 09 : ", 0), 0u);
  EXPECT_EQ(traces_[14], "Result 10 : 1\n");
  EXPECT_EQ(traces_.size(), 15u);
}

TEST_F(TransportTest, NoMouseEndsWithNoMoreItemsAndKeepsThePath) {
  Open();
  const std::u16string path = handler_.device_path();
  port_.SetMouseListed(false);
  port_.AddWineVirtualMouse();
  EXPECT_EQ(handler_.EnumTvDevices(VENDOR_ID, QUILLFERN_PID), static_cast<HResult>(0x80070103));
  EXPECT_EQ(handler_.device_path(), path);
  EXPECT_TRUE(Traced("GetDeviceInterfaceDetail: SetupDiEnumDeviceInterfaces Failed!!\n"));
}

TEST_F(TransportTest, InitialiseWithoutMouseLeavesThePathEmpty) {
  port_.SetMouseListed(false);
  EXPECT_EQ(handler_.Initialise(QUILLFERN_PID), kE_NO_MORE_ITEMS);
  EXPECT_TRUE(handler_.device_path().empty());
  EXPECT_EQ(handler_.control_name(), u"TorvoControl_0C31");
}

TEST_F(TransportTest, InterfacesThatAreNotTheMouseGetNoFeatureReport) {
  const std::u16string wine = port_.AddWineVirtualMouse();
  const std::u16string other = port_.AddOtherProduct(ALTERNATE_PID);
  const std::u16string excluded = port_.AddOtherProduct(EXCLUDED_PID);
  const std::u16string unopenable = port_.AddUnopenableInterface();
  const std::u16string no_attributes = port_.AddNoAttributesInterface();
  ASSERT_EQ(handler_.Initialise(QUILLFERN_PID), kS_OK);
  EXPECT_EQ(handler_.device_path(), port_.MousePath());

  for (const std::u16string& path : {wine, other, excluded}) {
    EXPECT_EQ(port_.Counters(path).attribute_reads, 1u);
    EXPECT_EQ(port_.Counters(path).FeatureReports(), 0u);
  }
  EXPECT_EQ(port_.Counters(unopenable).failed_opens, 1u);
  EXPECT_EQ(port_.Counters(no_attributes).attribute_reads, 1u);
  EXPECT_EQ(port_.ForeignCounters().FeatureReports(), 0u);
  EXPECT_TRUE(Traced("HidD_GetAttribute fail\n"));
  EXPECT_TRUE(Traced("Vendor ID = 845e, Device ID = 1, Version No = 0\n"));
}

TEST_F(TransportTest, SearchForAnotherProductSkipsTheMouse) {
  port_.AddOtherProduct(ALTERNATE_PID, /*before_mouse=*/false);
  Open();
  EXPECT_EQ(handler_.EnumTvDevices(VENDOR_ID, DOWNLOAD_PID), kE_NO_MORE_ITEMS);
  EXPECT_EQ(port_.Counters(port_.MousePath()).FeatureReports(), 0u);
  EXPECT_EQ(handler_.device_path(), port_.MousePath());
}

TEST_F(TransportTest, MouseThatFailsTheResetProbeIsNotAccepted) {
  model_.FailNextResets(kResetReportAttempts);
  EXPECT_EQ(handler_.Initialise(QUILLFERN_PID), kE_NO_MORE_ITEMS);
  EXPECT_TRUE(handler_.device_path().empty());
  EXPECT_TRUE(Requests().empty());  // no device-information read after a failed reset probe
}

TEST_F(TransportTest, ResetProbeTriesThreeTimes) {
  model_.FailNextResets(kResetReportAttempts - 1);
  EXPECT_EQ(handler_.Initialise(QUILLFERN_PID), kS_OK);
}

TEST_F(TransportTest, MouseThatFailsTheInformationProbeIsNotAccepted) {
  model_.SetStatusScript(CMD_DEVICE_INFO, {{9}, false});
  EXPECT_EQ(handler_.Initialise(QUILLFERN_PID), kE_NO_MORE_ITEMS);
  EXPECT_FALSE(Traced("GetFirmware Success\n"));
}

TEST_F(TransportTest, FailingDeviceSetGivesFail) {
  port_.SetEnumerationFails(true);
  EXPECT_EQ(handler_.EnumTvDevices(VENDOR_ID, QUILLFERN_PID), kE_FAIL);
  EXPECT_TRUE(Traced("GetDeviceInterfaceDetail: SetupDiGetClassDevs Failed!!\n"));
}

// Paths longer than the 126-unit field of the original layout are stored whole.
class LongPaths : public TransportTest, public ::testing::WithParamInterface<size_t> {};

TEST_P(LongPaths, AreFoundStoredAndUsedWhole) {
  const std::u16string path = emu::QuillfernModel::MakeDevicePath(7, GetParam());
  ASSERT_EQ(path.size(), GetParam());
  model_.SetDevicePath(path);
  ASSERT_EQ(handler_.Initialise(QUILLFERN_PID), kS_OK);
  EXPECT_EQ(handler_.device_path(), path);
  FeatureReport report = BuildPerformanceRead();
  EXPECT_EQ(handler_.GetFeatureRaw(report, report.size(), false), kS_OK);
}

INSTANTIATE_TEST_SUITE_P(Lengths, LongPaths, ::testing::Values(125, 126, 127, 300, 2048));

// A port whose interface lookup fails at a chosen step.
class FailingLookupPort : public HidPort {
 public:
  FailingLookupPort(InterfaceStep step, uint32_t error) : step_(step), error_(error) {}
  bool BeginEnumeration() override { return true; }
  uint32_t InterfaceAt(uint32_t, std::u16string&) override { return error_; }
  InterfaceLookup LookupInterface(uint32_t, std::u16string&) override {
    return InterfaceLookup{false, error_, step_};
  }
  void EndEnumeration() override { ++ended; }
  std::unique_ptr<HidDevice> Open(const std::u16string&) override { return nullptr; }
  int ended = 0;

 private:
  InterfaceStep step_;
  uint32_t error_;
};

struct LookupCase {
  InterfaceStep step;
  uint32_t error;
  HResult result;
  const char* trace;
};

void PrintTo(const LookupCase& c, std::ostream* os) { *os << "step " << static_cast<int>(c.step) << " error " << c.error; }

class LookupFailures : public ::testing::TestWithParam<LookupCase> {};

TEST_P(LookupFailures, EndTheSearchWithTheirErrorAndTrace) {
  const LookupCase& c = GetParam();
  FailingLookupPort port(c.step, c.error);
  FakeClock clock;
  LocalLockState state;
  LocalDeviceLock lock(state);
  DriverHandler handler(port, lock, clock);
  std::vector<std::string> traces;
  handler.SetTraceHook([&](std::string_view m) { traces.emplace_back(m); });
  EXPECT_EQ(handler.EnumTvDevices(VENDOR_ID, QUILLFERN_PID), c.result);
  ASSERT_EQ(traces.size(), 2u);
  EXPECT_EQ(traces[1], c.trace);
  EXPECT_EQ(port.ended, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, LookupFailures,
    ::testing::Values(
        LookupCase{InterfaceStep::kEnumerate, kErrorNoMoreItems, kE_NO_MORE_ITEMS,
                   "GetDeviceInterfaceDetail: SetupDiEnumDeviceInterfaces Failed!!\n"},
        LookupCase{InterfaceStep::kDetailSize, 87, static_cast<HResult>(0x80070057),
                   "GetDeviceInterfaceDetail: SetupDiGetDeviceInterfaceDetail Failed\n"},
        LookupCase{InterfaceStep::kAllocate, 8, static_cast<HResult>(0x80070008),
                   "GetDeviceInterfaceDetail: LocalAlloc Failed\n"},
        LookupCase{InterfaceStep::kDetail, 1784, static_cast<HResult>(0x800706F8),
                   "GetDeviceInterfaceDetail: SetupDiEnumDeviceInterfaces Failed\n"},
        // A failed step without an error code is still a failure, never S_OK.
        LookupCase{InterfaceStep::kDetailSize, 0, kE_FAIL,
                   "GetDeviceInterfaceDetail: SetupDiGetDeviceInterfaceDetail Failed\n"}));

}  // namespace
}  // namespace quill::test
