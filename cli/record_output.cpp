#include "cli/record_output.h"

#include <algorithm>
#include <cstdio>

namespace quill::cli {

Record& Record::Text(std::string name, std::string value) {
  fields_.push_back({std::move(name), std::move(value), Kind::kText});
  return *this;
}

Record& Record::Number(std::string name, int64_t value) {
  fields_.push_back({std::move(name), std::to_string(value), Kind::kNumber});
  return *this;
}

Record& Record::Flag(std::string name, bool value) {
  fields_.push_back({std::move(name), value ? "true" : "false", Kind::kFlag});
  return *this;
}

std::string Record::ToLines() const {
  size_t width = 0;
  for (const Field& f : fields_) width = std::max(width, f.name.size());
  std::string out;
  for (const Field& f : fields_) {
    out += f.name;
    out.append(width - f.name.size(), ' ');
    out += " : ";
    out += f.kind == Kind::kFlag ? (f.value == "true" ? "yes" : "no") : f.value;
    out += '\n';
  }
  return out;
}

std::string Record::ToJson() const {
  std::string out = "{";
  bool first = true;
  for (const Field& f : fields_) {
    if (!first) out += ',';
    first = false;
    out += JsonQuote(f.name);
    out += ':';
    out += f.kind == Kind::kText ? JsonQuote(f.value) : f.value;
  }
  out += "}\n";
  return out;
}

std::string JsonQuote(std::string_view text) {
  std::string out = "\"";
  for (unsigned char c : text) {
    switch (c) {
      case '"': out += "\\\""; break;
      case '\\': out += "\\\\"; break;
      case '\n': out += "\\n"; break;
      case '\r': out += "\\r"; break;
      case '\t': out += "\\t"; break;
      default:
        if (c < 0x20) {
          char buf[8];
          std::snprintf(buf, sizeof buf, "\\u%04x", c);
          out += buf;
        } else {
          out += static_cast<char>(c);
        }
    }
  }
  out += '"';
  return out;
}

std::string Utf8FromUtf16(std::u16string_view text) {
  std::string out;
  for (size_t i = 0; i < text.size(); ++i) {
    uint32_t cp = text[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (text[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    if (cp < 0x80) {
      out += static_cast<char>(cp);
    } else if (cp < 0x800) {
      out += static_cast<char>(0xC0 | (cp >> 6));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
      out += static_cast<char>(0xE0 | (cp >> 12));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | (cp >> 18));
      out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
      out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
      out += static_cast<char>(0x80 | (cp & 0x3F));
    }
  }
  return out;
}

std::string HexCode(uint32_t value) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "0x%08X", value);
  return buf;
}

}  // namespace quill::cli
