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
  // A list of numbers: "400,800,1600" in text, [400,800,1600] in JSON.
  Record& Numbers(std::string name, const std::vector<int64_t>& values);
  // A list of texts: "Greet, Spin" in text, ["Greet","Spin"] in JSON.
  Record& Texts(std::string name, const std::vector<std::string>& values);
  // Nested records: an array of objects in JSON; left out of the text forms, where the command
  // prints them as a table of their own.
  Record& Records(std::string name, const std::vector<Record>& records);

  // "name : value" lines, names padded to the longest one.
  std::string ToLines() const;
  // One JSON object on one line, fields in insertion order, ending in "\n".
  std::string ToJson() const;

  // Names and text values of the fields a table shows (nested records left out).
  std::vector<std::string> ColumnNames() const;
  std::vector<std::string> ColumnValues() const;

 private:
  enum class Kind { kText, kNumber, kFlag, kNumbers, kRecords };
  struct Field {
    std::string name;
    std::string value;  // rendered: text as is, numbers and flags as in JSON, lists as JSON
    std::string text;   // what the text forms show
    Kind kind;
  };
  std::string JsonBody() const;
  std::vector<Field> fields_;
};

// Rows as an aligned table: a header line of the first row's column names, then one line per
// row, every column padded to its widest entry (the last column is not padded). No rows: "".
std::string FormatTable(const std::vector<Record>& rows);

// JSON string literal (quotes included) of UTF-8 text; control characters are escaped.
std::string JsonQuote(std::string_view text);

// UTF-8 of UTF-16 text; unpaired surrogates become U+FFFD.
std::string Utf8FromUtf16(std::u16string_view text);

// "0x" and eight upper-case hexadecimal digits, as HRESULTs are usually written.
std::string HexCode(uint32_t value);

}  // namespace quill::cli
