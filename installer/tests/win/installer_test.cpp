// QuillfernSetup.exe as an administrator runs it, silently, in the test's Wine prefix: what it
// puts in place (files, install key, registration, logon start, shortcuts, Add/Remove Programs
// entry, access to HKLM\Software\Torvo), an install over an older copy, and the uninstaller.
//
// The prefix is shared with the other Windows tests: every test uninstalls what it installed,
// and each test process puts back the middleware's registration as it found it (other tests
// register the module from the build folder), the access list of HKLM\Software\Torvo, and the
// profile files it made.
#include <ServerLib.h>
#include <shlobj.h>
#include <tlhelp32.h>
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "emulator/win/child_process.h"
#include "emulator/win/emulator_process.h"
#include "installer/tests/win/install_state.h"
#include "winsupport/handles.h"

namespace quill::test {
namespace {

constexpr wchar_t kInstallKey[] = L"Software\\Torvo\\Torvo Quillfern";
constexpr wchar_t kTorvoKey[] = L"Software\\Torvo";
constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Torvo Quillfern";
constexpr wchar_t kRunKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr wchar_t kRunValue[] = L"Torvo Quillfern Tray";
constexpr DWORD kSetupTimeoutMs = 120000;

std::wstring ExeDir() { return emu::EmulatorProcess::ExecutableFolder(); }
std::wstring InstallFolder() { return SystemFolder(CSIDL_PROGRAM_FILES) + L"\\Torvo\\Torvo Quillfern"; }
std::wstring MenuFolder() { return SystemFolder(CSIDL_COMMON_PROGRAMS) + L"\\Torvo Quillfern"; }

std::wstring ServerKey() {
  wchar_t clsid[40] = {};
  StringFromGUID2(CLSID_DeviceEnumeration, clsid, 40);
  return std::wstring(L"CLSID\\") + clsid + L"\\InprocServer32";
}

std::optional<std::wstring> RegisteredServer() {
  auto values = ReadValues(HKEY_CLASSES_ROOT, ServerKey());
  if (!values || !values->count(L"")) return std::nullopt;
  return (*values)[L""];
}

std::wstring Lower(std::wstring text) {
  std::transform(text.begin(), text.end(), text.begin(), [](wchar_t c) { return towlower(c); });
  return text;
}

// The files this build's installer carries (generated beside the tests), relative to the folder.
std::set<std::wstring> ShippedFiles() {
  std::set<std::wstring> files;
  std::ifstream in(std::filesystem::path(ExeDir() + L"\\QuillfernSetup.files"));
  for (std::string line; std::getline(in, line);) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (!line.empty()) files.insert(std::wstring(line.begin(), line.end()));
  }
  return files;
}

int RunSetup(const std::wstring& options) {
  const RunResult run = RunToEnd(L"\"" + ExeDir() + L"\\QuillfernSetup.exe\" " + options, {}, kSetupTimeoutMs);
  return run.exit_code;
}

// The uninstaller copies itself to the temporary folder and runs from there: its end shows as
// the Add/Remove Programs entry going (its last step), then the copy's process ending.
bool UninstallerRunning() {
  const win::FileHandle snapshot(CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return false;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  bool found = false;
  for (BOOL more = Process32FirstW(snapshot.Get(), &entry); more && !found;
       more = Process32NextW(snapshot.Get(), &entry)) {
    const std::wstring name = Lower(entry.szExeFile);
    found = name.rfind(L"un_", 0) == 0 || name == L"au_.exe" || name == L"uninstall.exe";
  }
  return found;
}

bool Uninstall() {
  const std::wstring uninstaller = InstallFolder() + L"\\Uninstall.exe";
  if (!FileExists(uninstaller)) return true;
  if (RunToEnd(L"\"" + uninstaller + L"\" /S", {}, kSetupTimeoutMs).exit_code != 0) return false;
  return WaitFor([] { return !KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey) && !UninstallerRunning(); }, 60000);
}

KeyValues ExpectedInstallValues(int language) {
  KeyValues values{{L"InstallDir", InstallFolder() + L"\\"},
                   {L"Translation", L"dword:" + std::to_wstring(language)},
                   {L"TranslationMode", L"dword:0"}};
  const wchar_t* rows[][2] = {{L"English", L""}, {L"German", L"German.txt"}, {L"French", L"French.txt"}};
  for (int i = 0; i < 3; ++i) {
    const std::wstring n = std::to_wstring(i);
    values[L"Language" + n] = rows[i][0];
    values[L"TranslationFile" + n] = rows[i][1];
    values[L"TranslationDefaultFont" + n] = L"Arial";
    values[L"TranslationFont" + n] = L"Arial";
  }
  return values;
}

class InstallerTest : public ::testing::Test {
 protected:
  // What the prefix held before this test process installed anything.
  static void SetUpTestSuite() {
    registered_server_ = RegisteredServer();
    software_security_ = KeySecurityText(HKEY_LOCAL_MACHINE, L"Software");
    torvo_security_ = KeySecurityText(HKEY_LOCAL_MACHINE, kTorvoKey);
    torvo_subkeys_ = SubkeyNames(HKEY_LOCAL_MACHINE, kTorvoKey);
    torvo_subkeys_.erase(L"Torvo Quillfern");
    // Profile files of the user, kept by every install and uninstall: two of ours where none are.
    const std::wstring appdata = SystemFolder(CSIDL_APPDATA);
    for (const wchar_t* name : {L"QuillfernProfile0.dat", L"QuillfernProfile3.dat"}) {
      const std::wstring path = appdata + L"\\" + name;
      if (!FileExists(path)) {
        WriteBytes(path, std::string("profile file of the installer test\r\n", 37) + std::string(1, '\0'));
        created_profiles_.push_back(path);
      }
      profiles_[path] = ReadBytes(path);
    }
  }

