// One line of the call log: "<subject> <method> <arguments...>", arguments separated by one
// blank. Numbers are decimal, colours 0xAARRGGBB, texts quoted with \" \\ and \xNN escapes
// for control bytes. osd/README.md describes the lines.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace quill::osd {

class LogLine {
 public:
  LogLine(std::string_view subject, std::string_view method);
  LogLine& Number(long long value);
  LogLine& Colour(uint32_t value);
  LogLine& Text(std::string_view utf8);
  LogLine& Word(std::string_view word);  // as it is: "null", "bitmap", "96x48"
  const std::string& str() const { return line_; }

 private:
  std::string line_;
};

// The subject of display number n (1 for the first display of the process): "d1".
std::string DisplaySubject(int number);

}  // namespace quill::osd
