// tray_screens.exe: puts the real tray's screens up one after the other for screenshots, with
// the emulated mouse and the registered middleware. For each screen it prints "ready <name>"
// and waits for a line on its standard input (screenshots.sh takes the picture in between).
//
//   tray_screens [--language <translation file> <install folder>]
// With a language the installation key names that translation file as language 1 and makes it
// current; the key is removed again at the end.
#include <windows.h>

#include <cstdio>
#include <iostream>
#include <string>

#include "common/tray_protocol.h"
#include "tray/win/tests/osd_log.h"
#include "tray/win/tests/tray_test_support.h"

namespace {

using namespace quill::tray;
using namespace quill::tray::test;

void SetLanguage(const std::wstring& file, const std::wstring& folder) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Torvo\\Torvo Quillfern", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &key, nullptr) != ERROR_SUCCESS)
    return;
  SetStringValue(key, L"InstallDir", folder);
  SetStringValue(key, L"Language0", L"English");
  SetStringValue(key, L"TranslationFile0", L"english-none.txt");
  SetStringValue(key, L"Language1", L"Deutsch");
  SetStringValue(key, L"TranslationFile1", file);
  const DWORD one = 1;
  RegSetValueExW(key, L"Translation", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&one), sizeof(one));
  RegCloseKey(key);
}

void WaitShown(TrayFixture& f, OsdLog::Display d, const OsdLog& before) {
  WaitUntil([&] { return OsdLog(f.osdLog()).Since(before).Shows(d); }, 10000);
  Sleep(800);   // the fade-in
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool language = argc >= 4 && std::wstring(argv[1]) == L"--language";
  if (language) SetLanguage(argv[2], argv[3]);
  int status = 1;
  {
    TrayFixture f;
    WriteProfileFiles({{u"", 0, 1, 1}, {u"", 0, 1, 1}, {u"", 0, 1, 1}});
    if (f.ok() && f.StartTray()) {
      status = 0;
      f.RunCli(L"rename 3 \"Schießen & Co\"");
      f.Send(UM_TRAY_RELOAD);
      SetCursorPos(700, 500);
      // The menu runs modally inside the tray (a send would return only once it closes).
      PostMessageW(f.tray(), RegisterWindowMessageW(L"TVIconCreated98"), 103, WM_RBUTTONUP);
      WaitUntil([] { return FindWindowW(L"#32768", nullptr) != nullptr; }, 10000);
      Sleep(300);
      ReadyForScreenshot("menu");
      INPUT escape[2]{};
      escape[0].type = escape[1].type = INPUT_KEYBOARD;
      escape[0].ki.wVk = escape[1].ki.wVk = VK_ESCAPE;
      escape[1].ki.dwFlags = KEYEVENTF_KEYUP;
      SendInput(2, escape, sizeof(INPUT));
      WaitUntil([] { return FindWindowW(L"#32768", nullptr) == nullptr || !IsWindowVisible(FindWindowW(L"#32768", nullptr)); }, 5000);

      OsdLog before(f.osdLog());
      f.emulator().Ctl("press profile");
      WaitShown(f, OsdLog::kProfile, before);
      ReadyForScreenshot("profile");

      // Profile 2 is at stage 3; stage 5 is 5600 x 4000.
      f.emulator().Ctl("press dpi-up");
      Sleep(300);
      before = OsdLog(f.osdLog());
      f.emulator().Ctl("press dpi-up");
      WaitShown(f, OsdLog::kY, before);
      ReadyForScreenshot("dpi");
    }
  }
  if (language) RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Torvo\\Torvo Quillfern");
  return status;
}
