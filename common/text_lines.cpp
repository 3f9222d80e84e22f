#include "common/text_lines.h"

#include "common/utf16.h"

namespace quill {

namespace {
constexpr char16_t kCr = u'\r';
constexpr char16_t kLf = u'\n';
constexpr char16_t kByteOrderMark = 0xFEFF;
}  // namespace

TextReader TextReader::FromBytes(std::string_view bytes) { return TextReader(DecodeUtf16Le(bytes)); }

LineStatus TextReader::ReadLine(std::u16string& line, size_t capacity, bool keepUnterminated) {
  line.clear();
  size_t passed = 0;  // units read for this line, dropped ones included
  for (;;) {
    if (capacity != kUnlimitedLine && passed >= capacity) {
      // Over-long: skip the rest of this line, through its CR LF.
      bool afterCr = pos_ > 0 && units_[pos_ - 1] == kCr;
      while (pos_ < units_.size()) {
        const char16_t unit = units_[pos_++];
        if (afterCr && unit == kLf) break;
        afterCr = unit == kCr;
      }
      line.clear();
      return LineStatus::TooLong;
    }
    if (pos_ >= units_.size()) {
      if (keepUnterminated && !line.empty()) return LineStatus::Line;
      line.clear();
      return LineStatus::End;
    }
    const char16_t unit = units_[pos_++];
    ++passed;
    if (unit == kCr) {
      if (pos_ >= units_.size()) continue;  // end of text after a CR
      if (capacity != kUnlimitedLine && passed >= capacity) continue;  // no room for the LF
      const char16_t next = units_[pos_++];
      ++passed;
      if (next == kLf) return LineStatus::Line;
      if (next == kByteOrderMark) continue;
      if (next == kCr) {
        --pos_;  // a CR that may start the line end
        --passed;
        continue;
      }
      line.push_back(next);  // lone CR dropped, the unit after it kept
      continue;
    }
    if (unit == kLf || unit == kByteOrderMark) continue;
    line.push_back(unit);
  }
}

size_t ReadTextLine(TextReader& reader, std::u16string& line, size_t capacity) {
  if (reader.ReadLine(line, capacity) != LineStatus::Line) return 0;
  return line.size() + 1;
}

bool FindSection(TextReader& reader, std::u16string_view header, std::u16string& value) {
  std::u16string line;
  for (;;) {
    const LineStatus status = reader.ReadLine(line);
    if (status == LineStatus::End) break;
    if (status == LineStatus::TooLong || line != header) continue;
    if (reader.ReadLine(value) == LineStatus::Line) return true;
    value.clear();
    return false;
  }
  value.clear();
  return false;
}

void TextWriter::WriteLine(std::u16string_view line) {
  // A line break inside a value would split it into lines of its own (a name could then pose as
  // a section): CR and LF are written as blanks.
  for (char16_t unit : line) text_.push_back(unit == kCr || unit == kLf ? u' ' : unit);
  text_.push_back(kCr);
  text_.push_back(kLf);
}

std::string TextWriter::Bytes() const { return EncodeUtf16Le(text_); }

}  // namespace quill
