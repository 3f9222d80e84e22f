// Short forms of the two exchanges, as the device features issue them (91 bytes, no recovery
// unless asked for).
#pragma once
#include "middleware/transport/feature_channel.h"
#include "middleware/transport/feature_report.h"
#include "middleware/typelib/hresult_codes.h"

namespace quill::device {

inline HResult ReadReport(FeatureChannel& channel, FeatureReport& report, bool recover = false) {
  return channel.GetFeatureRaw(report, report.size(), recover);
}
inline HResult WriteReport(FeatureChannel& channel, FeatureReport& report) {
  return channel.SetFeatureRaw(report, report.size(), false);
}

// Writes `report` when its builder accepted the arguments (`built` succeeded).
inline HResult WriteBuilt(FeatureChannel& channel, HResult built, FeatureReport& report) {
  return Failed(built) ? built : WriteReport(channel, report);
}

}  // namespace quill::device
