// Output of the command-line client: each result is a record of named fields, printed either as
// aligned "name : value" lines for people or as one JSON object per line for scripts.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace quill::cli {

class Record {
 public:
  Record& Text(std::string name, std::string value);
  Record& Number(std::string name, int64_t value);
  Record& Flag(std::string name, bool value);

  // "name : value" lines, names padded to the longest one.
  std::string ToLines() const;
  // One JSON object on one line, fields in insertion order, ending in "\n".
  std::string ToJson() const;

 private:
  enum class Kind { kText, kNumber, kFlag };
  struct Field {
    std::string name;
    std::string value;  // already rendered for numbers and flags
    Kind kind;
  };
  std::vector<Field> fields_;
};

// JSON string literal (quotes included) of UTF-8 text; control characters are escaped.
std::string JsonQuote(std::string_view text);

// UTF-8 of UTF-16 text; unpaired surrogates become U+FFFD.
std::string Utf8FromUtf16(std::u16string_view text);

// "0x" and eight upper-case hexadecimal digits, as HRESULTs are usually written.
std::string HexCode(uint32_t value);

}  // namespace quill::cli
