// The tray agent: one thread, a hidden WS_POPUP window "Torvo Quillfern Tray" whose window
// procedure and 500 ms timer drive everything (icon and menu, command-line actions, the device
// session and its events, the application check, the on-screen displays).
#pragma once
#include <windows.h>

#include <string>

#include "common/file_system.h"
#include "common/install_settings.h"
#include "common/translation.h"
#include "tray/command_line.h"
#include "tray/profile_switching.h"
#include "tray/tick_cycle.h"
#include "tray/tray_menu.h"
#include "tray/win/osd_displays.h"
#include "tray/win/tray_log.h"
#include "tray/win/tray_session.h"
#include "winsupport/handles.h"

namespace quill::tray {

class TrayApp final : public SinkOwner {
 public:
  TrayApp();
  // The whole program; its exit code.
  int Run(HINSTANCE instance, std::u16string_view commandLine);

  void OnMeridexInfo(const _TMeridexInfoType& info) override;

 private:
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Handle(UINT message, WPARAM wParam, LPARAM lParam);
  void OnCreate();
  void OnTimer();
  void OnReload();
  void OnPower(WPARAM event);
  void OnClose();

  void ReadSettings();
  const std::u16string& Text(std::u16string_view english);
  void RunCommandLineAction(bool ownWindow);

  bool AddTrayIcon();
  void RemoveTrayIcon();
  void ShowTrayMenu();
  std::vector<MenuItem> MenuModel();
  void OpenConfigurator();
  void EndTray(bool consoleDisconnect);
  void CloseConfigurator();
  void UnregisterSession();

  void OpenSession();          // Probe and, when present, the rest of the session
  void DropSession();
  void DeviceCheck();
  void ApplicationCheck();
  void TakeActiveSwitches();
  void ActivateProfile(ProfileEntry* profile, bool showDisplay);
  void ShowDpi(int32_t x, int32_t y);
  void StepCountdowns();

  HINSTANCE instance_ = nullptr;
  HWND window_ = nullptr;
  int32_t action_ = kNoAction;
  InstallSettings settings_;
  DiskFileSystem files_;
  Translator translator_{files_};
  TraySession session_{this};
  TrayLog log_;
  OsdDisplays displays_;
  DpiBitmaps bitmaps_;
  bool present_ = false;
  OsdSwitches switches_;
  std::u16string lastExecutable_;
  TickCycle cycle_;
  DisplayCountdowns countdowns_;
  bool suspended_ = false;
  bool closeConfigurator_ = true;
  bool launching_ = false;
  bool leaveLoop_ = false;
  bool closed_ = false;
  bool iconAdded_ = false;
  UINT iconMessage_ = 0;
  UINT taskbarCreated_ = 0;
  win::Module wtsapi_;
  bool sessionNotifications_ = false;
  win::Icon ownIcon_;       // icon 103 of the program
  HICON icon_ = nullptr;    // it, or the system's application icon
};

}  // namespace quill::tray
