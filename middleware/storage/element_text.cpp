#include "middleware/storage/element_text.h"

#include <limits>

#include "middleware/storage/storage_errors.h"

namespace quill::storage {

std::u16string_view ElementTag(ElementKind kind) {
  switch (kind) {
    case ElementKind::kProfileGroup: return u"ProfileGroup";
    case ElementKind::kProfile: return u"Profile";
    case ElementKind::kSpellBook: return u"SpellBook";
    case ElementKind::kMacro: return u"Macro";
    case ElementKind::kUserAction: return u"UserAction";
  }
  return u"";
}

bool CanQuote(std::u16string_view text) {
  return text.find_first_of(u"\"<>") == std::u16string_view::npos;
}

ElementWriter::ElementWriter(ElementKind kind, std::u16string_view name) : kind_(kind) {
  text_ = u"<";
  text_ += ElementTag(kind);
  text_ += u" name=";
  Quoted(name);
  text_ += u">";
}

void ElementWriter::Quoted(std::u16string_view text) {
  if (!CanQuote(text)) quotable_ = false;
  text_ += u'"';
  text_ += text;
  text_ += u'"';
}

void ElementWriter::Key(std::u16string_view value_name, std::u16string_view type, std::u16string_view data) {
  text_ += u"<Key value=";
  Quoted(value_name);
  text_ += u" type=";
  Quoted(type);
  text_ += u" data=";
  Quoted(data);
  text_ += u"></Key>";
}

void ElementWriter::DwordKey(std::u16string_view value_name, int32_t value) {
  Key(value_name, u"DWORD", FormatDecimal(value));
}

void ElementWriter::BinaryKey(std::u16string_view value_name, std::span<const uint8_t> bytes) {
  Key(value_name, u"BINARY", FormatHex(bytes));
}

void ElementWriter::StringKey(std::u16string_view value_name, std::u16string_view text) {
  Key(value_name, u"STRING", text);
}

void ElementWriter::PointerChild(std::u16string_view tag, std::u16string_view target) {
  text_ += u'<';
  text_ += tag;
  text_ += u" ptr=";
  Quoted(target);
  text_ += u"></";
  text_ += tag;
  text_ += u'>';
}

HResult ElementWriter::Finish(std::u16string& text) {
  text.clear();
  if (!quotable_) return kE_INVALID_NAME;
  text = text_ + u"</" + std::u16string(ElementTag(kind_)) + u">";
  return kS_OK;
}

namespace {

// The texts between `open` and the next `close`, in order, at most `limit` of them; an opening
// without its close ends the list.
std::vector<std::u16string_view> Enclosed(std::u16string_view text, char16_t open, char16_t close, size_t limit) {
  std::vector<std::u16string_view> found;
  size_t pos = 0;
  while (found.size() < limit) {
    const size_t begin = text.find(open, pos);
    if (begin == std::u16string_view::npos) break;
    const size_t end = text.find(close, begin + 1);
    if (end == std::u16string_view::npos) break;
    found.push_back(text.substr(begin + 1, end - begin - 1));
    pos = end + 1;
  }
  return found;
}

}  // namespace

std::vector<std::u16string_view> SplitTags(std::u16string_view text) { return Enclosed(text, u'<', u'>', SIZE_MAX); }

std::u16string_view TagWord(std::u16string_view tag) { return tag.substr(0, tag.find(u' ')); }

std::vector<std::u16string_view> QuotedStrings(std::u16string_view text, size_t limit) {
  return Enclosed(text, u'"', u'"', limit);
}

std::u16string_view FirstQuoted(std::u16string_view text) {
  const auto strings = QuotedStrings(text, 1);
  return strings.empty() ? std::u16string_view{} : strings.front();
}

HResult ReadKeys(std::u16string_view text, std::vector<KeyChild>& keys) {
  keys.clear();
  for (std::u16string_view tag : SplitTags(text)) {
    if (TagWord(tag) != u"Key") continue;
    const auto strings = QuotedStrings(tag, 3);
    if (strings.size() < 3) {
      keys.clear();
      return kE_FAIL;
    }
    keys.push_back({strings[0], strings[1], strings[2]});
  }
  return kS_OK;
}

HResult ReadPointers(std::u16string_view text, std::u16string_view tag, std::vector<std::u16string>& targets) {
  targets.clear();
  for (std::u16string_view child : SplitTags(text)) {
    if (TagWord(child) != tag) continue;
    const auto strings = QuotedStrings(child, 1);
    if (strings.empty()) {
      targets.clear();
      return kE_FAIL;
    }
    targets.emplace_back(strings.front());
  }
  return kS_OK;
}

std::u16string FormatDecimal(int32_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

int32_t ParseDecimal(std::u16string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == u' ' || (text[i] >= u'\t' && text[i] <= u'\r'))) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  int64_t value = 0;
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int32_t>::max()} + 1;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    value = value * 10 + (text[i] - u'0');
    if (value > kLimit) value = kLimit;
  }
  if (negative) return static_cast<int32_t>(-value);
  return static_cast<int32_t>(value >= kLimit ? kLimit - 1 : value);
}

bool IsIndexName(std::u16string_view text) {
  if (text.empty()) return false;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return false;
  }
  return true;
}

std::u16string FormatHex(std::span<const uint8_t> bytes) {
  static constexpr char16_t kDigits[] = u"0123456789ABCDEF";
  std::u16string text;
  text.reserve(2 * bytes.size());
  for (uint8_t byte : bytes) {
    text.push_back(kDigits[byte >> 4]);
    text.push_back(kDigits[byte & 0x0F]);
  }
  return text;
}

namespace {

int HexValue(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

}  // namespace

HResult ParseHex(std::u16string_view text, std::vector<uint8_t>& bytes) {
  bytes.clear();
  if (text.size() % 2 != 0) return kE_FAIL;
  std::vector<uint8_t> parsed;
  parsed.reserve(text.size() / 2);
  for (size_t i = 0; i < text.size(); i += 2) {
    const int high = HexValue(text[i]);
    const int low = HexValue(text[i + 1]);
    if (high < 0 || low < 0) return kE_FAIL;
    parsed.push_back(static_cast<uint8_t>(high << 4 | low));
  }
  bytes = std::move(parsed);
  return kS_OK;
}

}  // namespace quill::storage
