// The entry objects against the emulated mouse: a client in another process, and the opening
// rules (when the mouse is searched for, what is sent) checked through the emulator's log.
#include <algorithm>
#include <sstream>

#include "emulator/win/emulator_process.h"
#include "middleware/objects/tests/win/test_support.h"
#include "middleware/transport/device_ids.h"
#include "winsupport/com_ptr.h"

namespace quill::test {
namespace {

using com::ComPtr;

// A mouse whose serial bytes are all 255 and whose firmware is 2.03.
emu::EmulatorOptions TestMouse() {
  emu::EmulatorOptions options;
  std::string serial;
  for (int i = 0; i < 32; ++i) serial += i ? " ff" : "ff";
  options.initial_state = "format = 1\n\n[device]\nserial-hex = " + serial + "\nfirmware = 2.3\n";
  options.keystrokes = false;
  return options;
}

// Device-information requests (command 0x02) in the emulator's log since it was last cleared.
int DeviceInfoRequests(emu::EmulatorProcess& emulator) {
  const std::string log = emulator.Ctl("log").output;
  std::istringstream lines(log);
  int count = 0;
  for (std::string line; std::getline(lines, line);) {
    count += line.find(" request cmd=02 ") != std::string::npos;
  }
  return count;
}
size_t LogEntries(emu::EmulatorProcess& emulator) {
  const std::string log = emulator.Ctl("log").output;
  return static_cast<size_t>(std::count(log.begin(), log.end(), '\n'));
}

// ---- a client in a process of its own ---------------------------------------------------------

class ClientProcessTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(Regsvr32(false), 0); }
  void TearDown() override { EXPECT_EQ(Regsvr32(true), 0); }

  // Runs the test client; its lines "action=HRESULT value" as action -> "HRESULT value".
  std::map<std::string, std::string> RunClient(const std::wstring& actions) {
    std::string output;
    const int code =
        RunProcess(L"\"" + ExeDir() + L"\\objects_test_client.exe\" " + actions, &output);
    EXPECT_EQ(code, 0) << output;
    std::map<std::string, std::string> results;
    std::istringstream lines(output);
    for (std::string line; std::getline(lines, line);) {
      if (!line.empty() && line.back() == '\r') line.pop_back();
      const size_t eq = line.find('=');
      if (eq == std::string::npos) continue;
      // A repeated action gets "#2", "#3", ... after its name.
      std::string key = line.substr(0, eq);
      for (int n = 2; results.count(key); ++n) key = line.substr(0, eq) + "#" + std::to_string(n);
      results[key] = line.substr(eq + 1);
    }
    return results;
  }
};

TEST_F(ClientProcessTest, CreatesTheServerAndReadsTheMouse) {
  emu::EmulatorProcess emulator(TestMouse());
  ASSERT_TRUE(emulator.ok()) << emulator.error();
  emulator.SetEnvironment();  // inherited by the client
  auto r = RunClient(L"open:0C31 firmware serial hardware caps connected bus driver version");
  EXPECT_EQ(r["create"], "00000000 ");
  EXPECT_EQ(r["enum"], "00000000 ");
  EXPECT_EQ(r["open"], "00000000 ");
  EXPECT_EQ(r["firmware"], "00000000 2.03");
  std::string digits;
  for (int i = 0; i < 32; ++i) digits += "255";
  EXPECT_EQ(r["serial"], "00000000 " + digits);
  EXPECT_EQ(r["hardware"], "00000000 VID_3A7C&PID_0C31");
  EXPECT_EQ(r["caps"], "00000000 0C31 9 10 77 500 1 1");
  EXPECT_EQ(r["connected"], "00000000 1");
  EXPECT_EQ(r["bus"], "80070006 0");
  EXPECT_EQ(r["driver"], "00000000 1.01");
  EXPECT_EQ(r["version"], "00000000 1020");
  // The client's requests reached the emulated mouse: the search probe, firmware, serial and
  // the connection check each read the device information.
  EXPECT_EQ(DeviceInfoRequests(emulator), 4);
}

TEST_F(ClientProcessTest, WithoutTheEmulatorOnlyWinesMouseIsFound) {
  // No QUILLFERN_EMULATOR: the system's HID mice, of which Wine's virtual one is not ours.
  SetEnvironmentVariableW(L"QUILLFERN_EMULATOR", nullptr);
  auto r = RunClient(L"open:0C31 open:0C31 connected close connected driver");
  EXPECT_EQ(r["create"], "00000000 ");
  EXPECT_EQ(r["open"], "80070103 ");    // every interface examined, none is the mouse
  EXPECT_EQ(r["open#2"], "00000000 ");  // already open: no second search
  EXPECT_EQ(r["connected"], "80004004 0");  // no device path was ever found
  EXPECT_EQ(r["connected#2"], "80070006 0");  // after the close: no handler
  EXPECT_EQ(r["driver"], "00000000 1.01");
}

// ---- opening rules, in this process -----------------------------------------------------------

class OpenRulesTest : public EntryObjectsTest {
 protected:
  void SetUp() override {
    ASSERT_TRUE(emulator_.ok()) << emulator_.error();
    emulator_.SetEnvironment();
    EntryObjectsTest::SetUp();
  }
  void ClearLog() { ASSERT_EQ(emulator_.Ctl("log-clear").exit_code, 0); }
  LONG Connected(HRESULT expected) {
    LONG connected = -1;
    EXPECT_EQ(device_->IsConnected(&connected), expected);
    return connected;
  }

  emu::EmulatorProcess emulator_{TestMouse()};
};

