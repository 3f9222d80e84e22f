#include "common/macro_events.h"

#include <algorithm>

#include "common/key_names.h"
#include "common/name_fields.h"

namespace quill {
namespace {

constexpr std::array<std::u16string_view, 6> kMouseButtonNames = {
    u"", u"Left Button", u"Wheel", u"Right Button", u"Side Button 1", u"Side Button 2"};

constexpr std::u16string_view kDownSuffix = u" Down";
constexpr std::u16string_view kUpSuffix = u" Up";

MacroRow MakeRow(std::u16string text, RowType type, uint16_t code) {
  MacroRow row;
  row.text = std::u16string(CutToUnits(text, kMaxRowTextUnits));
  row.type = type;
  row.code = code;
  return row;
}

std::u16string Digits(int32_t value, int minDigits) {
  std::u16string out;
  do {
    out.insert(out.begin(), static_cast<char16_t>(u'0' + value % 10));
    value /= 10;
  } while (value > 0);
  while (out.size() < static_cast<size_t>(minDigits)) out.insert(out.begin(), u'0');
  return out;
}

// Key code of a key row: the kept code while the text still names it, else the code of the name.
uint16_t KeyRowCode(const MacroRow& row) {
  if (row.code != 0 && !IsMouseEvent(row.code) && KeyName(row.code) == row.text) return row.code & kKeyCodeMask;
  return KeyCodeFromName(row.text);
}

uint16_t MouseRowCode(const MacroRow& row) {
  if (row.code != 0 && MouseButtonIndex(row.code) != 0 && EventRowText(row.code) == row.text) {
    return NormalizeEventCode(row.code);
  }
  return MouseEventCodeFromText(row.text);
}

}  // namespace

bool IsMouseEvent(uint16_t code) { return (code & kEventMouseMask) != 0; }

int MouseButtonIndex(uint16_t code) {
  int index = 0;
  if ((code & kEventMouseMask) == kEventMouseReadBack) {
    index = code & 0xFF;
  } else {
    index = (code & kEventMouseMask) >> kEventMouseShift;
  }
  return (index >= 1 && index <= kMaxMouseButtonIndex) ? index : 0;
}

uint16_t MouseEventCode(int buttonIndex, bool release) {
  if (buttonIndex < 1 || buttonIndex > kMaxMouseButtonIndex) return 0;
  return static_cast<uint16_t>((buttonIndex << kEventMouseShift) | (release ? kEventRelease : 0));
}

uint16_t NormalizeEventCode(uint16_t code) {
  if ((code & kEventMouseMask) != kEventMouseReadBack) return code;
  const int index = MouseButtonIndex(code);
  if (index == 0) return code;  // no button: left as it came, it shows as "???"
  return MouseEventCode(index, IsReleaseEvent(code));
}

uint32_t MouseBitFromButtonIndex(int buttonIndex) {
  switch (buttonIndex) {
    case kMouseButtonLeft: return 1;
    case kMouseButtonWheel: return 4;
    case kMouseButtonRight: return 2;
    case kMouseButtonSide1: return 8;
    case kMouseButtonSide2: return 16;
    default: break;
  }
  if (buttonIndex > kMouseButtonSide2 && buttonIndex <= kMaxMouseButtonIndex) return 1u << (buttonIndex - 1);
  return 0;
}

int ButtonIndexFromMouseBit(uint32_t bit) {
  for (int index = 1; index <= kMaxMouseButtonIndex; ++index) {
    if (MouseBitFromButtonIndex(index) == bit) return index;
  }
  return 0;
}

std::u16string_view MouseButtonName(int buttonIndex) {
  if (buttonIndex < 1 || buttonIndex >= static_cast<int>(kMouseButtonNames.size())) return {};
  return kMouseButtonNames[static_cast<size_t>(buttonIndex)];
}

std::u16string EventRowText(uint16_t code) {
  if (!IsMouseEvent(code)) return std::u16string(KeyName(code));
  const std::u16string_view name = MouseButtonName(MouseButtonIndex(code));
  if (name.empty()) return std::u16string(kUnknownKeyName);
  std::u16string text(name);
  text += IsReleaseEvent(code) ? kUpSuffix : kDownSuffix;
  return text;
}

uint16_t MouseEventCodeFromText(std::u16string_view text) {
  for (int index = 1; index < static_cast<int>(kMouseButtonNames.size()); ++index) {
    const std::u16string_view name = kMouseButtonNames[static_cast<size_t>(index)];
    if (text.size() <= name.size() || text.substr(0, name.size()) != name) continue;
    const std::u16string_view rest = text.substr(name.size());
    if (rest == kDownSuffix) return MouseEventCode(index, false);
    if (rest == kUpSuffix) return MouseEventCode(index, true);
  }
  return 0;
}

std::optional<uint16_t> KeyEventFromFlags(uint32_t keyFlags) {
  // Bit 14 is the previous key state. On a key-down it marks an auto-repeat; a key-up always has
  // it set, so only a press with it counts as a repeat.
  if ((keyFlags & (0x4000 | kEventRelease)) == 0x4000) return std::nullopt;
  return static_cast<uint16_t>(keyFlags & (kEventRelease | kKeyCodeMask));
}

std::optional<MacroRow> RecordedDelayRow(int64_t elapsedMs, bool beforeMouseEvent, bool firstEvent,
                                         const RecordingDelayOptions& options, std::u16string_view format) {
  if (firstEvent || options.ignoreDelays) return std::nullopt;
  int64_t delay = options.useDefaultDelay ? options.defaultDelayMs : elapsedMs;
  delay = std::clamp<int64_t>(delay, beforeMouseEvent ? kMinMouseDelayMs : kMinKeyDelayMs, kMaxRowDelayMs);
  return DelayRow(static_cast<int32_t>(delay), format);
}

std::u16string DelayRowText(int32_t delayMs, std::u16string_view format) {
  const int32_t ms = std::clamp<int32_t>(delayMs, 0, kMaxRowDelayMs);
  const std::u16string number = Digits(ms / 1000, 1) + u"." + Digits(ms % 1000, 3);
  for (std::u16string_view field : {std::u16string_view(u"%.03f"), std::u16string_view(u"%.3f")}) {
    const size_t at = format.find(field);
    if (at != std::u16string_view::npos) {
      std::u16string text(format.substr(0, at));
      text += number;
      text += format.substr(at + field.size());
      return text;
    }
  }
  return number + u" " + std::u16string(format);
}

MacroRow DelayRow(int32_t delayMs, std::u16string_view format) {
  return MakeRow(DelayRowText(delayMs, format), RowType::Delay, 0);
}

int32_t DelayMsFromRowText(std::u16string_view text) {
  size_t i = 0;
  while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
  if (i >= text.size() || text[i] < u'0' || text[i] > u'9') {
    // ".5 sec" still counts as a number; anything else does not.
    if (!(i + 1 < text.size() && text[i] == u'.' && text[i + 1] >= u'0' && text[i + 1] <= u'9')) return 0;
  }
  int64_t seconds = 0;
  for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i) {
    if (seconds <= kMaxRowDelayMs) seconds = seconds * 10 + (text[i] - u'0');
  }
  int64_t fraction = 0;  // ten-thousandths of a second
  if (i < text.size() && text[i] == u'.') {
    ++i;
    int digits = 0;
    for (; i < text.size() && text[i] >= u'0' && text[i] <= u'9'; ++i, ++digits) {
      if (digits < 4) fraction = fraction * 10 + (text[i] - u'0');
    }
    for (; digits < 4; ++digits) fraction *= 10;
  }
  const int64_t ms = seconds * 1000 + (fraction + 5) / 10;
  return static_cast<int32_t>(std::clamp<int64_t>(ms, 0, kMaxRowDelayMs));
}

