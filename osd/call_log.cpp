#include "osd/call_log.h"

#include <cstdio>

namespace quill::osd {

LogLine::LogLine(std::string_view subject, std::string_view method) {
  line_.append(subject).append(" ").append(method);
}

LogLine& LogLine::Number(long long value) {
  return Word(std::to_string(value));
}

LogLine& LogLine::Colour(uint32_t value) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(value));
  return Word(text);
}

LogLine& LogLine::Text(std::string_view utf8) {
  line_ += " \"";
  for (char c : utf8) {
    const auto byte = static_cast<unsigned char>(c);
    if (c == '"' || c == '\\') {
      line_ += '\\';
      line_ += c;
    } else if (byte < 0x20 || byte == 0x7F) {
      char escape[8];
      std::snprintf(escape, sizeof escape, "\\x%02X", byte);
      line_ += escape;
    } else {
      line_ += c;
    }
  }
  line_ += '"';
  return *this;
}

LogLine& LogLine::Word(std::string_view word) {
  line_.append(" ").append(word);
  return *this;
}

std::string DisplaySubject(int number) {
  return "d" + std::to_string(number);
}

}  // namespace quill::osd
