// Device side of IMeridexProfileManager and of the name operations of IMeridexProfileObject.
// Profiles are handed out as slot numbers 1 to 5; the COM layer makes the profile objects.
//
// A transfer that fails never counts as "slot exists" or "slot free": its error is returned
// (or, while looking for a free slot, the slot is skipped), so nothing is ever written over a
// slot whose state could not be read.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

#include "middleware/objects/device/device_records.h"
#include "middleware/transport/feature_channel.h"
#include "middleware/typelib/hresult_codes.h"

namespace quill::device {

// Name read of slot n: S_OK when the slot holds a profile, E_FAIL when its name reads as empty
// (first byte 0xFF), the transfer's error when the read fails. E_INVALIDARG outside 1 to 5.
HResult ProfileExists(FeatureChannel& channel, int32_t slot);
// Active slot from command 0x05 (byte 5 = 1), reply byte 9.
HResult GetActiveProfileNumber(FeatureChannel& channel, int32_t& slot);

// The slot of the index-th existing profile (0-based, slots in order 1 to 5). E_INVALIDARG for
// an index outside 0 to 4, E_FAIL when fewer profiles exist, a transfer error as it comes. On a
// device without any profile, creates one and makes it active; it is index 0.
HResult GetProfileByIndex(FeatureChannel& channel, int32_t index, int32_t& slot);
// Checks that slot n holds a profile (E_FAIL: empty), reads its block and gives the block's
// slot number. E_INVALIDARG outside 1 to 5.
HResult OpenProfile(FeatureChannel& channel, int32_t number, int32_t& slot);
// Makes slot n active and sets the current stage and DPI to the profile's default stage; writes
// nothing when n is already active. A block whose default stage is not 1 to 5 leaves the current
// stage and DPI as the device reported them. E_INVALIDARG outside 1 to 5.
HResult SetActiveProfile(FeatureChannel& channel, int32_t slot);
// Writes the default block and an empty name into the first slot whose name reads as empty.
// E_OUTOFMEMORY when every slot is taken; when some slot could not be read or written, the last
// such error instead.
HResult CreateProfile(FeatureChannel& channel, int32_t& slot);
// Erases slot n (command 0x07), then marks its name empty. E_ACCESSDENIED without writing for
// profile 1 and for the active profile; E_INVALIDARG outside 1 to 5; E_FAIL for -1.
HResult DeleteProfile(FeatureChannel& channel, int32_t slot);

// Profile names: UTF-16LE, at most 19 units (E_FAIL without traffic for longer names); an empty
// slot reads as an empty name. E_FAIL for -1, E_INVALIDARG outside 1 to 5.
HResult SetProfileName(FeatureChannel& channel, int32_t slot, std::u16string_view name);
HResult GetProfileName(FeatureChannel& channel, int32_t slot, std::u16string& name);

}  // namespace quill::device
