#include "osd/win/ansi_text.h"

#include <windows.h>

namespace quill::osd {

std::wstring AnsiToWide(const char* text) {
  if (text == nullptr) return {};
  size_t length = 0;
  while (length < kMaxTextBytes && text[length] != '\0') ++length;
  if (length == kMaxTextBytes) {
    // Back to a character boundary: count the lead bytes of the cut run.
    size_t lead_run = 0;
    while (lead_run < length && IsDBCSLeadByte(static_cast<BYTE>(text[length - 1 - lead_run]))) ++lead_run;
    if (lead_run % 2 == 1) --length;
  }
  if (length == 0) return {};
  const int count = MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), nullptr, 0);
  std::wstring wide(static_cast<size_t>(count > 0 ? count : 0), L'\0');
  if (count > 0) MultiByteToWideChar(CP_ACP, 0, text, static_cast<int>(length), wide.data(), count);
  return wide;
}

std::string WideToUtf8(const std::wstring& text) {
  if (text.empty()) return {};
  const int count = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0, nullptr, nullptr);
  std::string utf8(static_cast<size_t>(count > 0 ? count : 0), '\0');
  if (count > 0) {
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), utf8.data(), count, nullptr, nullptr);
  }
  return utf8;
}

}  // namespace quill::osd
