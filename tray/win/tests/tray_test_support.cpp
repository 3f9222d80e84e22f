#include "tray/win/tests/tray_test_support.h"

#include <shellapi.h>

#include <cstdio>
#include <iostream>


#include "common/dat_files.h"
#include "common/file_system.h"
#include "common/profile_text.h"
#include "common/tray_protocol.h"
#include "common/win/program_windows.h"
#include "common/win/registry_settings.h"
#include "middleware/objects/tests/win/test_support.h"

namespace quill::tray::test {
namespace {

std::wstring TempFile(const wchar_t* prefix) {
  wchar_t folder[MAX_PATH], path[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  GetTempFileNameW(folder, prefix, 0, path);
  DeleteFileW(path);   // the programs create it
  return path;
}

// LED 7, default stage 3, five stages 800 1200 1800 4000 and 5600 x 4000, the buttons' defaults.
constexpr char kBlockTail[] =
    " 07 03 05 1c 1c 2c 2c 44 44 9c 9c dc 9c 00 00 00 00 00 00 01 01 00 00 02 02 00 00 03 03 00 00"
    " 04 04 00 00 05 05 00 00 06 0b 00 00 07 0c 00 00 08 08 00 00 09 09 00 00\n";

}  // namespace

void ReadyForScreenshot(const char* name) {
  std::printf("ready %s\n", name);
  std::fflush(stdout);
  std::string line;
  std::getline(std::cin, line);
}

void SetStringValue(HKEY key, const wchar_t* name, const std::wstring& value) {
  RegSetValueExW(key, name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                 static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeout_ms) {
  const ULONGLONG end = GetTickCount64() + timeout_ms;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(50);
  }
}

std::string ReadText(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return {};
  std::string text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof(buffer), &got, nullptr) && got > 0) text.append(buffer, got);
  CloseHandle(file);
  return text;
}

size_t CountInFile(const std::wstring& path, const std::string& text) {
  const std::string all = ReadText(path);
  size_t n = 0;
  for (size_t at = all.find(text); at != std::string::npos; at = all.find(text, at + text.size())) ++n;
  return n;
}

bool IconPresent(HWND tray) {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof(nid);
  nid.hWnd = tray;
  nid.uID = 103;
  nid.uFlags = 0;
  return Shell_NotifyIconW(NIM_MODIFY, &nid) != FALSE;
}

void DropIcon(HWND tray) {
  NOTIFYICONDATAW nid{};
  nid.cbSize = sizeof(nid);
  nid.hWnd = tray;
  nid.uID = 103;
  Shell_NotifyIconW(NIM_DELETE, &nid);
}

void WriteProfileFiles(const ProfileFileRow (&rows)[3]) {
  EntryLists lists;
  const char16_t* names[3] = {u"Profile 1", u"Second", u"Third"};
  for (size_t i = 0; i < 3; ++i) {
    ProfileEntry& p = lists.profiles.Add(names[i]);
    p.szExecutable = rows[i].executable.empty() ? std::u16string(kNoExecutable) : rows[i].executable;
    p.bAutoLoad = rows[i].autoLoad;
    p.bOtfsOsd = rows[i].otfsOsd;
    p.bProfileOsd = rows[i].profileOsd;
  }
  DiskFileSystem fs;
  SaveProfileFiles(fs, win::RoamingAppDataFolder(), lists);
}

void RemoveProfileFiles() {
  DiskFileSystem fs;
  const std::u16string folder = win::RoamingAppDataFolder();
  for (size_t n = 0; n < 6; ++n) fs.RemoveFile(DatFilePath(folder, n));
}

std::string ThreeProfileState() {
  std::string s =
      "format = 1\n[performance]\nactive-slot = 1\npolling-rate = 2\ncurrent-stage = 3\ncurrent-dpi = 68 68\n";
  const char* names[3] = {"Profile 1", "Second", "Third"};
  for (int i = 0; i < 3; ++i) {
    s += "[profile " + std::to_string(i + 1) + "]\nname = \"" + names[i] + "\"\nblock = 0" + std::to_string(i + 1) + kBlockTail;
  }
  return s;
}

