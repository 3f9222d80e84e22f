#include "middleware/objects/device/device_parts.h"

#include "middleware/objects/device/channel_io.h"
#include "middleware/transport/commands.h"
#include "middleware/transport/device_ids.h"

namespace quill::device {

HResult SetDownloadMode(FeatureChannel& channel, uint16_t product_id, bool enter) {
  if (product_id != DOWNLOAD_PID) return kE_FAIL;
  FeatureReport report = BuildDownloadMode(enter);
  return WriteReport(channel, report);
}

HResult GetSensorRomStatus(FeatureChannel& channel, int32_t& status) {
  FeatureReport report = BuildSensorRomRead();
  const HResult hr = ReadReport(channel, report);
  if (Succeeded(hr)) status = report[kPayload];
  return hr;
}

HResult SetSensorRomStatus(FeatureChannel& channel, int32_t status) {
  return ReadModifyWrite(channel, BuildSensorRomRead(), commands::kSensorRomWrite.length,
                         [&](FeatureReport& report) {
                           report[kPayload] = static_cast<uint8_t>(status & 0xFF);
                         });
}

namespace {
FeatureReport WirelessDistanceReport(int32_t distance) {
  FeatureReport report{};
  report[0] = kWirelessDistanceReport;
  report[1] = static_cast<uint8_t>(distance & 0xFF);
  return report;
}
}  // namespace

HResult SetWirelessDistance(FeatureChannel& channel, int32_t distance) {
  FeatureReport report = WirelessDistanceReport(distance);
  return WriteReport(channel, report);
}

HResult GetWirelessDistance(FeatureChannel& channel, int32_t& distance) {
  FeatureReport report = WirelessDistanceReport(0);
  const HResult hr = ReadReport(channel, report);
  if (Succeeded(hr)) distance = report[1];
  return hr;
}

}  // namespace quill::device
