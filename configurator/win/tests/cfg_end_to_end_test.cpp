// QuillfernCfg.exe under Wine with the real tray, the registered middleware and the emulated
// mouse, driven by window messages and checked through the mouse (its request log, the
// client's view of its stages), the pointer settings, the tray's log and the program's
// debugger lines.
#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <string>

#include "common/tray_protocol.h"
#include "common/win/program_windows.h"
#include "configurator/win/cfg_resources.h"
#include "configurator/win/main_dialog.h"
#include "emulator/win/child_process.h"
#include "middleware/objects/tests/win/test_support.h"
#include "tray/win/tests/tray_test_support.h"

namespace quill::cfg::test {
namespace {

using quill::tray::test::CountInFile;
using quill::tray::test::ReadText;
using quill::tray::test::TrayFixture;
using quill::tray::test::WaitUntil;

constexpr DWORD kLong = 30000;

std::wstring TempPath(const wchar_t* prefix) {
  wchar_t folder[MAX_PATH], file[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  GetTempFileNameW(folder, prefix, 0, file);
  return file;
}

// The installation key naming the test programs' folder (the tray is found there); removed at
// the end.
class InstallKey {
 public:
  InstallKey() {
    const std::wstring folder = quill::test::ExeDir() + L"\\";
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Torvo\\Torvo Quillfern", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                    nullptr);
    RegSetValueExW(key, L"InstallDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder.c_str()),
                   static_cast<DWORD>((folder.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
  }
  ~InstallKey() { RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Torvo\\Torvo Quillfern"); }
};

// The pointer settings (threshold 1, threshold 2, acceleration) as stored for the user, where
// another process's change shows; put back at the end.
using MouseTriple = std::array<int, 3>;
MouseTriple ReadMouse() {
  MouseTriple t{};
  const wchar_t* names[3] = {L"MouseThreshold1", L"MouseThreshold2", L"MouseSpeed"};
  for (size_t i = 0; i < 3; ++i) {
    wchar_t text[32] = L"";
    DWORD bytes = sizeof text;
    if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Mouse", names[i], RRF_RT_REG_SZ, nullptr, text, &bytes) == ERROR_SUCCESS)
      t[i] = _wtoi(text);
  }
  return t;
}
void WriteMouse(MouseTriple t) { SystemParametersInfoW(SPI_SETMOUSE, 0, t.data(), SPIF_UPDATEINIFILE | SPIF_SENDCHANGE); }
class PointerSettings {
 public:
  explicit PointerSettings(MouseTriple start) : saved_(ReadMouse()) { WriteMouse(start); }
  ~PointerSettings() { WriteMouse(saved_); }

 private:
  MouseTriple saved_;
};

// A window of the program with the given title and a child with the given text.
HWND FindBox(const std::u16string& title, const wchar_t* buttonText) {
  HWND box = quill::win::FindWindowByExactTitle(title);
  if (!box) return nullptr;
  return FindWindowExW(box, nullptr, nullptr, buttonText) ? box : nullptr;
}

// The configuration application in a process of its own, its debugger lines in a file; closed
// (and ended, when it does not end) at the end.
class CfgProcess {
 public:
  CfgProcess() : debugLog_(TempPath(L"cfg")) {
    SetEnvironmentVariableW(L"QUILLFERN_CFG_DEBUG_LOG", debugLog_.c_str());
    process_ = std::make_unique<quill::test::ChildProcess>(L"\"" + quill::test::ExeDir() + L"\\QuillfernCfg.exe\"");
  }
  ~CfgProcess() {
    if (HWND dialog = quill::win::FindConfiguratorDialog()) PostMessageW(dialog, WM_CLOSE, 0, 0);
    process_->Wait(20000);
    SetEnvironmentVariableW(L"QUILLFERN_CFG_DEBUG_LOG", nullptr);
    DeleteFileW(debugLog_.c_str());
  }

  bool started() const { return process_->started(); }
  int Wait(DWORD timeout_ms) { return process_->Wait(timeout_ms); }
  std::string DebugLines() const { return ReadText(debugLog_); }

  // The dialog once it has opened the connection and its reading box has gone.
  HWND WaitOpened() {
    HWND dialog = nullptr;
    const bool opened = WaitUntil(
        [&] {
          dialog = quill::win::FindConfiguratorDialog();
          return dialog && GetPropW(dialog, cfg::win::kOpenedProperty) && !quill::win::FindWindowByExactTitle(u"Information") &&
                 IsWindowEnabled(dialog);
        },
        kLong);
    return opened ? dialog : nullptr;
  }

 private:
  std::wstring debugLog_;
  std::unique_ptr<quill::test::ChildProcess> process_;
};

HWND Control(HWND dialog, int id) {
  std::pair<int, HWND> search{id, nullptr};
  EnumChildWindows(
      dialog,
      [](HWND child, LPARAM data) -> BOOL {
        auto* p = reinterpret_cast<std::pair<int, HWND>*>(data);
        if (GetDlgCtrlID(child) != p->first) return TRUE;
        p->second = child;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.second;
}

class CfgTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(fixture_.ok()) << fixture_.error(); }
  TrayFixture fixture_;
  InstallKey key_;
};

TEST_F(CfgTest, OpeningReadsTheMouseASecondCopyEndsAndExitWritesTheDebuggerLines) {
  ASSERT_TRUE(fixture_.StartTray());
  fixture_.emulator().Ctl("log-clear");
  CfgProcess cfg;
  ASSERT_TRUE(cfg.started());
  HWND dialog = cfg.WaitOpened();
  ASSERT_NE(dialog, nullptr);
  EXPECT_EQ(SendMessageW(dialog, tray::UM_PING, 0, 0), static_cast<LRESULT>(tray::PING_REPLY));
  {
    SCOPED_TRACE("the opening read the device and its profiles");
    const std::string log = fixture_.emulator().Ctl("log").output;
    EXPECT_NE(log.find(" request cmd=02 "), std::string::npos) << log;
    EXPECT_NE(log.find(" request cmd=06 "), std::string::npos) << log;
  }
  {
    SCOPED_TRACE("a second copy ends at once and leaves the first");
    EXPECT_EQ(quill::test::RunToEnd(L"\"" + quill::test::ExeDir() + L"\\QuillfernCfg.exe\"", {}, 20000).exit_code, 0);
    EXPECT_EQ(quill::win::FindConfiguratorDialog(), dialog);
  }
  {
    SCOPED_TRACE("WM_CLOSE ends the program; the debugger lines frame the COM shutdown of both copies");
    PostMessageW(dialog, WM_CLOSE, 0, 0);
    EXPECT_EQ(cfg.Wait(kLong), 0);
    // The second copy's exit wrote its pair first.
    const std::string pair =
        "CTolvaCfgApp::ExitInstance() - BEFORE COMUnInit()\r\nCTolvaCfgApp::ExitInstance() - AFTER COMUnInit()\r\n";
    EXPECT_EQ(cfg.DebugLines(), pair + pair);
  }
}

TEST_F(CfgTest, ApplyWritesTheSlidersAndTheAccelerationAndReloadsTheTray) {
  PointerSettings pointer({0, 0, 0});   // acceleration off: the box opens unticked
  ASSERT_TRUE(fixture_.StartTray());
  CfgProcess cfg;
  HWND dialog = cfg.WaitOpened();
  ASSERT_NE(dialog, nullptr);
  HWND x = Control(dialog, IDC_SENSITIVITY_X), acceleration = Control(dialog, IDC_ACCELERATION);
  ASSERT_TRUE(x && acceleration);
  SendMessageW(x, WM_KEYDOWN, VK_END, 0);   // 56: 5600 DPI
  SendMessageW(dialog, WM_COMMAND, IDC_ENABLE_ACCELERATION, 0);
  SendMessageW(acceleration, WM_KEYDOWN, VK_HOME, 0);
  SendMessageW(acceleration, WM_KEYDOWN, VK_RIGHT, 0);
  SendMessageW(acceleration, WM_KEYDOWN, VK_RIGHT, 0);   // 3

  const size_t reloads = fixture_.TrayLogCount("reload");
  SendMessageW(dialog, WM_COMMAND, IDC_APPLY, 0);
  ASSERT_TRUE(WaitUntil([&] { return GetPropW(dialog, cfg::win::kAppliedProperty) != nullptr; }, kLong));
  EXPECT_TRUE(fixture_.WaitTrayLog("reload", reloads + 1, kLong)) << ReadText(fixture_.trayLog());

  std::string stages;
  EXPECT_EQ(fixture_.RunCli(L"stages 1", &stages), 0) << stages;
  EXPECT_NE(stages.find("5600"), std::string::npos) << stages;
  EXPECT_EQ(ReadMouse(), (MouseTriple{6, 0, 1}));   // level 3, acceleration on

  // OK applies again and ends the program once the apply has finished.
  ASSERT_TRUE(WaitUntil([&] { return !quill::win::FindWindowByExactTitle(u"Information") && IsWindowEnabled(dialog); }, kLong));
  SendMessageW(dialog, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(cfg.Wait(60000), 0);
}

TEST_F(CfgTest, NoMouseAtStartShowsTheMessageAndClosesAfterItsOk) {
  ASSERT_TRUE(fixture_.StartTray(L"", false));
  ASSERT_EQ(fixture_.emulator().Ctl("unplug").exit_code, 0);
  CfgProcess cfg;
  HWND box = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (box = FindBox(u"Information", L"OK")) != nullptr; }, kLong));
  HWND dialog = quill::win::FindConfiguratorDialog();
  ASSERT_NE(dialog, nullptr);
  EXPECT_FALSE(IsWindowEnabled(dialog));
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(cfg.Wait(kLong), 0);
}

}  // namespace
}  // namespace quill::cfg::test
