#include "common/macro_text.h"

#include <algorithm>

#include "common/name_fields.h"
#include "common/text_blocks.h"
#include "common/text_values.h"
#include "common/utf16.h"

namespace quill {

namespace {

std::u16string ElementHeader(size_t index) { return u"[MACROELEMENT" + DecimalText(static_cast<int64_t>(index)) + u"]"; }

int32_t ElementCount(int32_t n) { return std::clamp<int32_t>(n, 0, kMaxMacroEvents); }

}  // namespace

void WriteMacroText(TextWriter& out, const MacroEntry& macro) {
  WriteBlockOpening(out, kDataTypeMacro);
  WriteBlockName(out, u"[MACRONAME]", macro.szName);
  const int32_t count = ElementCount(macro.events.lNumElements);
  out.WritePair(u"[MACROELEMENTS]", DecimalText(count));
  for (int32_t i = 0; i < count; ++i) {
    const uint16_t code = macro.events.ausCodes[static_cast<size_t>(i)];
    const std::u16string_view kind = IsMouseEvent(code) ? u"Mousecode: " : u"Scancode: ";
    out.WritePair(ElementHeader(static_cast<size_t>(i)), std::u16string(kind) + Hex4Text(code) + u" Scantime: " +
                                                             DecimalText(macro.events.alTimes[static_cast<size_t>(i)]));
  }
}

MacroReadResult ReadMacroText(TextReader& in, MacroList& macros, std::u16string_view requestedName) {
  in.Rewind();
  std::u16string value;
  while (NextBlock(in, kDataTypeMacro)) {
    const auto name = ReadBlockName(in, u"[MACRONAME]", kMacroFileNameUnits);
    if (!name) continue;
    if (!requestedName.empty() && *name != requestedName) continue;

    MacroReadResult result;
    MacroEntry* found = requestedName.empty() ? nullptr : macros.FindByName(requestedName);
    if (!found || found->bMarkedForDelete || found->bDeleted) {
      result.created = macros.Make(*name);
      result.created->bCreated = 1;
      result.entry = result.created.get();
    } else {
      result.entry = found;
      found->bCreated = 0;
    }
    MacroEntry& macro = *result.entry;
    macro.bModified = 1;

    if (!FindSection(in, u"[MACROELEMENTS]", value)) return result;
    const auto n = NumberValue(value);
    if (!n || *n <= 0) return result;
    macro.events.lNumElements = ElementCount(*n);
    for (int32_t i = 0; i < macro.events.lNumElements; ++i) {
      if (!FindSection(in, ElementHeader(static_cast<size_t>(i)), value)) continue;
      ValueScanner scan(value);
      if (!scan.Word()) continue;
      const auto code = scan.Hex(4);
      if (!code || !scan.Word()) continue;
      const auto time = scan.Number();
      if (!time) continue;
      macro.events.ausCodes[static_cast<size_t>(i)] = NormalizeEventCode(static_cast<uint16_t>(*code));
      macro.events.alTimes[static_cast<size_t>(i)] = *time;
    }
    return result;
  }
  return {};
}

}  // namespace quill
