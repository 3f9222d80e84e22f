// Device side of IDefaultMode's download mode and of ISensorRomSwitching.
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

}  // namespace quill::device
