#include "common/exchange_check.h"

#include <string>

#include "common/key_names.h"
#include "common/macro_events.h"
#include "common/text_values.h"

namespace quill {
namespace {

bool IsQuotedName(std::u16string_view value) {
  if (value.size() < 2 || value.front() != u'\'' || value.back() != u'\'') return false;
  for (char16_t c : value) {
    if (c < 0x20 || c == 0x7F || c == 0x85 || c == 0x2028 || c == 0x2029) return false;
  }
  return true;
}

bool IsKnownCode(uint16_t code) {
  code = NormalizeEventCode(code);
  if ((code & ~kEventRelease) == 0) return true;
  if (IsMouseEvent(code)) return MouseButtonIndex(code) != 0;
  return (code & ~(kEventRelease | kKeyCodeMask)) == 0 && HasKeyName(code);
}

bool IsElementHeader(std::u16string_view line) {
  constexpr std::u16string_view prefix = u"[MACROELEMENT";
  return line.size() > prefix.size() && line.substr(0, prefix.size()) == prefix && line != u"[MACROELEMENTS]";
}

std::u16string ElementHeader(int32_t index) {
  const std::string digits = std::to_string(index);
  return u"[MACROELEMENT" + std::u16string(digits.begin(), digits.end()) + u"]";
}

}  // namespace

std::u16string_view CheckExchangeText(TextReader& in) {
  in.Rewind();
  std::u16string line, value;
  int32_t declared = 0, events = 0, lastTime = 0;
  std::u16string_view problem;
  while (problem.empty()) {
    const LineStatus status = in.ReadLine(line);
    if (status == LineStatus::End) break;
    if (status == LineStatus::TooLong) {
      problem = kFileLineTooLongText;
      break;
    }
    const bool name = line == u"[MACRONAME]" || line == u"[PROFILENAME]";
    const bool count = line == u"[MACROELEMENTS]";
    const bool element = IsElementHeader(line);
    const bool stages = line == u"[DPISTAGES]";
    if (!name && !count && !element && !stages) continue;
    // A macro block ends where the next name starts: it must hold all the events it declared.
    if (name && events != declared) {
      problem = kFileBadEventText;
      break;
    }
    const LineStatus valueStatus = in.ReadLine(value);
    if (valueStatus == LineStatus::TooLong) {
      problem = kFileLineTooLongText;
    } else if (name) {
      if (valueStatus != LineStatus::Line || !IsQuotedName(value)) problem = kFileBadNameText;
      if (line == u"[MACRONAME]") declared = events = lastTime = 0;
    } else if (count) {
      const auto n = NumberValue(value);
      if (!n || *n < 0) problem = kFileBadEventText;
      else if (*n > kMaxMacroEvents) problem = kFileTooManyEventsText;
      else declared = *n;
    } else if (element) {
      ValueScanner scan(value);
      std::optional<uint32_t> code;
      std::optional<int32_t> time;
      if (scan.Word()) code = scan.Hex(4);
      if (code && scan.Word()) time = scan.Number();
      if (line != ElementHeader(events)) {
        problem = events >= kMaxMacroEvents ? kFileTooManyEventsText : kFileBadEventText;
      } else if (++events > declared) {
        problem = events > kMaxMacroEvents ? kFileTooManyEventsText : kFileBadEventText;
      } else if (!time || *time < lastTime || !IsKnownCode(static_cast<uint16_t>(*code))) {
        problem = kFileBadEventText;
      } else {
        lastTime = *time;
      }
    } else if (stages) {
      const auto n = WordThenNumber(value);
      if (!n || *n < 0 || *n > 5) problem = kFileBadStagesText;
    }
  }
  if (problem.empty() && events != declared) problem = kFileBadEventText;
  in.Rewind();
  return problem;
}

}  // namespace quill
