#include "cli/json_text.h"

#include <optional>
#include <set>

#include "cli/record_output.h"

namespace quill::cli::json {
namespace {

constexpr size_t kMaxNumberDigits = 15;
constexpr size_t kOneLineListWidth = 72;

class Reader {
 public:
  Reader(std::string_view text, const Limits& limits) : text_(text), limits_(limits) {}

  ParseResult Run() {
    ParseResult result;
    if (text_.size() > limits_.max_bytes) {
      result.error = "the file is larger than " + std::to_string(limits_.max_bytes) + " bytes";
      return result;
    }
    if (text_.substr(0, 3) == "\xEF\xBB\xBF") pos_ = 3;
    SkipSpace();
    if (!ReadValue(result.value, 0)) {
      result.error = error_;
      return result;
    }
    SkipSpace();
    if (pos_ < text_.size()) {
      Fail("unexpected text after the end of the value");
      result.error = error_;
      return result;
    }
    result.ok = true;
    return result;
  }

 private:
  bool Fail(const std::string& message) {
    if (error_.empty()) error_ = "line " + std::to_string(line_) + ", column " + std::to_string(column_) + ": " + message;
    return false;
  }

  bool AtEnd() const { return pos_ >= text_.size(); }
  char Peek() const { return AtEnd() ? '\0' : text_[pos_]; }

  // Moves one byte on; columns count characters, so continuation bytes do not count.
  void Advance() {
    const unsigned char c = static_cast<unsigned char>(text_[pos_++]);
    if (c == '\n') {
      ++line_;
      column_ = 1;
    } else if ((c & 0xC0) != 0x80) {
      ++column_;
    }
  }

  void SkipSpace() {
    while (!AtEnd() && (Peek() == ' ' || Peek() == '\t' || Peek() == '\n' || Peek() == '\r')) Advance();
  }

  bool Literal(std::string_view word) {
    if (text_.substr(pos_, word.size()) != word) return Fail("unexpected character" + Shown());
    for (size_t i = 0; i < word.size(); ++i) Advance();
    return true;
  }

  std::string Shown() const {
    if (AtEnd()) return " (the text ends here)";
    const unsigned char c = static_cast<unsigned char>(Peek());
    if (c >= 0x21 && c < 0x7F) return std::string(" '") + static_cast<char>(c) + "'";
    return {};
  }

  bool ReadValue(Value& value, size_t depth) {
    if (++values_ > limits_.max_values)
      return Fail("more than " + std::to_string(limits_.max_values) + " values");
    value.line = line_;
    value.column = column_;
    switch (Peek()) {
      case '{': return ReadObject(value, depth + 1);
      case '[': return ReadArray(value, depth + 1);
      case '"': value.kind = Value::Kind::kString; return ReadString(value.text);
      case 't': value.kind = Value::Kind::kBool; value.boolean = true; return Literal("true");
      case 'f': value.kind = Value::Kind::kBool; return Literal("false");
      case 'n': value.kind = Value::Kind::kNull; return Literal("null");
      default:
        if (Peek() == '-' || (Peek() >= '0' && Peek() <= '9')) return ReadNumber(value);
        return Fail(AtEnd() ? "a value is missing (the text ends here)" : "unexpected character" + Shown());
    }
  }

  bool ReadNumber(Value& value) {
    value.kind = Value::Kind::kNumber;
    bool negative = false;
    if (Peek() == '-') {
      negative = true;
      Advance();
    }
    if (!(Peek() >= '0' && Peek() <= '9')) return Fail("a digit must follow '-'");
    if (Peek() == '0' && pos_ + 1 < text_.size() && text_[pos_ + 1] >= '0' && text_[pos_ + 1] <= '9')
      return Fail("numbers do not start with 0");
    int64_t n = 0;
    size_t digits = 0;
    while (Peek() >= '0' && Peek() <= '9') {
      if (++digits > kMaxNumberDigits) return Fail("the number has more than " + std::to_string(kMaxNumberDigits) + " digits");
      n = n * 10 + (Peek() - '0');
      Advance();
    }
    if (Peek() == '.' || Peek() == 'e' || Peek() == 'E') return Fail("only whole numbers are allowed here");
    value.number = negative ? -n : n;
    return true;
  }

  bool Hex4(uint32_t& out) {
    out = 0;
    for (int i = 0; i < 4; ++i) {
      const char c = Peek();
      int d = c >= '0' && c <= '9' ? c - '0' : c >= 'a' && c <= 'f' ? c - 'a' + 10 : c >= 'A' && c <= 'F' ? c - 'A' + 10 : -1;
      if (d < 0) return Fail("\\u needs four hexadecimal digits");
      out = out * 16 + static_cast<uint32_t>(d);
      Advance();
    }
    return true;
  }

