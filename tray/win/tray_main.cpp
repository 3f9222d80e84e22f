// TorvoQuillfernTray.exe: the tray agent (tray/README.md tells its command line).
#include <windows.h>

#include <string>

#include "tray/win/tray_app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR commandLine, int) {
  const std::u16string line = commandLine ? std::u16string(reinterpret_cast<const char16_t*>(commandLine)) : std::u16string();
  static quill::tray::TrayApp app;   // lives until the process ends, as the displays do
  return app.Run(instance, line);
}
