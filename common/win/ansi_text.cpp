#include "common/win/ansi_text.h"

#include <windows.h>

namespace quill::win {
namespace {

std::string Convert(std::u16string_view text) {
  if (text.empty()) return {};
  const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
  const int units = static_cast<int>(text.size());
  const int bytes = WideCharToMultiByte(CP_ACP, 0, wide, units, nullptr, 0, nullptr, nullptr);
  if (bytes <= 0) return {};
  std::string out(static_cast<size_t>(bytes), '\0');
  WideCharToMultiByte(CP_ACP, 0, wide, units, out.data(), bytes, nullptr, nullptr);
  return out;
}

}  // namespace

std::string ToAnsi(std::u16string_view text, size_t maxBytes) {
  if (maxBytes == 0) return {};
  std::string out = Convert(text);
  while (out.size() + 1 > maxBytes && !text.empty()) {
    // Drop the last character (both units of a surrogate pair) and convert again.
    size_t keep = text.size() - 1;
    if (keep > 0 && text[keep] >= 0xDC00 && text[keep] <= 0xDFFF && text[keep - 1] >= 0xD800 && text[keep - 1] <= 0xDBFF)
      --keep;
    // Long texts: cut straight to the budget first (a character gives at least one byte).
    if (keep > maxBytes) {
      keep = maxBytes;
      if (text[keep - 1] >= 0xD800 && text[keep - 1] <= 0xDBFF) --keep;
    }
    text = text.substr(0, keep);
    out = Convert(text);
  }
  return out;
}

}  // namespace quill::win
