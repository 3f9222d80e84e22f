#include "cli/record_output.h"

#include <algorithm>
#include <cstdio>

namespace quill::cli {
namespace {

// Characters of UTF-8 text (continuation bytes do not count), for column alignment.
size_t DisplayWidth(std::string_view text) {
  size_t n = 0;
  for (unsigned char c : text) n += (c & 0xC0) != 0x80;
  return n;
}

}  // namespace


Record& Record::Text(std::string name, std::string value) {
  std::string text = value;
  fields_.push_back({std::move(name), std::move(value), std::move(text), Kind::kText});
  return *this;
}

Record& Record::Number(std::string name, int64_t value) {
  fields_.push_back({std::move(name), std::to_string(value), std::to_string(value), Kind::kNumber});
  return *this;
}

Record& Record::Flag(std::string name, bool value) {
  fields_.push_back({std::move(name), value ? "true" : "false", value ? "yes" : "no", Kind::kFlag});
  return *this;
}

Record& Record::Numbers(std::string name, const std::vector<int64_t>& values) {
  std::string text;
  for (int64_t v : values) {
    if (!text.empty()) text += ',';
    text += std::to_string(v);
  }
  fields_.push_back({std::move(name), "[" + text + "]", text, Kind::kNumbers});
  return *this;
}

Record& Record::Texts(std::string name, const std::vector<std::string>& values) {
  std::string json = "[", text;
  for (size_t i = 0; i < values.size(); ++i) {
    if (i) {
      json += ',';
      text += ", ";
    }
    json += JsonQuote(values[i]);
    text += values[i];
  }
  json += ']';
  fields_.push_back({std::move(name), std::move(json), std::move(text), Kind::kNumbers});
  return *this;
}

Record& Record::Records(std::string name, const std::vector<Record>& records) {
  std::string json = "[";
  for (size_t i = 0; i < records.size(); ++i) {
    if (i) json += ',';
    json += records[i].JsonBody();
  }
  json += ']';
  fields_.push_back({std::move(name), std::move(json), {}, Kind::kRecords});
  return *this;
}

std::vector<std::string> Record::ColumnNames() const {
  std::vector<std::string> names;
  for (const Field& f : fields_)
    if (f.kind != Kind::kRecords) names.push_back(f.name);
  return names;
}

std::vector<std::string> Record::ColumnValues() const {
  std::vector<std::string> values;
  for (const Field& f : fields_)
    if (f.kind != Kind::kRecords) values.push_back(f.text);
  return values;
}

std::string Record::ToLines() const {
  size_t width = 0;
  for (const Field& f : fields_)
    if (f.kind != Kind::kRecords) width = std::max(width, DisplayWidth(f.name));
  std::string out;
  for (const Field& f : fields_) {
    if (f.kind == Kind::kRecords) continue;
    out += f.name;
    out.append(width - DisplayWidth(f.name), ' ');
    out += " : ";
    out += f.text;
    out += '\n';
  }
  return out;
}

std::string Record::JsonBody() const {
  std::string out = "{";
  bool first = true;
  for (const Field& f : fields_) {
    if (!first) out += ',';
    first = false;
    out += JsonQuote(f.name);
    out += ':';
    out += f.kind == Kind::kText ? JsonQuote(f.value) : f.value;
  }
  out += "}";
  return out;
}

std::string Record::ToJson() const { return JsonBody() + "\n"; }

std::string FormatTable(const std::vector<Record>& rows) {
  if (rows.empty()) return {};
  std::vector<std::vector<std::string>> lines;
  lines.push_back(rows.front().ColumnNames());
  for (const Record& row : rows) lines.push_back(row.ColumnValues());
  std::vector<size_t> widths;
  for (const auto& line : lines) {
    if (widths.size() < line.size()) widths.resize(line.size(), 0);
    for (size_t c = 0; c < line.size(); ++c) widths[c] = std::max(widths[c], DisplayWidth(line[c]));
  }
  std::string out;
  for (const auto& line : lines) {
    std::string text;
    for (size_t c = 0; c < line.size(); ++c) {
      if (c) text += "  ";
      text += line[c];
      if (c + 1 < line.size()) text.append(widths[c] - DisplayWidth(line[c]), ' ');
    }
    while (!text.empty() && text.back() == ' ') text.pop_back();
    out += text;
    out += '\n';
  }
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
