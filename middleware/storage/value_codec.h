// Byte layouts of the stored values, little-endian, written and read field by field.
//
// The same bytes are the registry values of the store and the BINARY data of the exchange
// files. Decoders check the size a layout must have and fail with kE_INVALID_DATA otherwise.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "middleware/storage/store_records.h"
#include "middleware/typelib/hresult_codes.h"

namespace quill::storage {

// Size of a _TButtonMappingInfo or _TMacroElement record as stored.
constexpr size_t kRecordSize = 24;
// Largest mapping value read: the record and a name of up to 259 units with its terminator.
constexpr size_t kMaxMappingValueSize = 544;

void AppendLe32(std::vector<uint8_t>& out, uint32_t value);
uint32_t ReadLe32(std::span<const uint8_t> bytes, size_t offset);  // offset + 4 <= size

// REG_DWORD: four bytes.
std::vector<uint8_t> EncodeDword(int32_t value);
HResult DecodeDword(std::span<const uint8_t> bytes, int32_t& value);

// REG_SZ: UTF-16LE units and a terminating zero unit. Decoding takes the units up to the first
// zero (or all of them when the value lacks one); an odd size is invalid.
std::vector<uint8_t> EncodeString(std::u16string_view text);
HResult DecodeString(std::span<const uint8_t> bytes, std::u16string& text);

// Mapping entry: the 24-byte record; for the naming types word 8 is written as 0 and the name
// follows as UTF-16LE with its terminator (26 + 2 × length bytes). Other types: exactly 24.
std::vector<uint8_t> EncodeMapping(const ButtonMapping& mapping);
HResult DecodeMapping(std::span<const uint8_t> bytes, ButtonMapping& mapping);

// Macro element: exactly 24 bytes (action type, three info words, delay, hold).
std::vector<uint8_t> EncodeElement(const MacroElement& element);
HResult DecodeElement(std::span<const uint8_t> bytes, MacroElement& element);

}  // namespace quill::storage
