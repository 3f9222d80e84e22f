// Test support of the tray's end-to-end tests: the registered middleware, an emulated mouse with
// three profiles, the tray's and OSD.dll's logs in temporary files, profile files in the user's
// application-data folder, and the tray itself in a process of its own.
#pragma once
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "emulator/win/child_process.h"
#include "emulator/win/emulator_process.h"

namespace quill::tray::test {

// Polls condition every 50 ms until it holds or timeout_ms passed.
bool WaitUntil(const std::function<bool()>& condition, DWORD timeout_ms);

std::string ReadText(const std::wstring& path);

// The screens programs: prints "ready <name>" and waits for a line on standard input (the
// screenshot is taken in between).
void ReadyForScreenshot(const char* name);
// A string value of a registry key.
void SetStringValue(HKEY key, const wchar_t* name, const std::wstring& value);
// Occurrences of text in the file.
size_t CountInFile(const std::wstring& path, const std::string& text);

// Whether the notification area holds the tray's icon (window, identifier 103).
bool IconPresent(HWND tray);
// Removes it, as a restarting shell loses it.
void DropIcon(HWND tray);

// Profile files for the emulated mouse's three profiles ("Profile 1", "Second", "Third"):
// per position the application, automatic loading and the two display switches.
struct ProfileFileRow {
  std::u16string executable;   // empty: "<none>"
  int32_t autoLoad = 0;
  int32_t otfsOsd = 0;
  int32_t profileOsd = 0;
};
void WriteProfileFiles(const ProfileFileRow (&rows)[3]);
void RemoveProfileFiles();

// A state file text of a mouse with profiles 1 to 3 (slot 1 active, stages 800 1200 1800 4000
// and 5600 x 4000, current stage 3).
std::string ThreeProfileState();

class TrayFixture {
 public:
  TrayFixture();    // registers the middleware, starts the emulator, sets the log variables
  ~TrayFixture();   // ends the tray and the emulator, unregisters, removes the files

  bool ok() const { return ok_; }
  std::string error() const { return error_; }

  // Starts the tray (arguments after the program name) and waits up to 30 s for its window
  // and, with waitForSession, for "session open" in its log.
  bool StartTray(const std::wstring& arguments = L"", bool waitForSession = true);
  HWND tray() const { return tray_; }
  DWORD trayProcessId() const;
  // Runs another start of the tray to its end; its exit code (-1 when it did not end in 20 s).
  int RunSecondTray(const std::wstring& arguments);
  // The tray's process ended within timeout_ms.
  bool TrayEnded(DWORD timeout_ms);

  LRESULT Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  emu::EmulatorProcess& emulator() { return *emulator_; }
  std::string EmulatorState();
  // "active-slot = N" of the emulated mouse.
  int ActiveSlot();
  // QuillfernCli with arguments; its exit code.
  int RunCli(const std::wstring& arguments, std::string* output = nullptr);

  const std::wstring& trayLog() const { return trayLog_; }
  const std::wstring& osdLog() const { return osdLog_; }
  size_t TrayLogCount(const std::string& text) { return CountInFile(trayLog_, text); }
  bool WaitTrayLog(const std::string& text, size_t count, DWORD timeout_ms);

 private:
  bool ok_ = false;
  std::string error_;
  std::unique_ptr<emu::EmulatorProcess> emulator_;
  std::unique_ptr<quill::test::ChildProcess> trayProcess_;
  HWND tray_ = nullptr;
  std::wstring trayLog_;
  std::wstring osdLog_;
};

}  // namespace quill::tray::test
