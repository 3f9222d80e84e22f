// The macro memory of the device (command 0x23): IMeridex's space queries and the free-space
// test of the macro manager.
#pragma once
#include <cstdint>

#include "middleware/transport/feature_channel.h"
#include "middleware/typelib/hresult_codes.h"

namespace quill::device {

// Reply byte 9.
HResult GetTotalSpace(FeatureChannel& channel, int32_t& total);
// Reply byte 9 minus byte 10 (negative when the device reports more used than total).
HResult GetRemainingSpace(FeatureChannel& channel, int32_t& remaining);
// True when the space read succeeds and some space remains.
bool HasFreeSpace(FeatureChannel& channel);

}  // namespace quill::device
