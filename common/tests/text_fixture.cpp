#include "common/tests/text_fixture.h"

#include "common/utf16.h"

namespace quill::testing {

std::u16string CrLfLines(std::initializer_list<std::u16string_view> lines) {
  std::u16string text;
  for (std::u16string_view line : lines) {
    text += line;
    text += u"\r\n";
  }
  return text;
}

std::string Bytes(std::u16string_view text) { return EncodeUtf16Le(text); }

TextReader Reader(std::u16string_view text) { return TextReader(std::u16string(text)); }

std::vector<std::u16string> SplitLines(std::u16string_view text) {
  std::vector<std::u16string> lines;
  size_t start = 0;
  for (;;) {
    const size_t end = text.find(u"\r\n", start);
    if (end == std::u16string_view::npos) {
      if (start < text.size()) lines.emplace_back(text.substr(start));
      return lines;
    }
    lines.emplace_back(text.substr(start, end - start));
    start = end + 2;
  }
}

ProfileEntry& AddDeviceProfile(EntryLists& lists, std::u16string_view name, int32_t id) {
  ProfileEntry& p = lists.profiles.Add(name);
  p.lId = id;
  p.pMappings = std::make_unique<MappingSlots>();
  for (size_t slot = 0; slot < kProfileButtons; ++slot)
    (*p.pMappings)[slot] = {static_cast<int32_t>(slot + 1), buttons::BUTTON_MAPPING_BUTTONS,
                            buttons::BUTTON_ACTION_PRESSED, {buttons::MOUSE_BUTTON_CLICK, 0, 0}};
  p.pDpiStages = std::make_unique<DpiStages>();
  p.pDpiStages->ulTotalStages = 2;
  p.pDpiStages->Sensitivity[0] = {800, 800};
  p.pDpiStages->Sensitivity[1] = {1600, 1600};
  p.pDpiStages->lDefaultStage = 1;
  p.pDpiStages->lCurrentStage = 1;
  p.szExecutable = u"<none>";
  return p;
}

MacroEntry& AddMacro(EntryLists& lists, std::u16string_view name, int32_t id, int32_t events) {
  MacroEntry& m = lists.macros.Add(name);
  m.lId = id;
  m.events.lNumElements = events;
  for (int32_t i = 0; i < events; ++i) {
    m.events.ausCodes[static_cast<size_t>(i)] = static_cast<uint16_t>(0x1E + i);
    m.events.alTimes[static_cast<size_t>(i)] = 100 * i;
  }
  return m;
}

std::u16string ProfileBlock(std::u16string_view name, std::u16string_view executable,
                            std::initializer_list<std::u16string_view> mappings) {
  std::u16string text = CrLfLines({u"[FILEVERSION]", u"1.03", u"[SUPPORTEDDEVICE]", u"Quillfern", u"[DATATYPE]",
                                   u"Profile", u"[PROFILENAME]"});
  text += u"'" + std::u16string(name) + u"'\r\n";
  text += CrLfLines({u"[DPISTAGES]", u"NoofStages: 3", u"[DEFAULTSTAGE]", u"Stage: 2", u"[CURRENTSTAGE]",
                     u"Stage: 3", u"[DPISTAGE0]", u"X-Sense: 400 Y-Sense: 400", u"[DPISTAGE1]",
                     u"X-Sense: 1200 Y-Sense: 1000", u"[DPISTAGE2]", u"X-Sense: 3200 Y-Sense: 3200",
                     u"[LEDSCROLLWHEEL]", u"LEDState: 1", u"[LEDBATTERYINDICATOR]", u"LEDState: 2",
                     u"[LEDCHARGINGDOCK]", u"LEDState: 0", u"[EXECUTABLE]"});
  text += std::u16string(executable) + u"\r\n";
  text += CrLfLines({u"[AUTOLOAD]", u"1", u"[OTFSOSD]", u"1", u"[PROFILEOSD]", u"0"});
  size_t i = 0;
  for (std::u16string_view mapping : mappings) {
    text += u"[BUTTONMAPPING" + std::u16string(1, static_cast<char16_t>(u'0' + i)) + u"]\r\n";
    text += std::u16string(mapping) + u"\r\n";
    ++i;
  }
  return text;
}

}  // namespace quill::testing