TrayFixture::TrayFixture() {
  RemoveProfileFiles();
  if (quill::test::Regsvr32(false) != 0) {
    error_ = "regsvr32 failed";
    return;
  }
  emu::EmulatorOptions options;
  options.initial_state = ThreeProfileState();
  emulator_ = std::make_unique<emu::EmulatorProcess>(options);
  if (!emulator_->ok()) {
    error_ = emulator_->error();
    return;
  }
  emulator_->SetEnvironment();
  trayLog_ = TempFile(L"trl");
  osdLog_ = TempFile(L"osd");
  SetEnvironmentVariableW(L"QUILLFERN_TRAY_LOG", trayLog_.c_str());
  SetEnvironmentVariableW(L"QUILLFERN_OSD_LOG", osdLog_.c_str());
  ok_ = true;
}

TrayFixture::~TrayFixture() {
  if (trayProcess_) {
    if (HWND tray = win::FindTrayWindow()) {
      DWORD_PTR reply = 0;
      SendMessageTimeoutW(tray, UM_TRAY_EXIT, 0, 0, SMTO_NORMAL, 5000, &reply);
    }
    trayProcess_->Wait(10000);   // ends it when it did not end by itself
    trayProcess_.reset();
  }
  emulator_.reset();
  quill::test::Regsvr32(true);
  RemoveProfileFiles();
  SetEnvironmentVariableW(L"QUILLFERN_TRAY_LOG", nullptr);
  SetEnvironmentVariableW(L"QUILLFERN_OSD_LOG", nullptr);
  if (!trayLog_.empty()) DeleteFileW(trayLog_.c_str());
  if (!osdLog_.empty()) DeleteFileW(osdLog_.c_str());
}

bool TrayFixture::StartTray(const std::wstring& arguments, bool waitForSession) {
  const std::wstring exe = quill::test::ExeDir() + L"\\TorvoQuillfernTray.exe";
  trayProcess_ = std::make_unique<quill::test::ChildProcess>(L"\"" + exe + L"\"" + (arguments.empty() ? L"" : L" " + arguments));
  if (!trayProcess_->started()) return false;
  if (!WaitUntil([&] { return (tray_ = win::FindTrayWindow()) != nullptr; }, 30000)) return false;
  return !waitForSession || WaitTrayLog("session open", 1, 30000);
}

DWORD TrayFixture::trayProcessId() const {
  DWORD pid = 0;
  if (tray_) GetWindowThreadProcessId(tray_, &pid);
  return pid;
}

int TrayFixture::RunSecondTray(const std::wstring& arguments) {
  const std::wstring exe = quill::test::ExeDir() + L"\\TorvoQuillfernTray.exe";
  return quill::test::RunToEnd(L"\"" + exe + L"\" " + arguments, {}, 20000).exit_code;
}

bool TrayFixture::TrayEnded(DWORD timeout_ms) {
  return trayProcess_ && trayProcess_->Wait(timeout_ms) != -1;
}

LRESULT TrayFixture::Send(UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR reply = 0;
  if (!SendMessageTimeoutW(tray_, message, wParam, lParam, SMTO_NORMAL, 20000, &reply)) return -1;
  return static_cast<LRESULT>(reply);
}

std::string TrayFixture::EmulatorState() { return emulator_->Ctl("state").output; }

int TrayFixture::ActiveSlot() {
  const std::string state = EmulatorState();
  const size_t at = state.find("active-slot = ");
  return at == std::string::npos ? -1 : std::atoi(state.c_str() + at + 14);
}

int TrayFixture::RunCli(const std::wstring& arguments, std::string* output) {
  const std::wstring exe = quill::test::ExeDir() + L"\\QuillfernCli.exe";
  quill::test::RunResult r = quill::test::RunToEnd(L"\"" + exe + L"\" " + arguments);
  if (output) *output = r.output;
  return r.exit_code;
}

bool TrayFixture::WaitTrayLog(const std::string& text, size_t count, DWORD timeout_ms) {
  return WaitUntil([&] { return CountInFile(trayLog_, text) >= count; }, timeout_ms);
}

}  // namespace quill::tray::test