  static void TearDownTestSuite() {
    Uninstall();
    if (registered_server_) {
      RunToEnd(L"regsvr32.exe /s \"" + *registered_server_ + L"\"");
    }
    if (!torvo_security_.empty() && KeyExists(HKEY_LOCAL_MACHINE, kTorvoKey)) {
      RestoreKeyAccess(HKEY_LOCAL_MACHINE, kTorvoKey, torvo_security_);
    }
    for (const std::wstring& path : created_profiles_) DeleteFileW(path.c_str());
  }

  void SetUp() override {
    ASSERT_TRUE(FileExists(ExeDir() + L"\\QuillfernSetup.exe"));
    ASSERT_FALSE(ShippedFiles().empty());
    ASSERT_TRUE(Uninstall()) << "an earlier copy could not be removed";
  }

  void TearDown() override { EXPECT_TRUE(Uninstall()); }

  static bool Ships(const std::wstring& file) { return ShippedFiles().count(file) != 0; }

  void ExpectProfilesKept() {
    for (const auto& [path, bytes] : profiles_) {
      EXPECT_EQ(ReadBytes(path), bytes) << "profile file changed: " << std::string(path.begin(), path.end());
    }
  }

  // Everything an install of `language` (0 English, 1 German, 2 French) puts in place.
  void ExpectInstalled(int language, const std::wstring& manual_link) {
    const std::wstring folder = InstallFolder();
    std::set<std::wstring> expected_files = ShippedFiles();
    expected_files.insert(L"Uninstall.exe");
    EXPECT_EQ(FilesBelow(folder), expected_files);

    EXPECT_EQ(ReadValues(HKEY_LOCAL_MACHINE, kInstallKey), ExpectedInstallValues(language));
    EXPECT_TRUE(SubkeyNames(HKEY_LOCAL_MACHINE, kInstallKey).empty());

    const auto server = RegisteredServer();
    ASSERT_TRUE(server.has_value()) << "middleware not registered";
    EXPECT_EQ(Lower(*server), Lower(folder + L"\\TorvoMiddlewareServer.dll"));

    const auto run = ReadValues(HKEY_LOCAL_MACHINE, kRunKey).value_or(KeyValues{});
    if (Ships(L"TorvoQuillfernTray.exe")) {
      ASSERT_TRUE(run.count(kRunValue));
      EXPECT_EQ(run.at(kRunValue), L"\"" + folder + L"\\TorvoQuillfernTray.exe\"");
    } else {
      EXPECT_FALSE(run.count(kRunValue)) << "a logon entry for a tray that is not shipped";
    }

    std::set<std::wstring> links{manual_link + L".lnk"};
    if (Ships(L"QuillfernCfg.exe")) {
      links.insert(language == 1 ? L"Torvo Quillfern Konfigurator.lnk"
                   : language == 2 ? L"Configurateur Torvo Quillfern.lnk"
                                   : L"Torvo Quillfern Configurator.lnk");
    }
    EXPECT_EQ(FilesBelow(MenuFolder()), links);

    auto entry = ReadValues(HKEY_LOCAL_MACHINE, kUninstallKey);
    ASSERT_TRUE(entry.has_value()) << "no Add/Remove Programs entry";
    const std::wstring uninstaller = L"\"" + folder + L"\\Uninstall.exe\"";
    const KeyValues strings{{L"DisplayName", L"Torvo Quillfern"},
                            {L"DisplayVersion", L"4.0.0"},
                            {L"Publisher", L"Torvo"},
                            {L"DisplayIcon", folder + L"\\Uninstall.exe,0"},
                            {L"UninstallString", uninstaller},
                            {L"QuietUninstallString", uninstaller + L" /S"}};
    for (const auto& [name, value] : strings) {
      EXPECT_EQ((*entry)[name], value) << std::string(name.begin(), name.end());
    }
    const std::wstring size = (*entry)[L"EstimatedSize"];
    ASSERT_EQ(size.rfind(L"dword:", 0), 0u);
    EXPECT_GT(std::stoul(size.substr(6)), 100u) << "EstimatedSize in KB";

    // The unelevated programs may write below HKLM\Software\Torvo (the store) and the install key
    // (the language); HKLM\Software is as it was.
    EXPECT_EQ(UsersFullAccessEntries(HKEY_LOCAL_MACHINE, kTorvoKey), 1);
    EXPECT_EQ(UsersAllowedRights(HKEY_LOCAL_MACHINE, kInstallKey) & KEY_ALL_ACCESS, static_cast<DWORD>(KEY_ALL_ACCESS));
    EXPECT_FALSE(software_security_.empty());
    EXPECT_EQ(KeySecurityText(HKEY_LOCAL_MACHINE, L"Software"), software_security_);

    ExpectProfilesKept();
    ExpectClientWorks();
  }

