// A small, strict JSON reader and an indented writer for the client's own files.
//
// The reader takes UTF-8 text (an optional byte-order mark is skipped) and refuses everything
// outside plain JSON: comments, trailing commas, single quotes, invalid UTF-8, unescaped control
// characters, unpaired surrogate escapes, duplicate member names, and text after the value.
// Numbers are whole numbers only (the files hold counts, slots and DPI values), at most 15
// digits. Everything is bounded: input size, nesting depth, string length and the number of
// values; going past a limit is an error, never a cut. Errors name the line and column (both
// from 1; columns count characters).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace quill::cli::json {

struct Value {
  enum class Kind { kNull, kBool, kNumber, kString, kArray, kObject };
  Kind kind = Kind::kNull;
  bool boolean = false;
  int64_t number = 0;
  std::string text;                                   // kString, UTF-8
  std::vector<Value> items;                           // kArray
  std::vector<std::pair<std::string, Value>> members; // kObject, in file order
  size_t line = 0;                                    // where the value starts
  size_t column = 0;

  static Value Number(int64_t n);
  static Value String(std::string s);
  static Value Array(std::vector<Value> values = {});
  static Value Object();
  // Appends a member (objects built for writing).
  Value& Add(std::string name, Value value);
  // The member of that name, null when there is none.
  const Value* Find(std::string_view name) const;
};

// "a number", "a text", "a list", "an object", ...: for messages.
const char* KindName(Value::Kind kind);

struct Limits {
  size_t max_bytes = 1u << 20;
  size_t max_depth = 16;
  size_t max_string_bytes = 4096;
  size_t max_values = 100000;
};

struct ParseResult {
  bool ok = false;
  std::string error;  // "line 3, column 14: ..." when not ok
  Value value;
};

ParseResult Parse(std::string_view text, const Limits& limits = {});

// The value as indented text ending in a newline: objects one member per line, lists of plain
// values on one line when that stays short, other lists one item per line.
std::string Write(const Value& value);

}  // namespace quill::cli::json
