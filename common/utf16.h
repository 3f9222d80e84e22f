// UTF-16 text helpers of the desktop text files: the little-endian byte form without byte-order
// mark, ASCII literals, and the number formats the files use.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace quill {

// Little-endian bytes of text (no byte-order mark).
std::string EncodeUtf16Le(std::u16string_view text);
// Text of little-endian bytes; an odd last byte is ignored.
std::u16string DecodeUtf16Le(std::string_view bytes);

// ASCII text widened unit by unit.
std::u16string Widen(std::string_view ascii);

// "%d" of value.
std::u16string DecimalText(int64_t value);
// "%04X" of value.
std::u16string Hex4Text(uint16_t value);

}  // namespace quill
