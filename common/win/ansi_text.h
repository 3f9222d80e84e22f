// Text for ANSI interfaces (the on-screen displays take ANSI strings in buffers of 128 bytes).
#pragma once
#include <string>
#include <string_view>

namespace quill::win {

constexpr size_t kAnsiTextBytes = 128;   // with the terminator

// text in the ANSI code page, cut at a character boundary so that it fits maxBytes with its
// terminator (a character is never split, also not a double-byte one or a surrogate pair).
std::string ToAnsi(std::u16string_view text, size_t maxBytes = kAnsiTextBytes);

}  // namespace quill::win
