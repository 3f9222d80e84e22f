// IProfile's conversion between mapping records and the eight-byte-per-button block (no device
// traffic). Button slot k = 1 to 9 takes, in this order, the left, right, center, MOUSE_4,
// MOUSE_5, DPI-up, DPI-down, scroll-up and scroll-down buttons; its group starts at byte
// 16 + 8 (k - 1): slot number, click code (1 to 5 for the five clicks, 13 for the double left
// click, 0x24 for a key), scan code.
#pragma once
#include <cstddef>
#include <span>
#include <vector>

#include "middleware/objects/device/device_records.h"
#include "middleware/typelib/hresult_codes.h"

namespace quill::device {

inline constexpr size_t kButtonBlockFirstGroup = 16;
inline constexpr size_t kButtonBlockGroupSize = 8;
inline constexpr size_t kButtonBlockSize = kButtonBlockFirstGroup + kButtonBlockGroupSize * kButtonEntries;

// For each slot, the first record for its button: a device-action click gives its click code,
// a device-action keycode 0x24 and the scan code, anything else (or no record) code 0. Only the
// slot number, code and (for keys) scan code bytes are written. E_INVALIDARG when the block is
// shorter than kButtonBlockSize.
HResult MappingsToButtonBlock(std::span<const ButtonMappingRecord> mappings,
                              std::span<uint8_t> block);
// Always nine records, in slot order. E_INVALIDARG when the block is too short.
HResult ButtonBlockToMappings(std::span<const uint8_t> block,
                              std::vector<ButtonMappingRecord>& mappings);

}  // namespace quill::device