MacroRow EventRow(uint16_t code) {
  code = NormalizeEventCode(code);
  if (code <= kKeyCodeMask) return MakeRow(EventRowText(code), RowType::KeyPress, code);
  if (IsMouseEvent(code)) return MakeRow(EventRowText(code), RowType::Mouse, code);
  return MakeRow(EventRowText(code), RowType::KeyRelease, code);
}

std::vector<MacroRow> EventsToRows(const MacroEventList& events, std::u16string_view delayFormat) {
  std::vector<MacroRow> rows;
  const int32_t count = std::clamp<int32_t>(events.lNumElements, 0, kMaxMacroEvents);
  for (int32_t i = 0; i < count; ++i) {
    const size_t at = static_cast<size_t>(i);
    if (i > 0 && events.alTimes[at] != events.alTimes[at - 1]) {
      const int64_t gap = static_cast<int64_t>(events.alTimes[at]) - events.alTimes[at - 1];
      rows.push_back(DelayRow(static_cast<int32_t>(std::clamp<int64_t>(gap, kMinKeyDelayMs, kMaxRowDelayMs)), delayFormat));
    }
    rows.push_back(EventRow(events.ausCodes[at]));
  }
  return rows;
}

MacroEventList RowsToEvents(std::span<const MacroRow> rows) {
  MacroEventList events;
  int64_t previousTime = 0;
  int64_t pendingDelay = 0;
  for (const MacroRow& row : rows) {
    if (events.lNumElements >= kMaxMacroEvents) break;
    uint16_t code = 0;
    switch (row.type) {
      case RowType::Delay:
        pendingDelay += DelayMsFromRowText(row.text);
        continue;
      case RowType::KeyPress: code = KeyRowCode(row); break;
      case RowType::KeyRelease: code = static_cast<uint16_t>(KeyRowCode(row) | kEventRelease); break;
      case RowType::Mouse: code = MouseRowCode(row); break;
    }
    // The first event is at 0: a delay in front of it has nothing to wait for.
    const int64_t time = events.lNumElements == 0 ? 0 : previousTime + pendingDelay;
    const size_t at = static_cast<size_t>(events.lNumElements);
    events.ausCodes[at] = code;
    events.alTimes[at] = static_cast<int32_t>(time);
    ++events.lNumElements;
    previousTime = time;
    pendingDelay = 0;
  }
  return events;
}

int32_t CountEventRows(std::span<const MacroRow> rows) {
  return static_cast<int32_t>(std::count_if(rows.begin(), rows.end(),
                                            [](const MacroRow& row) { return row.type != RowType::Delay; }));
}

std::vector<uint16_t> MouseInsertCommandEvents(int command) {
  if (command < kFirstMouseInsertCommand || command > kLastMouseInsertCommand) return {};
  const int offset = command - kFirstMouseInsertCommand;
  // Groups of three (down, up, click) for these buttons, then down and up of side button 2.
  constexpr std::array<int, 5> kGroupButtons = {kMouseButtonLeft, kMouseButtonSide1, kMouseButtonRight,
                                                kMouseButtonWheel, kMouseButtonSide2};
  const int button = kGroupButtons[static_cast<size_t>(offset / 3)];
  switch (offset % 3) {
    case 0: return {MouseEventCode(button, false)};
    case 1: return {MouseEventCode(button, true)};
    default: return {MouseEventCode(button, false), MouseEventCode(button, true)};
  }
}

}  // namespace quill
