#include "tray/display_text.h"

#include "common/utf16.h"

namespace quill::tray {
namespace {

// Replaces the fields of format in order: "%%" becomes "%", each field of the expected kind
// (conversion letter) takes the next value; other text is kept as it is.
std::u16string Substitute(std::u16string_view format, char16_t kind, const std::u16string* values,
                          size_t count) {
  std::u16string out;
  size_t next = 0;
  for (size_t i = 0; i < format.size(); ++i) {
    if (format[i] == u'%' && i + 1 < format.size()) {
      if (format[i + 1] == u'%') {
        out += u'%';
        ++i;
        continue;
      }
      if (format[i + 1] == kind && next < count) {
        out += values[next++];
        ++i;
        continue;
      }
    }
    out += format[i];
  }
  return out;
}

}  // namespace

std::u16string ProfileDisplayText(std::u16string_view format, std::u16string_view name) {
  const size_t blanks = name.size() < kProfileNameColumn ? kProfileNameColumn - name.size() : 0;
  const std::u16string values[2] = {std::u16string(blanks, u' '), std::u16string(name)};
  return Substitute(format, u's', values, 2);
}

std::u16string DpiDisplayText(std::u16string_view format, int32_t x, int32_t y) {
  const std::u16string values[2] = {DecimalText(x), DecimalText(y)};
  return Substitute(format, u'd', values, 2);
}

}  // namespace quill::tray
