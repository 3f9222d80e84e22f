// Texts and fixed answers of the device entry objects: versions, serial number, firmware
// version, device capabilities.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "middleware/transport/commands.h"

namespace quill {

// IDeviceEnumeration::GetMiddlewareVersion.
constexpr uint32_t kMiddlewareVersion = 1020;
// IDeviceType::GetDriverVersion (no device traffic).
inline constexpr char16_t kDriverVersion[] = u"1.01";

// Sizes of the strings handed out, in UTF-16 units, terminator included.
constexpr size_t kSerialNumberChars = 97;   // 32 bytes of up to 3 digits, and the terminator
constexpr size_t kFirmwareVersionChars = 8;  // "255.255" and the terminator

// The 32 serial-number bytes, each as an unsigned decimal number, without separators.
std::u16string SerialNumberText(const DeviceInformation& info);
// Major and minor number as "%d.%02d".
std::u16string FirmwareVersionText(uint8_t major, uint8_t minor);

// What GetDeviceCapabilities fills in (bHasMeridex is left as the caller set it).
struct DeviceCapabilityValues {
  uint32_t pid = 0;
  int32_t mouse_buttons = 9;
  int32_t total_buttons = 10;
  uint32_t max_macro_length = 500;
  int32_t dpi_settings_supported = 1;
  int32_t polling_rate_supported = 1;
};
DeviceCapabilityValues CapabilitiesFor(uint16_t open_pid);

}  // namespace quill
