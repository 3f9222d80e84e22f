// QuillfernEmulator.exe under Windows (Wine): the pipe HidPort, clients of several processes,
// unplug and replug through the control commands, the F20 keystroke, the state file.
#include <windows.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "emulator/control_commands.h"
#include "emulator/hid_exchange.h"
#include "emulator/quillfern_model.h"
#include "emulator/state_file.h"
#include "emulator/win/emulator_process.h"
#include "middleware/transport/device_ids.h"
#include "middleware/transport/win/pipe_connection.h"
#include "middleware/transport/win/pipe_hid_port.h"
#include "middleware/typelib/hresult_codes.h"

namespace quill::emu {
namespace {

std::vector<std::u16string> Enumerate(HidPort& port) { return ListInterfaces(port); }

FeatureReport DeviceInfoRequest() {
  FeatureReport r = MakeResetReport();
  r[kDirection] = 1;
  r[kCommand] = kCmdDeviceInfo;
  r[kLength] = 1;
  r[kChecksum] = ReportChecksum(r);
  return r;
}

bool Exchange(HidDevice& device, const FeatureReport& request, FeatureReport& reply) {
  return ExchangeReport(device, request, reply, 100);
}

class EmulatorWinTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(emulator.ok()) << emulator.error(); }
  EmulatorProcess emulator;
};

TEST_F(EmulatorWinTest, PipePortReadsDeviceInformation) {
  std::unique_ptr<HidPort> port = CreatePipeHidPort(emulator.pipe_name());
  const std::vector<std::u16string> paths = Enumerate(*port);
  ASSERT_EQ(paths.size(), 2u);

  auto foreign = port->Open(paths[0]);
  ASSERT_TRUE(foreign);
  HidAttributes attributes;
  ASSERT_TRUE(foreign->GetAttributes(attributes));
  EXPECT_EQ(attributes.vendor_id, 0x845E);
  FeatureReport reply{};
  EXPECT_FALSE(Exchange(*foreign, DeviceInfoRequest(), reply)) << "the foreign mouse has no feature reports";

  auto mouse = port->Open(paths[1]);
  ASSERT_TRUE(mouse);
  ASSERT_TRUE(mouse->GetAttributes(attributes));
  EXPECT_EQ(attributes.vendor_id, VENDOR_ID);
  EXPECT_EQ(attributes.product_id, QUILLFERN_PID);
  ASSERT_TRUE(Exchange(*mouse, DeviceInfoRequest(), reply));
  EXPECT_EQ(reply[kStatus], kStatusDone);
  EXPECT_EQ(std::string(reinterpret_cast<const char*>(&reply[9]), 11), "QF24EMU0001");
  EXPECT_EQ(reply[41], 1);
  EXPECT_EQ(reply[42], 4);

  EXPECT_FALSE(port->Open(u"\\\\?\\hid#nothing"));
  const EmulatorProcess::CtlResult log = emulator.Ctl("log");
  EXPECT_NE(log.output.find("client=" + std::to_string(GetCurrentProcessId()) + " request cmd=02 ok"),
            std::string::npos)
      << log.output;
}

TEST_F(EmulatorWinTest, TransfersOfTwoProcessesAreLoggedWithTheirProcessIds) {
  std::unique_ptr<HidPort> port = CreatePipeHidPort(emulator.pipe_name());
  auto mouse = port->Open(Enumerate(*port).at(1));
  ASSERT_TRUE(mouse);
  FeatureReport reply{};
  ASSERT_TRUE(Exchange(*mouse, DeviceInfoRequest(), reply));
  // A second process: the tool's probe does a device search and an information read.
  const EmulatorProcess::CtlResult probe = emulator.RunTool(L"probe --pipe " + ToWide(emulator.pipe_name()));
  EXPECT_EQ(probe.exit_code, 0) << probe.output;
  EXPECT_NE(probe.output.find("mouse serial=QF24EMU0001 firmware=1.4"), std::string::npos) << probe.output;
  EXPECT_NE(probe.output.find("vid=845e"), std::string::npos) << probe.output;
  // And a second thread of this process, with its own connection.
  std::thread([&] {
    std::unique_ptr<HidPort> own = CreatePipeHidPort(emulator.pipe_name());
    auto device = own->Open(Enumerate(*own).at(1));
    ASSERT_TRUE(device);
    FeatureReport r{};
    EXPECT_TRUE(Exchange(*device, DeviceInfoRequest(), r));
  }).join();

  const std::string log = emulator.Ctl("log").output;
  const std::string self = "client=" + std::to_string(GetCurrentProcessId()) + " request";
  size_t own = 0;
  for (size_t at = log.find(self); at != std::string::npos; at = log.find(self, at + 1)) ++own;
  EXPECT_EQ(own, 2u) << log;
  bool other_process = false;
  size_t at = 0;
  while ((at = log.find(" client=", at)) != std::string::npos) {
    at += 8;
    const unsigned long pid = std::stoul(log.substr(at));
    if (pid != GetCurrentProcessId()) {
      other_process = true;
      EXPECT_NE(pid, 0ul);
    }
  }
  EXPECT_TRUE(other_process) << log;
  EXPECT_EQ(emulator.Ctl("log-check").output, "interleave: none\n");
}

