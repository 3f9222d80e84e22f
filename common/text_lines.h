// Line level of the desktop text files (profiles, macros, translations): UTF-16 little-endian
// without byte-order mark, every line ended by CR LF.
//
// Reading (ReadTextLine):
//   - a line ends at CR LF; a CR not followed by LF is dropped and the unit after it kept;
//   - a bare LF and U+FEFF are dropped wherever they occur;
//   - a last line without CR LF is not delivered (unless the reader is told to keep it);
//   - with a capacity of 260 units, 260 units without a completed CR LF make the line over-long:
//     a line therefore holds at most 258 characters. An over-long line is refused whole: the
//     reader skips to the end of it, so no tail of it is ever taken for a line of its own.
// FindSection searches forward only: a missing section consumes the rest of the text.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace quill {

// Line buffer of the profile and macro files, in UTF-16 units including CR LF.
constexpr size_t kTextLineCapacity = 260;
// Longest line the profile and macro files can hold.
constexpr size_t kMaxTextLineUnits = kTextLineCapacity - 2;
// Capacity argument for a reader without a line limit.
constexpr size_t kUnlimitedLine = 0;

enum class LineStatus { Line, End, TooLong };

// Reading position in the units of one text file.
class TextReader {
 public:
  TextReader() = default;
  explicit TextReader(std::u16string units) : units_(std::move(units)) {}
  // A reader of a file's bytes (UTF-16 little-endian).
  static TextReader FromBytes(std::string_view bytes);

  void Rewind() { pos_ = 0; }
  bool AtEnd() const { return pos_ >= units_.size(); }
  size_t Position() const { return pos_; }

  // One line into `line` (cleared first). capacity as above; kUnlimitedLine for none.
  // keepUnterminated: deliver a last line that has no CR LF.
  LineStatus ReadLine(std::u16string& line, size_t capacity = kTextLineCapacity,
                      bool keepUnterminated = false);

 private:
  std::u16string units_;
  size_t pos_ = 0;
};

// Length of the line read (at least 1, also for an empty line), or 0 at the end of the text and
// for an over-long line.
size_t ReadTextLine(TextReader& reader, std::u16string& line, size_t capacity = kTextLineCapacity);

// Reads lines until one equals header (exactly), then the next line into value. True when the
// header was found and its value line read. Over-long lines are never a header and are passed
// over; an over-long value line is refused (false, value empty). The search never rewinds.
bool FindSection(TextReader& reader, std::u16string_view header, std::u16string& value);

// The text of one file being written: line pairs of a header and a value, each ended by CR LF.
// A CR or LF inside a line is written as a blank.
class TextWriter {
 public:
  void WriteLine(std::u16string_view line);
  void WritePair(std::u16string_view header, std::u16string_view value) {
    WriteLine(header);
    WriteLine(value);
  }
  const std::u16string& Text() const { return text_; }
  // The file's bytes (UTF-16 little-endian, no byte-order mark).
  std::string Bytes() const;

 private:
  std::u16string text_;
};

}  // namespace quill
