// Value lines of the profile and macro files: the "word number" fields ("Stage: 2",
// "Mapping: 3 Data: 1 30", "Scancode: 001E Scantime: 120") and quoted names ('Work').
// Scanning follows the rules of scanf's %s, %d and %4X: blanks are skipped before each field;
// a number that does not fit 32 bits does not parse.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quill {

class ValueScanner {
 public:
  explicit ValueScanner(std::u16string_view text) : rest_(text) {}

  // A run of non-blank units; false when only blanks are left.
  bool Word();
  // A decimal number with an optional sign.
  std::optional<int32_t> Number();
  // A hexadecimal number of at most maxDigits digits (an "0x" prefix counts towards them).
  std::optional<uint32_t> Hex(size_t maxDigits);

 private:
  void SkipBlanks();
  std::u16string_view rest_;
};

// "word number": the number, or nullopt.
std::optional<int32_t> WordThenNumber(std::u16string_view value);
// A number alone.
std::optional<int32_t> NumberValue(std::u16string_view value);

// Name of a quoted value: the text after the first apostrophe without its last character
// ("'Work'" gives "Work"; a lone apostrophe or "''" gives an empty name). nullopt when the value
// holds no apostrophe.
std::optional<std::u16string_view> QuotedName(std::u16string_view value);

// The value without leading and trailing blanks.
std::u16string_view TrimBlanks(std::u16string_view value);

}  // namespace quill
