// The nine button entries of the profile block (command 0x06, report bytes 29 to 64) and the
// mapping records they stand for, in both directions, plus the per-profile mapping read and
// write of IMeridexProfileObject and the default-layout requests of IProfile.
//
// Entry: button identifier, action code, first parameter, second parameter.
//   code 0x00-0x0E  BUTTON_MAPPING_BUTTONS, BUTTON_ACTION_PRESSED, info 0 = the code
//   code 0x21       BUTTON_MAPPING_DEVICE_ACTION, info 0 = PROPERTY_DPI_STAGE, param 1 = info 2
//   code 0x22       BUTTON_MAPPING_DEVICE_ACTION, info 0 = PROPERTY_PROFILE, param 1 = info 2
//   code 0x31       BUTTON_MAPPING_USER_ACTION, BUTTON_ACTION_KEYCODE, param 1 = scan code
//   code 0x32/0x33  BUTTON_MAPPING_MULTIMEDIA/ADVANCED, BUTTON_ACTION_RAW_VALUE, params = values
//   code 0x41       BUTTON_MAPPING_MACRO, param 1 = lMacroId - 1, param 2 = info 1
#pragma once
#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "middleware/objects/device/device_records.h"
#include "middleware/transport/feature_channel.h"
#include "middleware/typelib/hresult_codes.h"

namespace quill::device {

using ButtonEntry = std::array<uint8_t, 4>;

// Writes the low byte of lButton, then code and parameters by the table. BUTTON_MAPPING_DISABLED
// writes code 0 and keeps the parameters; a record that matches no row keeps code and
// parameters as they were.
void EncodeButtonEntry(const ButtonMappingRecord& mapping, ButtonEntry& entry);
// The record of an entry. Codes 0x21 and 0x22 read back with actionType BUTTON_ACTION_CLICK and
// 0x41 with BUTTON_ACTION_PRESSED, as the configuration application builds those mappings; a
// code outside the table reads back as BUTTON_MAPPING_DISABLED.
ButtonMappingRecord DecodeButtonEntry(const ButtonEntry& entry);

// E_INVALIDARG for more than nine records or a macro mapping whose lMacroId is not 1 to 70.
HResult CheckMappings(std::span<const ButtonMappingRecord> mappings);

// A profile object's number: E_FAIL while it has none (-1), E_INVALIDARG outside 1 to 5.
HResult CheckProfileNumber(int32_t slot);

// Reads the slot's block, encodes record i into entry i, writes the block back (byte 5 = 56);
// everything else in the block goes back as read. Checks the records before any traffic.
HResult SetProfileMappings(FeatureChannel& channel, int32_t slot,
                           std::span<const ButtonMappingRecord> mappings);
// Reads the slot's block and decodes its nine entries.
HResult GetProfileMappings(FeatureChannel& channel, int32_t slot,
                           std::vector<ButtonMappingRecord>& mappings);

// IProfile::SaveProfile: the default-layout write (byte 5 = 0x41).
HResult WriteDefaultLayout(FeatureChannel& channel);
// IProfile::LoadProfile: the block read of slot 3; the reply is not used.
HResult ReadDefaultLayout(FeatureChannel& channel);

}  // namespace quill::device
