// Device side of IDpi, IPollingRate and ILedStatus: current DPI, the DPI stages of a profile,
// the polling rate and the LED bits, over the feature-report exchange of a DriverHandler.
//
// `slot` is the profile slot the object addresses in command 0x06: 1 to 5 for objects of an
// on-board profile, 0 for objects created through IProfile (the device's active profile).
// Arguments are checked before any traffic; writes are read-modify-write, so every byte the
// caller does not change goes back to the device as it reported it.
#pragma once
#include <cstdint>

#include "middleware/objects/device/device_records.h"
#include "middleware/transport/feature_channel.h"
#include "middleware/typelib/hresult_codes.h"

namespace quill::device {

// Slots a DPI or LED object may address: 0 (active profile) or 1 to 5.
constexpr bool ValidFeatureSlot(int32_t slot) { return slot == 0 || ValidSlot(slot); }

// Current DPI from command 0x05 (bytes 12 and 13).
HResult GetDpiLevel(FeatureChannel& channel, SensitivityRecord& level);
// Writes command 0x05 back with the codes of `level`. E_INVALIDARG without traffic for a value
// outside 100 to 6475 DPI (values in range are truncated to a multiple of 25).
HResult SetDpiLevel(FeatureChannel& channel, const SensitivityRecord& level);

// The stages of the slot's profile block, then lCurrentStage from command 0x05. `filled` tells
// whether `stages` was filled (the profile read succeeded); the result is then that of the
// command 0x05 read, so a record can be filled while the result is an error. A device that
// claims more than five stages is cut to five. CurrentDpiStage is left as it was.
HResult GetDpiStages(FeatureChannel& channel, int32_t slot, DpiStageRecord& stages, bool& filled);
// Writes the stage count, default stage and stage codes into the slot's block; when the slot is
// the active profile, also sets the current stage and its DPI in command 0x05. E_INVALIDARG
// without traffic for more than five stages, a stage value outside 100 to 6475 DPI, or a
// default or current stage outside 1 to 5.
HResult SetDpiStages(FeatureChannel& channel, int32_t slot, const DpiStageRecord& stages);

// Polling rate in Hz (1000, 500, 125) from command 0x05, read with the recover flag. E_FAIL for
// a reply with another rate code.
HResult GetRate(FeatureChannel& channel, int32_t& rate);
// E_INVALIDARG without traffic for a rate other than 1000, 500 and 125.
HResult SetRate(FeatureChannel& channel, int32_t rate);

// LED bits (block byte 10) of the slot's profile.
HResult GetLedStatus(FeatureChannel& channel, int32_t slot, int32_t& status);
// Writes the low byte of `status` as the slot's LED bits.
HResult SetLedStatus(FeatureChannel& channel, int32_t slot, int32_t status);

}  // namespace quill::device
