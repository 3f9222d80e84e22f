#include "common/text_blocks.h"

#include "common/name_fields.h"
#include "common/profile_text.h"
#include "common/text_values.h"

namespace quill {

namespace {
constexpr std::u16string_view kFileVersion = u"1.03";
constexpr std::u16string_view kSupportedDevice = u"Quillfern";
}  // namespace

void WriteBlockOpening(TextWriter& out, std::u16string_view dataType) {
  out.WritePair(u"[FILEVERSION]", kFileVersion);
  out.WritePair(u"[SUPPORTEDDEVICE]", kSupportedDevice);
  out.WritePair(u"[DATATYPE]", dataType);
}

void WriteBlockName(TextWriter& out, std::u16string_view header, std::u16string_view name) {
  out.WritePair(header, QuotedValue(u"", name));
}

bool NextBlock(TextReader& in, std::u16string_view dataType) {
  std::u16string value;
  while (FindSection(in, u"[FILEVERSION]", value)) {
    if (value != kFileVersion) continue;
    if (!FindSection(in, u"[SUPPORTEDDEVICE]", value) || value != kSupportedDevice) continue;
    if (!FindSection(in, u"[DATATYPE]", value) || value != dataType) continue;
    return true;
  }
  return false;
}

std::optional<std::u16string> ReadBlockName(TextReader& in, std::u16string_view header, size_t maxUnits) {
  std::u16string value;
  if (!FindSection(in, header, value)) return std::nullopt;
  const std::u16string_view name = QuotedName(value).value_or(value);
  return std::u16string(CutToUnits(name, maxUnits));
}

}  // namespace quill