  bool Escape(std::string& out) {
    Advance();  // the backslash
    const char c = Peek();
    const char* plain = nullptr;
    switch (c) {
      case '"': plain = "\""; break;
      case '\\': plain = "\\"; break;
      case '/': plain = "/"; break;
      case 'b': plain = "\b"; break;
      case 'f': plain = "\f"; break;
      case 'n': plain = "\n"; break;
      case 'r': plain = "\r"; break;
      case 't': plain = "\t"; break;
      case 'u': break;
      default: return Fail("unknown escape" + Shown());
    }
    Advance();
    if (plain) {
      out += plain;
      return true;
    }
    uint32_t unit = 0;
    if (!Hex4(unit)) return false;
    if (unit >= 0xDC00 && unit <= 0xDFFF) return Fail("\\u escape of a lone low surrogate");
    std::u16string units(1, static_cast<char16_t>(unit));
    if (unit >= 0xD800 && unit <= 0xDBFF) {
      if (text_.substr(pos_, 2) != "\\u") return Fail("\\u escape of a high surrogate without its low surrogate");
      Advance();
      Advance();
      uint32_t low = 0;
      if (!Hex4(low)) return false;
      if (low < 0xDC00 || low > 0xDFFF) return Fail("\\u escape of a high surrogate without its low surrogate");
      units += static_cast<char16_t>(low);
    }
    out += Utf8FromUtf16(units);
    return true;
  }

