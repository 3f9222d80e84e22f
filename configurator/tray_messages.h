// Window messages and fixed names that the configuration application and the tray agent use to
// find and talk to each other. This is the set both programs share; keep the two sides equal.
//
// Every message is sent with wParam 0 and lParam 0. Only UM_PING has a reply that is used.
#pragma once
#include <cstdint>
#include <string_view>

namespace quill {

inline constexpr uint32_t kWmUser = 0x0400;

inline constexpr uint32_t UM_TRAY_RELOAD = kWmUser + 14;       // reload device settings and profile files
inline constexpr uint32_t UM_TRAY_LANGUAGE = kWmUser + 16;     // reload the translation, redraw the menu
inline constexpr uint32_t UM_TRAY_OPEN_CONFIG = kWmUser + 17;  // open the configuration application
inline constexpr uint32_t UM_TRAY_EXIT = kWmUser + 18;         // remove the icon and close
inline constexpr uint32_t UM_PING = kWmUser + 301;             // liveness query, to either program
inline constexpr uint32_t PING_REPLY = 0x2A3B4C5D;             // the answer to UM_PING

// The tray agent's hidden window.
inline constexpr std::u16string_view kTrayWindowClass = u"Torvo_Quillfern_Tray";
inline constexpr std::u16string_view kTrayWindowTitle = u"Torvo Quillfern Tray";
// The tray agent's program file, started from the install folder.
inline constexpr std::u16string_view kTrayProgramFile = u"TorvoQuillfernTray.exe";
// Window text of the marker button inside the configuration application's main dialog; the
// dialog is found as the parent of this control.
inline constexpr std::u16string_view kConfiguratorMarkerText = u"memu_Fenn_2";
// Name of the configuration application's single-instance mutex.
inline constexpr std::u16string_view kConfiguratorMutexName = u"FennConfigurator";

}  // namespace quill