TEST_F(EmulatorWinTest, UnplugAndReplugThroughTheControlCommands) {
  std::unique_ptr<HidPort> port = CreatePipeHidPort(emulator.pipe_name());
  const std::u16string first = Enumerate(*port).at(1);
  auto handle = port->Open(first);
  ASSERT_TRUE(handle);
  EXPECT_EQ(emulator.Ctl("unplug").output, "unplugged\n");
  FeatureReport reply{};
  EXPECT_FALSE(Exchange(*handle, DeviceInfoRequest(), reply));
  EXPECT_FALSE(port->Open(first));
  EXPECT_EQ(Enumerate(*port).size(), 2u) << "the unplugged interface is still listed";

  const EmulatorProcess::CtlResult replug = emulator.RunCtlTool(L"replug new-path");
  ASSERT_EQ(replug.exit_code, 0) << replug.output;
  const std::vector<std::u16string> paths = Enumerate(*port);
  ASSERT_EQ(paths.size(), 3u);
  EXPECT_EQ(paths[1], first);
  EXPECT_NE(replug.output.find("plugged path=" + Utf8(paths[2])), std::string::npos) << replug.output;
  EXPECT_FALSE(Exchange(*handle, DeviceInfoRequest(), reply)) << "old handle stays dead";
  EXPECT_FALSE(port->Open(first));
  auto fresh = port->Open(paths[2]);
  ASSERT_TRUE(fresh);
  EXPECT_TRUE(Exchange(*fresh, DeviceInfoRequest(), reply));

  EXPECT_EQ(emulator.Ctl("unplug").exit_code, 0);
  EXPECT_EQ(emulator.Ctl("replug").exit_code, 0);
  EXPECT_TRUE(port->Open(paths[2])) << "replugged under the same path";
}

// ---- F20 keystroke ----------------------------------------------------------------------------

std::atomic<int> g_f20_down{0}, g_f20_up{0};
std::atomic<bool> g_f20_injected{false};

LRESULT CALLBACK KeyboardHook(int code, WPARAM message, LPARAM lparam) {
  if (code == HC_ACTION) {
    const auto* key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lparam);
    if (key->vkCode == VK_F20) {
      if (message == WM_KEYDOWN) ++g_f20_down;
      if (message == WM_KEYUP) ++g_f20_up;
      if (key->flags & LLKHF_INJECTED) g_f20_injected = true;
    }
  }
  return CallNextHookEx(nullptr, code, message, lparam);
}