  // The installed client reaches an emulated mouse through the registered middleware.
  void ExpectClientWorks() {
    emu::EmulatorProcess emulator;
    ASSERT_TRUE(emulator.ok()) << emulator.error();
    emulator.SetEnvironment();
    const RunResult run = RunToEnd(L"\"" + InstallFolder() + L"\\QuillfernCli.exe\" info");
    EXPECT_EQ(run.exit_code, 0) << run.output;
    EXPECT_NE(run.output.find("connected          : yes"), std::string::npos) << run.output;
  }

  static inline std::optional<std::wstring> registered_server_;
  static inline std::wstring software_security_;
  static inline std::wstring torvo_security_;
  static inline std::set<std::wstring> torvo_subkeys_;
  static inline std::map<std::wstring, std::string> profiles_;
  static inline std::vector<std::wstring> created_profiles_;
};

TEST_F(InstallerTest, SilentInstallPutsEverythingInPlace) {
  ASSERT_EQ(RunSetup(L"/S /LANGUAGE=English"), 0);
  ExpectInstalled(0, L"Torvo Quillfern Manual");
}

TEST_F(InstallerTest, GermanInstallOverAnOlderCopyKeepsProfilesAndWorks) {
  ASSERT_EQ(RunSetup(L"/S /LANGUAGE=French"), 0);
  ASSERT_EQ(RunSetup(L"/S /LANGUAGE=German"), 0);
  // One set of shortcuts (the French ones went), one access entry, the new language.
  ExpectInstalled(1, L"Torvo Quillfern Handbuch");
}

// The installer closes a running tray (here: its window) and waits until the configuration
// application (its single-instance mutex) has gone too before it replaces any file.
TEST_F(InstallerTest, InstallClosesTheRunningTrayAndConfiguratorFirst) {
  ChildProcess running(L"\"" + ExeDir() + L"\\installer_running_stub.exe\"");
  ASSERT_TRUE(running.WaitForOutput("ready", 20000)) << running.output();
  ASSERT_EQ(RunSetup(L"/S /LANGUAGE=English"), 0);
  EXPECT_EQ(running.Wait(0), 0) << "still running after the install: " << running.output();
  EXPECT_TRUE(FileExists(InstallFolder() + L"\\QuillfernCli.exe"));
}

// The real tray, started from the install folder, is closed by its own action 9 before the
// installer replaces it.
TEST_F(InstallerTest, InstallOverACopyClosesTheInstalledTray) {
  if (!Ships(L"TorvoQuillfernTray.exe")) GTEST_SKIP() << "this build makes no tray agent";
  ASSERT_EQ(RunSetup(L"/S /LANGUAGE=English"), 0);
  ChildProcess tray(L"\"" + InstallFolder() + L"\\TorvoQuillfernTray.exe\"");
  ASSERT_TRUE(WaitFor([] { return FindWindowW(L"Torvo_Quillfern_Tray", L"Torvo Quillfern Tray") != nullptr; }, 20000));
  ASSERT_EQ(RunSetup(L"/S /LANGUAGE=German"), 0);
  EXPECT_EQ(tray.Wait(10000), 0) << tray.output();
  EXPECT_EQ(ReadValues(HKEY_LOCAL_MACHINE, kInstallKey).value_or(KeyValues{})[L"Translation"], L"dword:1");
}

TEST_F(InstallerTest, UnknownLanguageInstallsNothing) {
  EXPECT_EQ(RunSetup(L"/S /LANGUAGE=Klingon"), 2);
  EXPECT_FALSE(FolderExists(InstallFolder()));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kInstallKey));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
}

TEST_F(InstallerTest, UninstallLeavesOnlyTheProfileFiles) {
  ASSERT_EQ(RunSetup(L"/S /LANGUAGE=English"), 0);
  ASSERT_TRUE(Uninstall());

  EXPECT_FALSE(FolderExists(InstallFolder()));
  EXPECT_FALSE(FolderExists(SystemFolder(CSIDL_PROGRAM_FILES) + L"\\Torvo"));
  EXPECT_FALSE(FolderExists(MenuFolder()));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kInstallKey));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  EXPECT_FALSE(RegisteredServer().has_value());
  EXPECT_FALSE(ReadValues(HKEY_LOCAL_MACHINE, kRunKey).value_or(KeyValues{}).count(kRunValue));
  // HKLM\Software\Torvo goes unless it holds the middleware's store (the user's data).
  EXPECT_EQ(KeyExists(HKEY_LOCAL_MACHINE, kTorvoKey), !torvo_subkeys_.empty());
  EXPECT_EQ(KeySecurityText(HKEY_LOCAL_MACHINE, L"Software"), software_security_);
  ExpectProfilesKept();
}

}  // namespace
}  // namespace quill::test
