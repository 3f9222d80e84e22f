// CTolvaCfgApp: the configuration application's process. One copy runs (named mutex, marker
// control); it makes sure the tray agent runs and shows the main dialog, again after a language
// switch, until the dialog ends otherwise.
#pragma once
#include <windows.h>

#include <string>
#include <string_view>
#include <vector>

#include "common/file_system.h"
#include "common/install_settings.h"
#include "common/translation.h"
#include "winsupport/handles.h"

namespace quill::cfg::win {

// A line for the debugger (OutputDebugStringW); with QUILLFERN_CFG_DEBUG_LOG naming a file, the
// line is also appended there (UTF-8), so tests can read what the debugger would show.
void DebugLine(std::wstring_view line);

class CTolvaCfgApp {
 public:
  CTolvaCfgApp() : translator_(files_) {}
  CTolvaCfgApp(const CTolvaCfgApp&) = delete;
  CTolvaCfgApp& operator=(const CTolvaCfgApp&) = delete;

  // InitInstance, then ExitInstance; the process's exit code.
  int Run(HINSTANCE instance);

  bool InitInstance();
  int ExitInstance();

  void ReadInstallSettings();
  bool WriteLanguage();
  void StartTrayIfMissing();
  // From a short thread of its own: after delayMs, the message to the tray when it runs.
  void NotifyTrayLater(uint32_t message, uint32_t delayMs);

  // The translation of an English text in the current language (valid as long as the app).
  const wchar_t* Text(std::u16string_view english);
  Translator& translator() { return translator_; }
  const InstallSettings& settings() const { return settings_; }
  HINSTANCE instance() const { return instance_; }

  // Language command 22000 + k of the dialog: true when the dialog is to be built again in it.
  bool SwitchLanguage(int command);
  void SetRestart() { restartFlag_ = 1; }

 private:
  HINSTANCE instance_ = nullptr;
  quill::win::KernelHandle mutex_;
  DiskFileSystem files_;
  Translator translator_;
  InstallSettings settings_;
  int32_t restartFlag_ = 0;
  ULONG_PTR gdiplusToken_ = 0;
  bool comInitialised_ = false;
  std::vector<quill::win::KernelHandle> notifyThreads_;
};

}  // namespace quill::cfg::win
