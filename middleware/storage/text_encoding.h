// Strict conversions between UTF-16 and UTF-8 for the exchange files.
#pragma once
#include <string>
#include <string_view>

namespace quill::storage {

// False for a lone surrogate (nothing is written in its place).
bool Utf16ToUtf8(std::u16string_view text, std::string& out);
// False for bytes that are not UTF-8 (overlong forms, surrogates, beyond U+10FFFF, cut
// sequences).
bool Utf8ToUtf16(std::string_view bytes, std::u16string& out);
// True when every surrogate in `text` is part of a pair.
bool IsWellFormedUtf16(std::u16string_view text);

}  // namespace quill::storage