  // One UTF-8 character copied as it is, after checking it is well formed.
  bool Utf8Character(std::string& out) {
    const unsigned char lead = static_cast<unsigned char>(Peek());
    size_t length = 0;
    uint32_t cp = 0;
    if (lead >= 0xC2 && lead <= 0xDF) length = 2, cp = lead & 0x1F;
    else if (lead >= 0xE0 && lead <= 0xEF) length = 3, cp = lead & 0x0F;
    else if (lead >= 0xF0 && lead <= 0xF4) length = 4, cp = lead & 0x07;
    else return Fail("the text is not UTF-8");
    if (pos_ + length > text_.size()) return Fail("the text is not UTF-8");
    for (size_t i = 1; i < length; ++i) {
      const unsigned char c = static_cast<unsigned char>(text_[pos_ + i]);
      if ((c & 0xC0) != 0x80) return Fail("the text is not UTF-8");
      cp = (cp << 6) | (c & 0x3F);
    }
    const bool overlong = (length == 3 && cp < 0x800) || (length == 4 && cp < 0x10000);
    if (overlong || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return Fail("the text is not UTF-8");
    for (size_t i = 0; i < length; ++i) {
      out += Peek();
      Advance();
    }
    return true;
  }

  bool ReadString(std::string& out) {
    Advance();  // the opening quote
    out.clear();
    for (;;) {
      if (AtEnd()) return Fail("the text ends inside a string");
      if (out.size() > limits_.max_string_bytes)
        return Fail("a string is longer than " + std::to_string(limits_.max_string_bytes) + " bytes");
      const unsigned char c = static_cast<unsigned char>(Peek());
      if (c == '"') {
        Advance();
        if (out.size() > limits_.max_string_bytes)
          return Fail("a string is longer than " + std::to_string(limits_.max_string_bytes) + " bytes");
        return true;
      }
      if (c < 0x20) return Fail("a control character inside a string (write it as an escape)");
      if (c == '\\') {
        if (!Escape(out)) return false;
      } else if (c < 0x80) {
        out += static_cast<char>(c);
        Advance();
      } else if (!Utf8Character(out)) {
        return false;
      }
    }
  }

  bool Deeper(size_t depth) {
    if (depth > limits_.max_depth) return Fail("nested deeper than " + std::to_string(limits_.max_depth) + " levels");
    return true;
  }

  bool ReadArray(Value& value, size_t depth) {
    value.kind = Value::Kind::kArray;
    if (!Deeper(depth)) return false;
    Advance();
    SkipSpace();
    if (Peek() == ']') {
      Advance();
      return true;
    }
    for (;;) {
      value.items.emplace_back();
      if (!ReadValue(value.items.back(), depth)) return false;
      SkipSpace();
      if (Peek() == ']') {
        Advance();
        return true;
      }
      if (Peek() != ',') return Fail("',' or ']' expected" + Shown());
      Advance();
      SkipSpace();
      if (Peek() == ']') return Fail("a value is missing after ','");
    }
  }

  bool ReadObject(Value& value, size_t depth) {
    value.kind = Value::Kind::kObject;
    if (!Deeper(depth)) return false;
    Advance();
    SkipSpace();
    if (Peek() == '}') {
      Advance();
      return true;
    }
    std::set<std::string> names;
    for (;;) {
      if (Peek() != '"') return Fail("a member name in double quotes expected" + Shown());
      std::string name;
      const size_t name_line = line_, name_column = column_;
      if (!ReadString(name)) return false;
      if (!names.insert(name).second) {
        line_ = name_line;
        column_ = name_column;
        return Fail("\"" + name + "\" appears twice");
      }
      SkipSpace();
      if (Peek() != ':') return Fail("':' expected" + Shown());
      Advance();
      SkipSpace();
      value.members.emplace_back(std::move(name), Value{});
      if (!ReadValue(value.members.back().second, depth)) return false;
      SkipSpace();
      if (Peek() == '}') {
        Advance();
        return true;
      }
      if (Peek() != ',') return Fail("',' or '}' expected" + Shown());
      Advance();
      SkipSpace();
    }
  }

  std::string_view text_;
  const Limits& limits_;
  size_t pos_ = 0;
  size_t line_ = 1;
  size_t column_ = 1;
  size_t values_ = 0;
  std::string error_;
};

std::string Scalar(const Value& v) {
  switch (v.kind) {
    case Value::Kind::kNull: return "null";
    case Value::Kind::kBool: return v.boolean ? "true" : "false";
    case Value::Kind::kNumber: return std::to_string(v.number);
    case Value::Kind::kString: return JsonQuote(v.text);
    default: return {};
  }
}

// A list of plain values (or of such lists) on one line; nothing for lists holding objects.
std::optional<std::string> OneLine(const Value& v) {
  if (v.kind == Value::Kind::kObject) return std::nullopt;
  if (v.kind != Value::Kind::kArray) return Scalar(v);
  std::string line = "[";
  for (size_t i = 0; i < v.items.size(); ++i) {
    std::optional<std::string> item = OneLine(v.items[i]);
    if (!item) return std::nullopt;
    line += (i ? ", " : "") + *item;
  }
  return line + "]";
}

void WriteValue(const Value& v, size_t indent, std::string& out) {
  const std::string inner(indent + 2, ' ');
  if (v.kind == Value::Kind::kObject) {
    if (v.members.empty()) {
      out += "{}";
      return;
    }
    out += "{\n";
    for (size_t i = 0; i < v.members.size(); ++i) {
      out += inner + JsonQuote(v.members[i].first) + ": ";
      WriteValue(v.members[i].second, indent + 2, out);
      out += i + 1 < v.members.size() ? ",\n" : "\n";
    }
    out += std::string(indent, ' ') + "}";
  } else if (v.kind == Value::Kind::kArray) {
    const std::optional<std::string> line = OneLine(v);
    if (line && indent + line->size() < kOneLineListWidth) {
      out += *line;
      return;
    }
    out += "[\n";
    for (size_t i = 0; i < v.items.size(); ++i) {
      out += inner;
      WriteValue(v.items[i], indent + 2, out);
      out += i + 1 < v.items.size() ? ",\n" : "\n";
    }
    out += std::string(indent, ' ') + "]";
  } else {
    out += Scalar(v);
  }
}

}  // namespace

Value Value::Number(int64_t n) {
  Value v;
  v.kind = Kind::kNumber;
  v.number = n;
  return v;
}

Value Value::String(std::string s) {
  Value v;
  v.kind = Kind::kString;
  v.text = std::move(s);
  return v;
}

Value Value::Array(std::vector<Value> values) {
  Value v;
  v.kind = Kind::kArray;
  v.items = std::move(values);
  return v;
}

Value Value::Object() {
  Value v;
  v.kind = Kind::kObject;
  return v;
}

Value& Value::Add(std::string name, Value value) {
  members.emplace_back(std::move(name), std::move(value));
  return *this;
}

const Value* Value::Find(std::string_view name) const {
  for (const auto& [key, value] : members)
    if (key == name) return &value;
  return nullptr;
}

const char* KindName(Value::Kind kind) {
  switch (kind) {
    case Value::Kind::kNull: return "null";
    case Value::Kind::kBool: return "true or false";
    case Value::Kind::kNumber: return "a number";
    case Value::Kind::kString: return "a text";
    case Value::Kind::kArray: return "a list";
    case Value::Kind::kObject: return "an object";
  }
  return "a value";
}

ParseResult Parse(std::string_view text, const Limits& limits) { return Reader(text, limits).Run(); }

std::string Write(const Value& value) {
  std::string out;
  WriteValue(value, 0, out);
  return out + "\n";
}

}  // namespace quill::cli::json