TEST_F(OpenRulesTest, FailedOpenStaysOpenAndOnlyCloseAndOpenSearchAgain) {
  ASSERT_EQ(emulator_.Ctl("unplug").exit_code, 0);
  EXPECT_EQ(device_->OpenDeviceInterface(QUILLFERN_PID), HRESULT(0x80070103));
  ASSERT_EQ(emulator_.Ctl("replug").exit_code, 0);
  ClearLog();

  // Already open: S_OK without a search, so the mouse that is back is not known yet.
  EXPECT_EQ(device_->OpenDeviceInterface(QUILLFERN_PID), S_OK);
  EXPECT_EQ(LogEntries(emulator_), 0u);
  EXPECT_EQ(Connected(E_ABORT), 0);

  EXPECT_EQ(device_->CloseDeviceInterface(), S_OK);
  EXPECT_EQ(device_->OpenDeviceInterface(QUILLFERN_PID), S_OK);
  EXPECT_EQ(DeviceInfoRequests(emulator_), 1);  // the search's probe
  EXPECT_EQ(Connected(S_OK), 1);
}

TEST_F(OpenRulesTest, SecondOpenKeepsTheFirstProductAndSendsNothing) {
  ASSERT_EQ(device_->OpenDeviceInterface(QUILLFERN_PID), S_OK);
  ClearLog();
  EXPECT_EQ(device_->OpenDeviceInterface(ALTERNATE_PID), S_OK);
  EXPECT_EQ(LogEntries(emulator_), 0u);
  _TDeviceCapabilities caps{};
  ASSERT_EQ(device_->GetDeviceCapabilities(&caps), S_OK);
  EXPECT_EQ(caps.ulPid, QUILLFERN_PID);
  LPWSTR text = nullptr;
  ASSERT_EQ(device_->GetHardwareId(&text), S_OK);
  EXPECT_STREQ(text, L"VID_3A7C&PID_0C31");
  CoTaskMemFree(text);
}

TEST_F(OpenRulesTest, AnotherProductIsNeverAskedWhetherItIsConnected) {
  EXPECT_EQ(device_->OpenDeviceInterface(ALTERNATE_PID), HRESULT(0x80070103));
  ClearLog();
  EXPECT_EQ(Connected(S_OK), 0);
  EXPECT_EQ(LogEntries(emulator_), 0u);
  LPWSTR text = nullptr;
  ASSERT_EQ(device_->GetHardwareId(&text), S_OK);  // open, though nothing was found
  EXPECT_STREQ(text, L"VID_3A7C&PID_0C32");
  CoTaskMemFree(text);
}

TEST_F(OpenRulesTest, UnplugAndReplugUnderTheSamePath) {
  ASSERT_EQ(device_->OpenDeviceInterface(QUILLFERN_PID), S_OK);
  ASSERT_EQ(emulator_.Ctl("unplug").exit_code, 0);
  EXPECT_EQ(Connected(E_ABORT), 0);
  LPWSTR text = reinterpret_cast<LPWSTR>(1);
  EXPECT_EQ(device_->GetSerialNumber(&text), E_ABORT);
  EXPECT_EQ(text, nullptr);
  ASSERT_EQ(emulator_.Ctl("replug").exit_code, 0);
  EXPECT_EQ(Connected(S_OK), 1);

  // After a close the device reads need a handler again.
  EXPECT_EQ(device_->CloseDeviceInterface(), S_OK);
  EXPECT_EQ(Connected(E_HANDLE), 0);
  EXPECT_EQ(device_->GetFirmwareVersion(&text), E_HANDLE);
  EXPECT_EQ(text, nullptr);
}

TEST_F(OpenRulesTest, DeviceStringsHaveTheirFixedSizes) {
  ASSERT_EQ(device_->OpenDeviceInterface(QUILLFERN_PID), S_OK);
  const struct {
    HRESULT (STDMETHODCALLTYPE IDeviceType::*get)(LPWSTR*);
    SIZE_T bytes;
    size_t length;
  } cases[] = {
      {&IDeviceType::GetSerialNumber, 194, 96},  // 97 units, the 96 digits fill it
      {&IDeviceType::GetFirmwareVersion, 16, 4},
      {&IDeviceType::GetHardwareId, 36, 17},     // exactly sized
      {&IDeviceType::GetDriverVersion, 10, 4},
  };
  for (const auto& c : cases) {
    LPWSTR text = nullptr;
    ASSERT_EQ(((*device_.Get()).*c.get)(&text), S_OK);
    EXPECT_EQ(AllocationSize(text), c.bytes);
    EXPECT_EQ(wcslen(text), c.length);
    CoTaskMemFree(text);
  }
}

TEST_F(OpenRulesTest, DeviceStatusFailuresReachTheCaller) {
  ASSERT_EQ(device_->OpenDeviceInterface(QUILLFERN_PID), S_OK);
  ASSERT_EQ(emulator_.Ctl("fault 02 9 repeat").exit_code, 0);
  LPWSTR text = reinterpret_cast<LPWSTR>(1);
  EXPECT_EQ(device_->GetFirmwareVersion(&text), E_FAIL);
  EXPECT_EQ(text, nullptr);
  EXPECT_EQ(Connected(E_FAIL), 0);
  ASSERT_EQ(emulator_.Ctl("fault clear").exit_code, 0);
  ASSERT_EQ(device_->GetFirmwareVersion(&text), S_OK);
  EXPECT_STREQ(text, L"2.03");
  CoTaskMemFree(text);
}

}  // namespace
}  // namespace quill::test
