// The real tray under Wine with the registered middleware and the emulated mouse, checked
// through the mouse's state, the tray's log, OSD.dll's call log and the notification area.
// Each test shares one running tray across related checks: the device check runs only every
// 10.5 s, so the slow ones are few.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/tray_protocol.h"
#include "common/win/program_windows.h"
#include "emulator/win/child_process.h"
#include "middleware/objects/tests/win/test_support.h"
#include "tray/win/tests/osd_log.h"
#include "tray/win/tests/tray_test_support.h"

namespace quill::tray::test {
namespace {

constexpr DWORD kDeviceCheckMs = 10500;
// One device check and a margin for a slow machine.
constexpr DWORD kWithinOneCheck = kDeviceCheckMs + 15000;

class TrayTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(fixture_.ok()) << fixture_.error(); }
  std::string Press(const char* button) {
    auto r = fixture_.emulator().Ctl(std::string("press ") + button);
    EXPECT_EQ(r.exit_code, 0) << r.output;
    return r.output;
  }
  TrayFixture fixture_;
};

// An install folder of the test's own holding the configuration application's stand-in as
// QuillfernCfg.exe, named by the installation key; both go at the end.
class InstallFolder {
 public:
  explicit InstallFolder(bool withConfigurator) {
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"quill-install-" + std::to_wstring(GetCurrentProcessId()) + L"\\";
    CreateDirectoryW(folder_.c_str(), nullptr);
    if (withConfigurator)
      CopyFileW((quill::test::ExeDir() + L"\\configurator_stand_in.exe").c_str(), (folder_ + L"QuillfernCfg.exe").c_str(), FALSE);
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Torvo\\Torvo Quillfern", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    RegSetValueExW(key, L"InstallDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(folder_.c_str()),
                   static_cast<DWORD>((folder_.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(key);
    log_ = folder_ + L"stand-in.log";
    SetEnvironmentVariableW(L"QUILLFERN_STAND_IN_LOG", log_.c_str());
  }
  ~InstallFolder() {
    if (HWND dialog = win::FindConfiguratorDialog()) {   // a stand-in left by a failed check
      PostMessageW(dialog, WM_CLOSE, 0, 0);
      WaitUntil([] { return win::FindConfiguratorMarker() == nullptr; }, 10000);
    }
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Torvo\\Torvo Quillfern");
    SetEnvironmentVariableW(L"QUILLFERN_STAND_IN_LOG", nullptr);
    DeleteFileW(log_.c_str());
    DeleteFileW((folder_ + L"QuillfernCfg.exe").c_str());
    for (const std::wstring& f : files_) DeleteFileW(f.c_str());
    RemoveDirectoryW(folder_.c_str());
  }
  const std::wstring& log() const { return log_; }

  // A translation file (UTF-16LE pairs) in the folder as language 0, the current language.
  void SetLanguage(const std::u16string& pairs) {
    const std::wstring file = folder_ + L"tray-test-language.txt";
    HANDLE f = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(f, pairs.data(), static_cast<DWORD>(pairs.size() * 2), &written, nullptr);
    CloseHandle(f);
    files_.push_back(file);
    HKEY key = nullptr;
    RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Torvo\\Torvo Quillfern", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key, nullptr);
    const std::wstring name = L"Test", fileName = L"tray-test-language.txt";
    RegSetValueExW(key, L"Language0", 0, REG_SZ, reinterpret_cast<const BYTE*>(name.c_str()), static_cast<DWORD>((name.size() + 1) * 2));
    RegSetValueExW(key, L"TranslationFile0", 0, REG_SZ, reinterpret_cast<const BYTE*>(fileName.c_str()),
                   static_cast<DWORD>((fileName.size() + 1) * 2));
    const DWORD zero = 0;
    RegSetValueExW(key, L"Translation", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&zero), sizeof zero);
    RegCloseKey(key);
  }

 private:
  std::wstring folder_;
  std::wstring log_;
  std::vector<std::wstring> files_;
};

TEST_F(TrayTest, MessagesCommandLineMenuIconAndExit) {
  ASSERT_TRUE(fixture_.StartTray());
  EXPECT_EQ(static_cast<uintptr_t>(fixture_.Send(UM_PING)), PING_REPLY);

  {
    SCOPED_TRACE("a second start ends at once and leaves the first");
    EXPECT_EQ(fixture_.RunSecondTray(L""), 0);
    EXPECT_EQ(win::FindTrayWindow(), fixture_.tray());
  }
  {
    SCOPED_TRACE("a second start with 3 has the running tray activate slot 3, without a display");
    const size_t shows = OsdLog(fixture_.osdLog()).Count(OsdLog::kShow);
    EXPECT_EQ(fixture_.RunSecondTray(L"3"), 0);
    EXPECT_TRUE(WaitUntil([&] { return fixture_.ActiveSlot() == 3; }, 10000)) << fixture_.EmulatorState();
    EXPECT_EQ(OsdLog(fixture_.osdLog()).Count(OsdLog::kShow), shows);
  }
  {
    SCOPED_TRACE("a rename through the client shows in the menu after UM_TRAY_RELOAD");
    std::string out;
    ASSERT_EQ(fixture_.RunCli(L"rename 2 Renamed", &out), 0) << out;
    fixture_.Send(UM_TRAY_RELOAD);
    fixture_.Send(UM_TRAY_LOG_MENU);
    ASSERT_TRUE(fixture_.WaitTrayLog("menu end", 1, 10000));
    const std::string log = ReadText(fixture_.trayLog());
    EXPECT_NE(log.find("menu\r\n40016 Load Quillfern Configurator\r\n---\r\n40008 Profile 1\r\n40009 Renamed\r\n"
                       "40010 Third\r\n---\r\n40014 Close Tray Icon\r\nmenu end"),
              std::string::npos) << log;
  }
  {
    SCOPED_TRACE("UM_TRAY_LANGUAGE reads the language again: the menu follows");
    InstallFolder install(false);
    install.SetLanguage(u"Load Quillfern Configurator\r\nKonfigurator \u00f6ffnen\r\n"
                        u"Close Tray Icon\r\nSymbol schlie\u00dfen\r\n");
    fixture_.Send(UM_TRAY_LANGUAGE);
    fixture_.Send(UM_TRAY_LOG_MENU);
    ASSERT_TRUE(fixture_.WaitTrayLog("menu end", 2, 10000));
    const std::string log = ReadText(fixture_.trayLog());
    EXPECT_NE(log.find("menu\r\n40016 Konfigurator \xC3\xB6" "ffnen\r\n"), std::string::npos) << log;
    EXPECT_NE(log.find("40014 Symbol schlie\xC3\x9F" "en\r\nmenu end"), std::string::npos) << log;
  }
  {
    SCOPED_TRACE("TaskbarCreated adds the icon again");
    ASSERT_TRUE(IconPresent(fixture_.tray()));
    DropIcon(fixture_.tray());
    EXPECT_FALSE(IconPresent(fixture_.tray()));
    fixture_.Send(RegisterWindowMessageW(L"TaskbarCreated"));
    EXPECT_TRUE(IconPresent(fixture_.tray()));
  }
  {
    SCOPED_TRACE("UM_TRAY_EXIT removes the icon and ends the tray");
    HWND tray = fixture_.tray();
    fixture_.Send(UM_TRAY_EXIT);
    EXPECT_FALSE(IconPresent(tray));
    EXPECT_TRUE(fixture_.TrayEnded(15000));
    EXPECT_EQ(win::FindTrayWindow(), nullptr);
  }
}

TEST_F(TrayTest, DisplaysFollowTheMouseButtonsAndTheSwitches) {
  // Profiles 1 and 2 show both displays, profile 3 none.
  WriteProfileFiles({{u"", 0, 1, 1}, {u"", 0, 1, 1}, {u"", 0, 0, 0}});
  ASSERT_TRUE(fixture_.StartTray());
  const bool bitmaps = TrayHasBitmap(5040) && TrayHasBitmap(5056);
  auto shown = [&](OsdLog::Display d, const OsdLog& since) {
    OsdLog log = OsdLog(fixture_.osdLog()).Since(since);
    return bitmaps ? log.ShownWithBitmap(d) : log.Shows(d);
  };
  {
    SCOPED_TRACE("DPI up to stage 4 (4000 x 4000) shows the X display with bitmap 5040, hidden ten ticks later");
    OsdLog before(fixture_.osdLog());
    EXPECT_NE(Press("dpi-up").find("dpi=4000x4000"), std::string::npos);
    ASSERT_TRUE(WaitUntil([&] { return shown(OsdLog::kX, before); }, 15000)) << ReadText(fixture_.osdLog());
    EXPECT_TRUE(fixture_.WaitTrayLog("dpi display X bitmap 5040", 1, 5000)) << ReadText(fixture_.trayLog());
    EXPECT_FALSE(OsdLog(fixture_.osdLog()).Since(before).Shows(OsdLog::kY));
    EXPECT_FALSE(OsdLog(fixture_.osdLog()).Since(before).Hides(OsdLog::kX));
    // Ten ticks of 500 ms; the wait only bounds it.
    EXPECT_TRUE(WaitUntil([&] { return OsdLog(fixture_.osdLog()).Since(before).HiddenAfterLastShow(OsdLog::kX); }, 15000))
        << ReadText(fixture_.osdLog());
  }
  {
    SCOPED_TRACE("stage 5 of profile 1 is 5600 x 4000: both displays, bitmaps 5056 and 5040");
    OsdLog before(fixture_.osdLog());
    EXPECT_NE(Press("dpi-up").find("dpi=5600x4000"), std::string::npos);
    ASSERT_TRUE(WaitUntil([&] { return shown(OsdLog::kX, before) && shown(OsdLog::kY, before); }, 15000))
        << ReadText(fixture_.osdLog());
    EXPECT_TRUE(fixture_.WaitTrayLog("dpi display X bitmap 5056", 1, 5000)) << ReadText(fixture_.trayLog());
    EXPECT_TRUE(fixture_.WaitTrayLog("dpi display Y bitmap 5040", 1, 5000)) << ReadText(fixture_.trayLog());
  }
  {
    SCOPED_TRACE("the profile button shows the profile display with the new profile's name");
    OsdLog before(fixture_.osdLog());
    Press("profile");
    ASSERT_TRUE(WaitUntil([&] { return fixture_.ActiveSlot() == 2; }, 10000));
    EXPECT_TRUE(WaitUntil([&] {
      return OsdLog(fixture_.osdLog()).Since(before).ShownWithText(OsdLog::kProfile, std::string(13, ' ') + "Second");
    }, 15000)) << ReadText(fixture_.osdLog());
  }
  {
    SCOPED_TRACE("with the sensitivity switch off (profile 3) a DPI change shows nothing");
    Press("profile");
    ASSERT_TRUE(fixture_.WaitTrayLog("activate slot 3", 1, 15000)) << ReadText(fixture_.trayLog());
    OsdLog before(fixture_.osdLog());
    Press("dpi-down");
    ASSERT_TRUE(WaitUntil([&] { return OsdLog(fixture_.osdLog()).Since(before).Hides(OsdLog::kX); }, 15000))
        << ReadText(fixture_.osdLog());
    EXPECT_FALSE(OsdLog(fixture_.osdLog()).Since(before).Shows(OsdLog::kX));
    EXPECT_FALSE(OsdLog(fixture_.osdLog()).Since(before).Shows(OsdLog::kY));
  }
}

TEST_F(TrayTest, SessionFollowsUnplugReplugSuspendAndResume) {
  ASSERT_TRUE(fixture_.StartTray());
  {
    SCOPED_TRACE("unplug drops the session within one device check, replug brings it back within the next");
    ASSERT_EQ(fixture_.emulator().Ctl("unplug").exit_code, 0);
    EXPECT_TRUE(fixture_.WaitTrayLog("session closed", 1, kWithinOneCheck)) << ReadText(fixture_.trayLog());
    ASSERT_EQ(fixture_.emulator().Ctl("replug").exit_code, 0);
    EXPECT_TRUE(fixture_.WaitTrayLog("session open", 2, kWithinOneCheck)) << ReadText(fixture_.trayLog());
    // Every object of the dropped session was released (the middleware could unload).
    EXPECT_EQ(fixture_.TrayLogCount("session closed, middleware objects released"), 1u) << ReadText(fixture_.trayLog());
  }
  {
    SCOPED_TRACE("a suspend drops the session at once, the resume brings it back");
    PostMessageW(fixture_.tray(), WM_POWERBROADCAST, PBT_APMSUSPEND, 0);
    EXPECT_TRUE(fixture_.WaitTrayLog("session closed", 2, 10000)) << ReadText(fixture_.trayLog());
    PostMessageW(fixture_.tray(), WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 0);
    // The tray still answers while it waits the 5 s after a resume.
    EXPECT_EQ(static_cast<uintptr_t>(fixture_.Send(UM_PING)), PING_REPLY);
    EXPECT_TRUE(fixture_.WaitTrayLog("session open", 3, 5000 + kWithinOneCheck)) << ReadText(fixture_.trayLog());
    // The events reach the new session.
    auto r = fixture_.emulator().Ctl("press profile");
    EXPECT_EQ(r.exit_code, 0) << r.output;
    EXPECT_TRUE(fixture_.WaitTrayLog("activate slot 2", 1, 10000)) << ReadText(fixture_.trayLog());
    EXPECT_EQ(fixture_.TrayLogCount("session closed, middleware objects released"), 2u) << ReadText(fixture_.trayLog());
  }
}

TEST_F(TrayTest, ApplicationInTheForegroundActivatesItsProfile) {
  WriteProfileFiles({{u"", 0, 0, 0}, {u"", 0, 0, 0}, {u"tray_foreground_app.exe", 1, 0, 1}});
  ASSERT_TRUE(fixture_.StartTray());
  ASSERT_EQ(fixture_.ActiveSlot(), 1);
  quill::test::ChildProcess app(L"\"" + quill::test::ExeDir() + L"\\tray_foreground_app.exe\"");
  ASSERT_TRUE(app.started());
  // Within one application check (10.5 s) and a margin.
  EXPECT_TRUE(WaitUntil([&] { return fixture_.ActiveSlot() == 3; }, kWithinOneCheck)) << fixture_.EmulatorState();
  EXPECT_TRUE(fixture_.WaitTrayLog("activate slot 3", 1, 5000));
}

TEST_F(TrayTest, LooksForTheConfiguratorWhileAnsweringItsMessages) {
  InstallFolder empty(false);   // nothing to start: the tray looks 22 times, 500 ms apart
  ASSERT_TRUE(fixture_.StartTray());
  PostMessageW(fixture_.tray(), UM_TRAY_OPEN_CONFIG, 0, 0);
  Sleep(1000);   // well inside the 11 s of looking
  DWORD_PTR reply = 0;
  ASSERT_TRUE(SendMessageTimeoutW(fixture_.tray(), UM_PING, 0, 0, SMTO_NORMAL, 5000, &reply));
  EXPECT_EQ(reply, PING_REPLY);
}

TEST_F(TrayTest, StartsTheConfiguratorFromTheInstallFolderAndClosesIt) {
  InstallFolder install(true);
  ASSERT_TRUE(fixture_.StartTray());
  {
    SCOPED_TRACE("UM_TRAY_OPEN_CONFIG starts QuillfernCfg.exe in the install folder");
    fixture_.Send(UM_TRAY_OPEN_CONFIG);
    ASSERT_TRUE(WaitUntil([] { return win::FindConfiguratorMarker() != nullptr; }, 20000));
    EXPECT_EQ(CountInFile(install.log(), "started "), 1u) << ReadText(install.log());
    EXPECT_NE(ReadText(install.log()).find("quill-install-"), std::string::npos) << ReadText(install.log());
    // A second request only brings the running one up.
    fixture_.Send(UM_TRAY_OPEN_CONFIG);
    EXPECT_EQ(CountInFile(install.log(), "started "), 1u);
  }
  {
    SCOPED_TRACE("UM_TRAY_EXIT ends the tray and leaves the configuration application");
    fixture_.Send(UM_TRAY_EXIT);
    EXPECT_TRUE(fixture_.TrayEnded(15000));
    EXPECT_NE(win::FindConfiguratorMarker(), nullptr);
    EXPECT_EQ(CountInFile(install.log(), "closed"), 0u);
  }
  {
    SCOPED_TRACE("a console disconnect ends the tray and closes the configuration application");
    ASSERT_TRUE(fixture_.StartTray(L"", false));
    fixture_.Send(WM_WTSSESSION_CHANGE, WTS_CONSOLE_DISCONNECT);
    EXPECT_TRUE(fixture_.TrayEnded(15000));
    EXPECT_TRUE(WaitUntil([&] { return CountInFile(install.log(), "closed") == 1; }, 15000)) << ReadText(install.log());
  }
  {
    SCOPED_TRACE("action 9 closes both the tray and the configuration application");
    ASSERT_TRUE(fixture_.StartTray(L"", false));
    fixture_.Send(UM_TRAY_OPEN_CONFIG);
    ASSERT_TRUE(WaitUntil([] { return win::FindConfiguratorMarker() != nullptr; }, 20000));
    EXPECT_EQ(fixture_.RunSecondTray(L"9"), 0);
    EXPECT_TRUE(WaitUntil([&] { return CountInFile(install.log(), "closed") == 2; }, 15000)) << ReadText(install.log());
    EXPECT_TRUE(fixture_.TrayEnded(15000));
  }
}

}  // namespace
}  // namespace quill::tray::test