void Pump(DWORD milliseconds, const std::function<bool()>& done) {
  const DWORD start = GetTickCount();
  while (!done() && GetTickCount() - start < milliseconds) {
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
}

TEST_F(EmulatorWinTest, ButtonPressSendsF20ToAKeyboardHook) {
  HHOOK hook = SetWindowsHookExW(WH_KEYBOARD_LL, KeyboardHook, GetModuleHandleW(nullptr), 0);
  ASSERT_TRUE(hook) << GetLastError();
  Pump(50, [] { return false; });  // the hook thread pumps before any key is sent
  g_f20_down = g_f20_up = 0;
  g_f20_injected = false;

  EmulatorProcess::CtlResult press;
  std::thread presser([&] { press = emulator.Ctl("press dpi-up"); });
  Pump(15000, [] { return g_f20_up > 0; });
  presser.join();
  UnhookWindowsHookEx(hook);

  EXPECT_EQ(press.output, "changed=1 active-slot=1 polling-rate=2 stage=4 dpi=4000x4000\n");
  EXPECT_EQ(g_f20_down, 1);
  EXPECT_EQ(g_f20_up, 1);
  EXPECT_TRUE(g_f20_injected);
}

// ---- control tool and state file ---------------------------------------------------------------

TEST_F(EmulatorWinTest, ControlToolPrintsResultsAndExplainsErrors) {
  EmulatorProcess::CtlResult r = emulator.RunCtlTool(L"fault 05 5 repeat");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_EQ(r.output, "fault cmd=05 statuses=1 repeat=1\n");
  r = emulator.RunCtlTool(L"press sideways");
  EXPECT_EQ(r.exit_code, 1);
  EXPECT_EQ(r.output.rfind("error: unknown button", 0), 0u) << r.output;
  r = emulator.RunTool(L"ctl --pipe no-such-emulator-pipe state");
  EXPECT_EQ(r.exit_code, 3);
  EXPECT_NE(r.output.find("no emulator answers on \\\\.\\pipe\\no-such-emulator-pipe"), std::string::npos) << r.output;
  r = emulator.RunTool(L"serve");
  EXPECT_EQ(r.exit_code, 2);
  EXPECT_NE(r.output.find("--pipe NAME is required"), std::string::npos);
  r = emulator.RunTool(L"serve --pipe " + ToWide(emulator.pipe_name()));
  EXPECT_EQ(r.exit_code, 3) << "the pipe is taken: " << r.output;
  r = emulator.RunCtlTool(L"state");
  EXPECT_EQ(r.exit_code, 0);
  EXPECT_TRUE(ParseStateText(r.output).ok) << r.output;
}

TEST(EmulatorStateTest, StateSurvivesARestartAndBadFilesAreRefused) {
  wchar_t temp[MAX_PATH + 1];
  GetTempPathW(MAX_PATH + 1, temp);
  const std::wstring file = std::wstring(temp) + L"quillfern-emu-restart-" + std::to_wstring(GetCurrentProcessId()) + L".state";
  {
    EmulatorOptions options;
    options.state_file = file;
    options.keystrokes = false;
    EmulatorProcess first(options);
    ASSERT_TRUE(first.ok()) << first.error();
    EXPECT_EQ(first.Ctl("press profile").exit_code, 0);
    EXPECT_EQ(first.Ctl("press dpi-down").output.rfind("changed=1", 0), 0u);
    EXPECT_TRUE(first.Stop());
    EXPECT_NE(first.ServerOutput().find("ready pipe=\\\\.\\pipe\\quillfern-emu-"), std::string::npos);
  }
  {
    EmulatorOptions options;
    options.state_file = file;
    options.keystrokes = false;
    EmulatorProcess second(options);
    ASSERT_TRUE(second.ok()) << second.error();
    EXPECT_NE(second.Ctl("state").output.find("current-stage = 2"), std::string::npos);
  }
  DeleteFileW(file.c_str());

  EmulatorOptions bad;
  bad.initial_state = "[performance]\npolling-rate = 3\n";
  EmulatorProcess refused(bad);
  EXPECT_FALSE(refused.ok());
  EXPECT_NE(refused.error().find("polling-rate must be code 1, 2 or 8"), std::string::npos) << refused.error();
}

TEST(EmulatorEnvironmentTest, EnvironmentNamesThePipe) {
  const std::optional<std::u16string> before = EmulatorPipeFromEnvironment();
  {
    EmulatorOptions options;
    options.path_length = 200;
    EmulatorProcess emulator(options);
    ASSERT_TRUE(emulator.ok()) << emulator.error();
    emulator.SetEnvironment();
    const std::optional<std::u16string> name = EmulatorPipeFromEnvironment();
    ASSERT_TRUE(name);
    EXPECT_EQ(*name, emulator.pipe_name());
    std::unique_ptr<HidPort> port = CreatePipeHidPort(u"\\\\.\\pipe\\" + *name);
    const std::vector<std::u16string> paths = Enumerate(*port);
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(paths[1].size(), 200u);
    EXPECT_TRUE(port->Open(paths[1]));
  }
  EXPECT_EQ(EmulatorPipeFromEnvironment(), before) << "restored when the emulator goes";
  std::unique_ptr<HidPort> none = CreatePipeHidPort(u"quillfern-emu-nobody");
  EXPECT_TRUE(Enumerate(*none).empty());
  EXPECT_FALSE(none->Open(u"x"));
}

}  // namespace
}  // namespace quill::emu
