#include "common/macro_text.h"

#include <gtest/gtest.h>

#include "common/tests/text_fixture.h"
#include "common/utf16.h"

namespace quill {
namespace {

using testing::AddMacro;
using testing::CrLfLines;
using testing::Reader;
using testing::SplitLines;

std::u16string MacroBlock(std::u16string_view nameLine, std::u16string_view count,
                          std::initializer_list<std::u16string_view> elements) {
  std::u16string text = CrLfLines({u"[FILEVERSION]", u"1.03", u"[SUPPORTEDDEVICE]", u"Quillfern", u"[DATATYPE]",
                                   u"Macro", u"[MACRONAME]", nameLine, u"[MACROELEMENTS]", count});
  size_t i = 0;
  for (std::u16string_view element : elements)
    text += CrLfLines({u"[MACROELEMENT" + DecimalText(static_cast<int64_t>(i++)) + u"]", element});
  return text;
}

TEST(MacroText, WritesOnlyTheRecordedElementsAndTellsMouseFromKeys) {
  EntryLists lists;
  MacroEntry& m = AddMacro(lists, u"Fire", 1, 3);
  m.events.ausCodes = {0x0200, 0x8200, 0x811D};
  m.events.alTimes = {0, 60, 1234};
  m.events.ausCodes[3] = 0x1E;  // beyond lNumElements: not written
  TextWriter out;
  WriteMacroText(out, m);
  const std::vector<std::u16string> expected = {
      u"[FILEVERSION]", u"1.03", u"[SUPPORTEDDEVICE]", u"Quillfern", u"[DATATYPE]", u"Macro",
      u"[MACRONAME]", u"'Fire'", u"[MACROELEMENTS]", u"3",
      u"[MACROELEMENT0]", u"Mousecode: 0200 Scantime: 0", u"[MACROELEMENT1]", u"Mousecode: 8200 Scantime: 60",
      u"[MACROELEMENT2]", u"Scancode: 811D Scantime: 1234"};
  EXPECT_EQ(SplitLines(out.Text()), expected);

  m.events.lNumElements = 40;  // a count beyond the record is written as its 16 events
  TextWriter capped;
  WriteMacroText(capped, m);
  const auto lines = SplitLines(capped.Text());
  EXPECT_EQ(lines[9], u"16");
  EXPECT_EQ(lines.size(), 10u + 32u);
}

TEST(MacroText, ReadsElementsAndCutsCountsAboveSixteen) {
  std::u16string text = CrLfLines({u"[FILEVERSION]", u"1.03", u"[SUPPORTEDDEVICE]", u"Quillfern", u"[DATATYPE]",
                                   u"Macro", u"[MACRONAME]", u"'Long'", u"[MACROELEMENTS]", u"20"});
  for (int i = 0; i < 20; ++i)
    text += CrLfLines({u"[MACROELEMENT" + DecimalText(i) + u"]", u"Scancode: " + Hex4Text(static_cast<uint16_t>(0x10 + i)) +
                                                                   u" Scantime: " + DecimalText(i * 10)});
  EntryLists lists;
  TextReader in = Reader(text);
  MacroReadResult read = ReadMacroText(in, lists.macros, {});
  ASSERT_TRUE(read.created);
  EXPECT_EQ(read.entry->szName, u"Long");
  EXPECT_EQ(read.entry->bCreated, 1);
  EXPECT_EQ(read.entry->bModified, 1);
  EXPECT_EQ(read.entry->events.lNumElements, 16);
  EXPECT_EQ(read.entry->events.ausCodes[15], 0x1F);
  EXPECT_EQ(read.entry->events.alTimes[15], 150);
}

TEST(MacroText, ValuesThatDoNotParseAndZeroOrNegativeCounts) {
  EntryLists lists;
  MacroEntry& m = AddMacro(lists, u"Keep", 1, 2);
  const MacroEventList before = m.events;
  for (std::u16string_view count : {u"0", u"-3", u"many"}) {
    TextReader in = Reader(MacroBlock(u"'Keep'", count, {u"Scancode: 0001 Scantime: 5"}));
    MacroReadResult read = ReadMacroText(in, lists.macros, u"Keep");
    ASSERT_EQ(read.entry, &m);
    EXPECT_EQ(m.events.lNumElements, before.lNumElements);
    EXPECT_EQ(m.events.ausCodes, before.ausCodes);
  }
  TextReader in = Reader(MacroBlock(u"'Keep'", u"3", {u"Scancode: zz Scantime: 5", u"Mousecode: 7E01 Scantime: 70",
                                                      u"Scancode: 12345 Scantime: 9"}));
  ReadMacroText(in, lists.macros, u"Keep");
  EXPECT_EQ(m.events.lNumElements, 3);
  EXPECT_EQ(m.events.ausCodes[0], before.ausCodes[0]);  // did not parse: kept
  EXPECT_EQ(m.events.ausCodes[1], 0x0200);              // read-back form of the left button, normalised
  EXPECT_EQ(m.events.alTimes[1], 70);
  EXPECT_EQ(m.events.ausCodes[2], before.ausCodes[2]);  // five hex digits: the time does not follow
}

TEST(MacroText, NamesSelectBlocksAndEntries) {
  EntryLists lists;
  MacroEntry& existing = AddMacro(lists, u"Second", 5, 1);
  const std::u16string text = MacroBlock(u"'First'", u"1", {u"Scancode: 0002 Scantime: 0"}) +
                              MacroBlock(u"'Second'", u"1", {u"Scancode: 0003 Scantime: 0"});
  TextReader in = Reader(text);
  MacroReadResult second = ReadMacroText(in, lists.macros, u"Second");
  EXPECT_EQ(second.entry, &existing);
  EXPECT_EQ(existing.bCreated, 0);
  EXPECT_EQ(existing.events.ausCodes[0], 3);
  MacroReadResult first = ReadMacroText(in, lists.macros, {});
  ASSERT_TRUE(first.created);
  EXPECT_EQ(first.entry->szName, u"First");
  EXPECT_FALSE(ReadMacroText(in, lists.macros, u"Third").entry);
  existing.bDeleted = 1;
  EXPECT_TRUE(ReadMacroText(in, lists.macros, u"Second").created);
}

TEST(MacroText, QuotedNamesThatCannotUnderflowAndLongNames) {
  const struct {
    std::u16string_view line;
    std::u16string read;
  } cases[] = {
      {u"'", u""},
      {u"''", u""},
      {u"'It's'", u"It's"},
      {u"bare", u"bare"},
      {u"", u""},
  };
  for (const auto& c : cases) {
    EntryLists lists;
    TextReader in = Reader(MacroBlock(c.line, u"0", {}));
    MacroReadResult read = ReadMacroText(in, lists.macros, {});
    ASSERT_TRUE(read.entry);
    EXPECT_EQ(read.entry->szName, c.read);
  }
  EntryLists lists;
  TextReader in = Reader(MacroBlock(u"'" + std::u16string(200, u'm') + u"'", u"0", {}));
  EXPECT_EQ(ReadMacroText(in, lists.macros, {}).entry->szName, std::u16string(kMacroFileNameUnits, u'm'));
}

}  // namespace
}  // namespace quill
