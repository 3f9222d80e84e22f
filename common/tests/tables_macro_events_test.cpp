#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/macro_events.h"
#include "common/tests/tables_fixture.h"

namespace quill {
namespace {

using tables_test::Events;

std::vector<std::u16string> Texts(const std::vector<MacroRow>& rows) {
  std::vector<std::u16string> texts;
  for (const MacroRow& row : rows) texts.push_back(row.text);
  return texts;
}

MacroRow Row(std::u16string text, RowType type) {
  MacroRow row;
  row.text = std::move(text);
  row.type = type;
  return row;
}

TEST(MacroEvents, MouseEventsInBothForms) {
  struct Case {
    uint16_t code;
    int index;
    std::u16string_view text;
    uint16_t written;
  };
  const Case cases[] = {
      {0x0200, 1, u"Left Button Down", 0x0200},     // written form: index in bits 9-14
      {0x8A00, 5, u"Side Button 2 Up", 0x8A00},
      {0x0400, 2, u"Wheel Down", 0x0400},
      {0x7E01, 1, u"Left Button Down", 0x0200},     // read-back form: index in the low byte
      {0xFE03, 3, u"Right Button Up", 0x8600},
      {0x7E04, 4, u"Side Button 1 Down", 0x0800},
      {0x0C00, 6, u"???", 0x0C00},                  // a button without a name
      {0x7E0E, 14, u"???", 0x1C00},
      {0x7E00, 0, u"???", 0x7E00},                  // read-back form without a button
      {0x7E0F, 0, u"???", 0x7E0F},                  // index past 14
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    EXPECT_TRUE(IsMouseEvent(c.code));
    EXPECT_EQ(MouseButtonIndex(c.code), c.index);
    EXPECT_EQ(EventRowText(c.code), c.text);
    EXPECT_EQ(NormalizeEventCode(c.code), c.written);
    EXPECT_EQ(EventRow(c.code).type, RowType::Mouse);
  }
  // Key codes are never mouse events and are left as they are.
  EXPECT_FALSE(IsMouseEvent(0x81FF));
  EXPECT_EQ(MouseButtonIndex(0x011C), 0);
  EXPECT_EQ(NormalizeEventCode(0x811C), 0x811C);
}

TEST(MacroEvents, BothFormsGiveTheSameKeyListAndTheSameMacroBack) {
  const MacroEventList written = Events({{0x0200, 0}, {0x8200, 100}, {0x0600, 200}, {0x8600, 300}});
  const MacroEventList readBack = Events({{0x7E01, 0}, {0xFE01, 100}, {0x7E03, 200}, {0xFE03, 300}});
  const std::vector<MacroRow> rows = EventsToRows(readBack);
  EXPECT_EQ(Texts(rows), Texts(EventsToRows(written)));
  const MacroEventList back = RowsToEvents(rows);
  EXPECT_EQ(back.lNumElements, 4);
  EXPECT_EQ(back.ausCodes, written.ausCodes);
  EXPECT_EQ(back.alTimes, written.alTimes);
}

TEST(MacroEvents, ButtonIndexesAndDeviceMouseBits) {
  const std::pair<int, uint32_t> pairs[] = {{1, 1}, {2, 4}, {3, 2}, {4, 8}, {5, 16}, {6, 32}, {9, 256}, {14, 8192}};
  for (const auto& [index, bit] : pairs) {
    EXPECT_EQ(MouseBitFromButtonIndex(index), bit);
    EXPECT_EQ(ButtonIndexFromMouseBit(bit), index);
  }
  EXPECT_EQ(MouseBitFromButtonIndex(0), 0u);
  EXPECT_EQ(MouseBitFromButtonIndex(15), 0u);
  EXPECT_EQ(ButtonIndexFromMouseBit(3), 0);
  EXPECT_EQ(ButtonIndexFromMouseBit(16384), 0);
  EXPECT_EQ(MouseEventCode(15, false), 0);
  EXPECT_EQ(MouseEventCode(0, true), 0);
}

TEST(MacroEvents, DelaysOf1234And10Milliseconds) {
  // Two key presses 1234 ms apart, then a release 10 ms later.
  const MacroEventList events = Events({{0x1E, 0}, {0x30, 1234}, {0x8030, 1244}});
  const std::vector<MacroRow> rows = EventsToRows(events);
  EXPECT_EQ(Texts(rows), (std::vector<std::u16string>{u"A", u"1.234 sec delay", u"B", u"0.050 sec delay", u"B"}));
  EXPECT_EQ(rows[1].type, RowType::Delay);
  EXPECT_EQ(rows[4].type, RowType::KeyRelease);
  const MacroEventList back = RowsToEvents(rows);
  ASSERT_EQ(back.lNumElements, 3);
  EXPECT_EQ(back.alTimes[1], 1234);  // no loss to floating point
  EXPECT_EQ(back.alTimes[2], 1284);  // the key list shows a gap of 10 ms as 0.05 s
  EXPECT_EQ(back.ausCodes[2], 0x8030);
}

TEST(MacroEvents, RowsToEventsToRowsKeepsTheKeyList) {
  const std::vector<MacroRow> rows = {
      EventRow(0x1D),           Row(u"0.120 sec delay", RowType::Delay), EventRow(0x2E),
      Row(u"0.050 sec delay", RowType::Delay), EventRow(0x802E), EventRow(0x801D),
      Row(u"2.500 sec delay", RowType::Delay), EventRow(0x0800), Row(u"0.050 sec delay", RowType::Delay),
      EventRow(0x8800), Row(u"59.000 sec delay", RowType::Delay), EventRow(0x145), EventRow(0x8145)};
  const MacroEventList events = RowsToEvents(rows);
  EXPECT_EQ(events.lNumElements, 8);
  const std::vector<MacroRow> again = EventsToRows(events);
  EXPECT_EQ(Texts(again), Texts(rows));
  for (size_t i = 0; i < rows.size(); ++i) EXPECT_EQ(again[i].type, rows[i].type) << i;
  const MacroEventList twice = RowsToEvents(again);
  EXPECT_EQ(twice.ausCodes, events.ausCodes);
  EXPECT_EQ(twice.alTimes, events.alTimes);
}

TEST(MacroEvents, RowsConvertByTheirText) {
  MacroRow keypadEnter = EventRow(0x11C);
  EXPECT_EQ(keypadEnter.text, u"Enter");
  MacroRow typedEnter = Row(u"Enter", RowType::KeyPress);
  MacroRow edited = EventRow(0x11C);
  edited.text = u"Tab";  // the row was given another key
  const std::vector<MacroRow> rows = {keypadEnter, typedEnter, edited, Row(u"Nonsense", RowType::KeyRelease),
                                      Row(u"Wheel Up", RowType::Mouse), Row(u"Wheel Sideways", RowType::Mouse),
                                      Row(u"Left Button", RowType::Mouse)};
  const MacroEventList events = RowsToEvents(rows);
  ASSERT_EQ(events.lNumElements, 7);
  EXPECT_EQ(events.ausCodes[0], 0x11C);  // the kept code still matches the text
  EXPECT_EQ(events.ausCodes[1], 0x1C);   // by name: the main Enter key
  EXPECT_EQ(events.ausCodes[2], 0x0F);
  EXPECT_EQ(events.ausCodes[3], 0x8000);  // no such key: code 0, released
  EXPECT_EQ(events.ausCodes[4], 0x8400);
  EXPECT_EQ(events.ausCodes[5], 0);
  EXPECT_EQ(events.ausCodes[6], 0);
}

TEST(MacroEvents, CountsAboveSixteenAreCut) {
  std::vector<MacroRow> rows;
  for (int i = 0; i < 20; ++i) {
    rows.push_back(EventRow(0x1E));
    rows.push_back(Row(u"0.100 sec delay", RowType::Delay));
  }
  const MacroEventList events = RowsToEvents(rows);
  EXPECT_EQ(events.lNumElements, 16);
  EXPECT_EQ(events.alTimes[15], 1500);

  MacroEventList tooMany = events;
  tooMany.lNumElements = 40;  // as a damaged record might say
  EXPECT_EQ(CountEventRows(EventsToRows(tooMany)), 16);
  tooMany.lNumElements = -3;
  EXPECT_TRUE(EventsToRows(tooMany).empty());
}

TEST(MacroEvents, FirstEventIsAtZeroAndDelaysAreLimited) {
  const std::vector<MacroRow> rows = {Row(u"3.000 sec delay", RowType::Delay), EventRow(0x1E),
                                      Row(u"0.500 sec delay", RowType::Delay), Row(u"0.250 sec delay", RowType::Delay),
                                      EventRow(0x801E)};
  const MacroEventList events = RowsToEvents(rows);
  EXPECT_EQ(events.alTimes[0], 0);
  EXPECT_EQ(events.alTimes[1], 750);  // delay rows in a row add up

  // A gap outside 0.05 to 59 s is shown limited.
  const MacroEventList gaps = Events({{0x1E, 0}, {0x801E, 70000}, {0x30, 69999}});
  EXPECT_EQ(Texts(EventsToRows(gaps)), (std::vector<std::u16string>{u"A", u"59.000 sec delay", u"A", u"0.050 sec delay",
                                                                    u"B"}));
}

TEST(MacroEvents, DelayRowTexts) {
  const std::pair<std::u16string_view, int32_t> parsed[] = {
      {u"1.234 sec delay", 1234}, {u"0.5", 500},         {u"0.0005 sec", 1},     {u"1.2345", 1235},
      {u" 2 sec", 2000},          {u".25 sec", 250},     {u"abc", 0},            {u"", 0},
      {u"-1.000 sec", 0},         {u"999999.000", 59000}, {u"99999999999999999999", 59000}};
  for (const auto& [text, ms] : parsed) EXPECT_EQ(DelayMsFromRowText(text), ms) << std::string(text.begin(), text.end());

  EXPECT_EQ(DelayRowText(500), u"0.500 sec delay");
  EXPECT_EQ(DelayRowText(59000), u"59.000 sec delay");
  EXPECT_EQ(DelayRowText(-5), u"0.000 sec delay");
  EXPECT_EQ(DelayRowText(1000000), u"59.000 sec delay");  // an in-place edit of a huge number
  EXPECT_EQ(DelayRowText(1234, u"%.03f s Verz\u00f6gerung"), u"1.234 s Verz\u00f6gerung");
  EXPECT_EQ(DelayRowText(7, u"delay"), u"0.007 delay");
  EXPECT_EQ(DelayRow(kInsertedDelayMs).text, u"0.500 sec delay");
  EXPECT_EQ(DelayRow(kInsertedDelayMs).type, RowType::Delay);
}

TEST(MacroEvents, RecordedDelays) {
  const RecordingDelayOptions plain;
  EXPECT_FALSE(RecordedDelayRow(500, false, true, plain));  // nothing before the first event
  EXPECT_EQ(RecordedDelayRow(1234, false, false, plain)->text, u"1.234 sec delay");
  EXPECT_EQ(RecordedDelayRow(10, false, false, plain)->text, u"0.050 sec delay");
  EXPECT_EQ(RecordedDelayRow(10, true, false, plain)->text, u"0.010 sec delay");
  EXPECT_EQ(RecordedDelayRow(0, true, false, plain)->text, u"0.001 sec delay");
  EXPECT_EQ(RecordedDelayRow(int64_t{1} << 40, false, false, plain)->text, u"59.000 sec delay");

  RecordingDelayOptions ignore;
  ignore.ignoreDelays = true;
  EXPECT_FALSE(RecordedDelayRow(1234, false, false, ignore));

  RecordingDelayOptions fixed;
  fixed.useDefaultDelay = true;
  fixed.defaultDelayMs = 300;
  EXPECT_EQ(RecordedDelayRow(5000, false, false, fixed)->text, u"0.300 sec delay");
  fixed.defaultDelayMs = 0;
  EXPECT_EQ(RecordedDelayRow(5000, false, false, fixed)->text, u"0.050 sec delay");
}

TEST(MacroEvents, KeyMessageFlags) {
  EXPECT_EQ(KeyEventFromFlags(0x0045), 0x0045);
  EXPECT_EQ(KeyEventFromFlags(0x0145), 0x0145);          // extended
  EXPECT_EQ(KeyEventFromFlags(0xC045), 0x8045);          // a key-up always has the previous-state bit
  EXPECT_EQ(KeyEventFromFlags(0xC145), 0x8145);
  EXPECT_EQ(KeyEventFromFlags(0x2038), 0x0038);          // Alt context bit dropped
  EXPECT_EQ(KeyEventFromFlags(0x4045), std::nullopt);    // held key: auto-repeat ignored
}

TEST(MacroEvents, MouseInsertCommands) {
  using V = std::vector<uint16_t>;
  EXPECT_EQ(MouseInsertCommandEvents(27792), (V{0x0200}));
  EXPECT_EQ(MouseInsertCommandEvents(27793), (V{0x8200}));
  EXPECT_EQ(MouseInsertCommandEvents(27794), (V{0x0200, 0x8200}));
  EXPECT_EQ(MouseInsertCommandEvents(27795), (V{0x0800}));          // side button 1
  EXPECT_EQ(MouseInsertCommandEvents(27800), (V{0x0600, 0x8600}));  // right click
  EXPECT_EQ(MouseInsertCommandEvents(27803), (V{0x0400, 0x8400}));  // wheel click
  EXPECT_EQ(MouseInsertCommandEvents(27804), (V{0x0A00}));
  EXPECT_EQ(MouseInsertCommandEvents(27805), (V{0x8A00}));
  EXPECT_TRUE(MouseInsertCommandEvents(27791).empty());
  EXPECT_TRUE(MouseInsertCommandEvents(27806).empty());
}

}  // namespace
}  // namespace quill
