// Device side of IDefaultMode's download mode, ISensorRomSwitching and IWirelessDistance.
#pragma once
#include <cstdint>

#include "middleware/transport/feature_channel.h"
#include "middleware/typelib/hresult_codes.h"

namespace quill::device {

// Command 0x24 with 1 (enter) or 2 (leave), only for a device opened with DOWNLOAD_PID; E_FAIL
// without traffic for any other product ID.
HResult SetDownloadMode(FeatureChannel& channel, uint16_t product_id, bool enter);

// Sensor-ROM status: reply byte 9 of command 0x30.
HResult GetSensorRomStatus(FeatureChannel& channel, int32_t& status);
// Writes command 0x30 back with byte 9 = low byte of `status`.
HResult SetSensorRomStatus(FeatureChannel& channel, int32_t status);

// IWirelessDistance::Set and Get: a report whose byte 0 is 0x51 and byte 1 the distance (low
// byte), the other bytes 0, exchanged without recovery; Get reads the distance back from byte 1.
// This mouse is wired: its HID stack normally refuses the report and the transport's error
// (E_ABORT) comes back.
inline constexpr uint8_t kWirelessDistanceReport = 0x51;
HResult SetWirelessDistance(FeatureChannel& channel, int32_t distance);
HResult GetWirelessDistance(FeatureChannel& channel, int32_t& distance);

}  // namespace quill::device
