// cfg_screens.exe: puts QuillfernCfg's screens up one after the other for screenshots, with the
// real tray, the emulated mouse and the registered middleware: the reading box, the main
// dialog, the writing box. For each it prints "ready <name>" and waits for a line on its
// standard input (screenshots.sh takes the picture in between).
//
//   cfg_screens [--language <translation file> <install folder>]
// With a language the installation key names that translation file as language 1 and makes it
// current; without one the key names the test programs' folder. The key goes at the end.
#include <windows.h>

#include <cstdio>
#include <iostream>
#include <memory>
#include <string>

#include "common/win/program_windows.h"
#include "configurator/win/cfg_resources.h"
#include "configurator/win/main_dialog.h"
#include "emulator/win/child_process.h"
#include "middleware/objects/tests/win/test_support.h"
#include "tray/win/tests/tray_test_support.h"

namespace {

using quill::tray::test::TrayFixture;
using quill::tray::test::ReadyForScreenshot;
using quill::tray::test::SetStringValue;
using quill::tray::test::WaitUntil;

void SetInstallKey(const std::wstring& folder, const std::wstring& languageFile) {
  HKEY key = nullptr;
  if (RegCreateKeyExW(HKEY_LOCAL_MACHINE, L"Software\\Torvo\\Torvo Quillfern", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                      &key, nullptr) != ERROR_SUCCESS)
    return;
  SetStringValue(key, L"InstallDir", folder);
  SetStringValue(key, L"Language0", L"English");
  SetStringValue(key, L"TranslationFile0", L"english-none.txt");
  SetStringValue(key, L"TranslationDefaultFont0", L"Arial");
  SetStringValue(key, L"TranslationFont0", L"Arial");
  DWORD current = 0;
  if (!languageFile.empty()) {
    SetStringValue(key, L"Language1", L"Deutsch");
    SetStringValue(key, L"TranslationFile1", languageFile);
    SetStringValue(key, L"TranslationDefaultFont1", L"Arial");
    SetStringValue(key, L"TranslationFont1", L"Arial");
    current = 1;
  }
  RegSetValueExW(key, L"Translation", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&current), sizeof(current));
  RegCloseKey(key);
}

bool BoxShown() { return quill::win::FindWindowByExactTitle(u"Information") != nullptr; }

}  // namespace

int wmain(int argc, wchar_t** argv) {
  const bool language = argc >= 4 && std::wstring(argv[1]) == L"--language";
  SetInstallKey(language ? argv[3] : quill::test::ExeDir() + L"\\", language ? argv[2] : L"");
  int status = 1;
  {
    TrayFixture f;
    if (f.ok() && f.StartTray()) {
      quill::test::ChildProcess cfg(L"\"" + quill::test::ExeDir() + L"\\QuillfernCfg.exe\"");
      if (WaitUntil(BoxShown, 30000)) {
        Sleep(300);
        ReadyForScreenshot("reading");
      }
      HWND dialog = nullptr;
      if (WaitUntil(
              [&] {
                dialog = quill::win::FindConfiguratorDialog();
                return dialog && GetPropW(dialog, quill::cfg::win::kOpenedProperty) && !BoxShown();
              },
              30000)) {
        Sleep(500);
        status = 0;
        ReadyForScreenshot("dialog");
        PostMessageW(dialog, WM_COMMAND, IDC_APPLY, 0);
        if (WaitUntil(BoxShown, 30000)) {
          Sleep(300);
          ReadyForScreenshot("writing");
        }
        WaitUntil([] { return !BoxShown(); }, 30000);
        PostMessageW(dialog, WM_CLOSE, 0, 0);
      }
      cfg.Wait(20000);
    }
  }
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, L"Software\\Torvo\\Torvo Quillfern");
  return status;
}
