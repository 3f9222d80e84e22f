#include "common/text_values.h"

#include <limits>

namespace quill {

namespace {
bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == u'\r' || c == u'\n'; }

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}
}  // namespace

void ValueScanner::SkipBlanks() {
  size_t i = 0;
  while (i < rest_.size() && IsBlank(rest_[i])) ++i;
  rest_.remove_prefix(i);
}

bool ValueScanner::Word() {
  SkipBlanks();
  size_t i = 0;
  while (i < rest_.size() && !IsBlank(rest_[i])) ++i;
  rest_.remove_prefix(i);
  return i > 0;
}

std::optional<int32_t> ValueScanner::Number() {
  SkipBlanks();
  size_t i = 0;
  bool negative = false;
  if (i < rest_.size() && (rest_[i] == u'-' || rest_[i] == u'+')) {
    negative = rest_[i] == u'-';
    ++i;
  }
  const size_t firstDigit = i;
  int64_t value = 0;
  constexpr int64_t kLimit = static_cast<int64_t>(std::numeric_limits<int32_t>::max()) + 1;
  bool overflow = false;
  while (i < rest_.size() && rest_[i] >= u'0' && rest_[i] <= u'9') {
    if (!overflow) {
      value = value * 10 + (rest_[i] - u'0');
      if (value > kLimit) overflow = true;
    }
    ++i;
  }
  if (i == firstDigit) return std::nullopt;
  rest_.remove_prefix(i);
  if (overflow) return std::nullopt;
  if (negative) value = -value;
  if (value > std::numeric_limits<int32_t>::max() || value < std::numeric_limits<int32_t>::min()) return std::nullopt;
  return static_cast<int32_t>(value);
}

std::optional<uint32_t> ValueScanner::Hex(size_t maxDigits) {
  SkipBlanks();
  size_t i = 0;
  if (maxDigits >= 2 && rest_.size() >= 2 && rest_[0] == u'0' && (rest_[1] == u'x' || rest_[1] == u'X') &&
      rest_.size() > 2 && HexDigit(rest_[2]) >= 0)
    i = 2;
  const size_t firstDigit = i;
  uint32_t value = 0;
  while (i < rest_.size() && i < maxDigits && HexDigit(rest_[i]) >= 0) {
    value = value * 16 + static_cast<uint32_t>(HexDigit(rest_[i]));
    ++i;
  }
  if (i == firstDigit) return std::nullopt;
  rest_.remove_prefix(i);
  return value;
}

std::optional<int32_t> WordThenNumber(std::u16string_view value) {
  ValueScanner scan(value);
  if (!scan.Word()) return std::nullopt;
  return scan.Number();
}

std::optional<int32_t> NumberValue(std::u16string_view value) { return ValueScanner(value).Number(); }

std::optional<std::u16string_view> QuotedName(std::u16string_view value) {
  const size_t quote = value.find(u'\'');
  if (quote == std::u16string_view::npos) return std::nullopt;
  std::u16string_view name = value.substr(quote + 1);
  if (!name.empty()) name.remove_suffix(1);
  return name;
}

std::u16string_view TrimBlanks(std::u16string_view value) {
  size_t begin = 0;
  size_t end = value.size();
  while (begin < end && IsBlank(value[begin])) ++begin;
  while (end > begin && IsBlank(value[end - 1])) --end;
  return value.substr(begin, end - begin);
}

}  // namespace quill
