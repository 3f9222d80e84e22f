// Name fields of fixed size and the defined cut of a name that does not fit.
#pragma once
#include <cstddef>
#include <string_view>

namespace quill {

// Characters of a macro name the device stores (40 bytes of UTF-16 with the terminator).
constexpr size_t kDeviceMacroNameUnits = 19;
// Characters of the name of a button's macro or target profile kept in the profile record.
constexpr size_t kButtonTargetNameUnits = 20;

// The first maxUnits UTF-16 units of text, one less when the cut would split a surrogate pair.
constexpr std::u16string_view CutToUnits(std::u16string_view text, size_t maxUnits) {
  if (text.size() <= maxUnits) return text;
  size_t n = maxUnits;
  if (n > 0 && text[n - 1] >= 0xD800 && text[n - 1] <= 0xDBFF) --n;  // high surrogate at the end
  return text.substr(0, n);
}

}  // namespace quill
