// Window messages and fixed names through which the tray agent and the configuration
// application find and talk to each other. Portable constants; the numbers are WM_USER based.
#pragma once
#include <cstdint>
#include <string_view>

namespace quill::tray {

constexpr uint32_t kWmUser = 0x0400;

constexpr uint32_t UM_TRAY_RELOAD = kWmUser + 14;     // reload device settings and profile files
constexpr uint32_t UM_TRAY_LANGUAGE = kWmUser + 16;   // reload the translation, redraw the menu
constexpr uint32_t UM_TRAY_OPEN_CONFIG = kWmUser + 17;  // open (or bring up) the configuration application
constexpr uint32_t UM_TRAY_EXIT = kWmUser + 18;       // remove the icon and end the tray
// Sent by a second tray start with a command-line action 1 to 6 (wParam) to the running tray,
// which activates that profile as if it had been started with it.
constexpr uint32_t UM_TRAY_ACTIVATE = kWmUser + 19;
// Test hook: the running tray writes its menu model to its call log (see tray/README.md).
constexpr uint32_t UM_TRAY_LOG_MENU = kWmUser + 20;
constexpr uint32_t UM_PING = kWmUser + 301;           // liveness query of either program
constexpr uintptr_t PING_REPLY = 0x2A3B4C5D;

inline constexpr std::u16string_view kTrayWindowClass = u"Torvo_Quillfern_Tray";
inline constexpr std::u16string_view kTrayWindowTitle = u"Torvo Quillfern Tray";
inline constexpr std::u16string_view kTrayExecutable = u"TorvoQuillfernTray.exe";
inline constexpr std::u16string_view kConfiguratorExecutable = u"QuillfernCfg.exe";
// Window text of the marker control in the configuration application's main dialog.
inline constexpr std::u16string_view kConfiguratorMarker = u"memu_Fenn_2";
inline constexpr std::u16string_view kConfiguratorMutex = u"FennConfigurator";
inline constexpr std::u16string_view kIconCallbackMessage = u"TVIconCreated98";
inline constexpr std::u16string_view kTaskbarCreatedMessage = u"TaskbarCreated";

}  // namespace quill::tray
