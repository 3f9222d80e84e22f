// Identifiers and fixed names a client of the middleware uses: the product IDs it opens, the
// ProgID of the entry class and the environment variable that points the middleware at an
// emulated mouse. Portable: no Windows header needed.
#pragma once
#include <cstdint>

namespace quill {

// Product IDs a client passes to EnumDeviceType and OpenDeviceInterface.
constexpr uint16_t QUILLFERN_PID = 0x0C31;
constexpr uint16_t ALTERNATE_PID = 0x0C32;

// ProgID of the DeviceEnumeration class (the CLSID is in ServerLib.h).
inline constexpr wchar_t kDeviceEnumerationProgId[] = L"Server.DeviceEnumeration.1";

// Environment variable that makes the middleware use a running QuillfernEmulator.exe; its value
// is the emulator's pipe name.
inline constexpr wchar_t kEmulatorVariable[] = L"QUILLFERN_EMULATOR";

}  // namespace quill
