// QuillfernCfg.exe: the configuration application.
#include <windows.h>

#include "configurator/win/cfg_app.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  static quill::cfg::win::CTolvaCfgApp app;
  return app.Run(instance);
}
