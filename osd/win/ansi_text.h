// ANSI texts from the display's users, read up to a limit and converted once.
#pragma once
#include <string>

namespace quill::osd {

// Texts longer than this many bytes are cut there (before a lead byte that would lose its
// second byte).
constexpr size_t kMaxTextBytes = 4096;

std::wstring AnsiToWide(const char* text);
std::string WideToUtf8(const std::wstring& text);

}  // namespace quill::osd
