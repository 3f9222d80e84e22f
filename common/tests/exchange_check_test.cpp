// Imports of damaged or hostile exchange files: refused whole with a message, nothing changed.
#include "common/exchange_check.h"

#include <gtest/gtest.h>

#include "common/exchange_files.h"
#include "common/macro_text.h"
#include "common/memory_file_system.h"
#include "common/profile_text.h"
#include "common/tests/text_fixture.h"

namespace quill {
namespace {

std::string Bytes(const std::u16string& text) {
  std::string bytes;
  for (char16_t c : text) {
    bytes.push_back(static_cast<char>(c & 0xFF));
    bytes.push_back(static_cast<char>(c >> 8));
  }
  return bytes;
}

std::u16string Replaced(std::u16string text, std::u16string_view from, std::u16string_view to) {
  const size_t at = text.find(from);
  EXPECT_NE(at, std::u16string::npos) << "fixture text not found";
  if (at != std::u16string::npos) text.replace(at, from.size(), to);
  return text;
}

TEST(ExchangeCheck, HostileMacroFilesChangeNothing) {
  EntryLists source;
  MacroEntry& macro = testing::AddMacro(source, u"Combo", 3, 2);  // codes 001E, 001F at 0, 100
  TextWriter writer;
  WriteMacroText(writer, macro);
  const std::u16string good = writer.Text();
  std::u16string seventeen = Replaced(good, u"[MACROELEMENTS]\r\n2", u"[MACROELEMENTS]\r\n17");
  for (int i = 2; i < 17; ++i)
    seventeen += u"[MACROELEMENT" + std::u16string(1, u'0' + i / 10) + std::u16string(1, u'0' + i % 10) +
                 u"]\r\nScancode: 001E Scantime: 900\r\n";
  const struct {
    const char* what;
    std::u16string text;
    std::u16string_view problem;
  } cases[] = {
      {"a good file", good, u""},
      {"over-long line", Replaced(good, u"'Combo'", u"'" + std::u16string(300, u'x') + u"'"), kFileLineTooLongText},
      {"name broken over two lines", Replaced(good, u"'Combo'", u"'Com\r\nbo'"), kFileBadNameText},
      {"name with a tab", Replaced(good, u"'Combo'", u"'Com\tbo'"), kFileBadNameText},
      {"name without quotes", Replaced(good, u"'Combo'", u"Combo"), kFileBadNameText},
      {"more than 16 declared", Replaced(good, u"[MACROELEMENTS]\r\n2", u"[MACROELEMENTS]\r\n99"),
       kFileTooManyEventsText},
      {"seventeen elements", seventeen, kFileTooManyEventsText},
      {"negative count", Replaced(good, u"[MACROELEMENTS]\r\n2", u"[MACROELEMENTS]\r\n-1"), kFileBadEventText},
      {"more elements than declared", Replaced(good, u"[MACROELEMENTS]\r\n2", u"[MACROELEMENTS]\r\n1"),
       kFileBadEventText},
      {"an event missing", Replaced(good, u"[MACROELEMENTS]\r\n2", u"[MACROELEMENTS]\r\n3"), kFileBadEventText},
      {"events out of order", Replaced(good, u"[MACROELEMENT1]", u"[MACROELEMENT01]"), kFileBadEventText},
      {"code without a key", Replaced(good, u"Scancode: 001F", u"Scancode: 0054"), kFileBadEventText},
      {"code with stray bits", Replaced(good, u"Scancode: 001F", u"Scancode: 201F"), kFileBadEventText},
      {"mouse index out of range", Replaced(good, u"Scancode: 001F", u"Mousecode: 1E00"), kFileBadEventText},
      {"code not hexadecimal", Replaced(good, u"Scancode: 001F", u"Scancode: zz"), kFileBadEventText},
      {"time going back", Replaced(good, u"Scantime: 100", u"Scantime: -5"), kFileBadEventText},
      {"time missing", Replaced(good, u"Scantime: 100", u""), kFileBadEventText},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryFileSystem fs;
    fs.files[u"in.txm"] = Bytes(c.text);
    EntryLists lists;
    MacroEntry& existing = testing::AddMacro(lists, u"Combo", 7, 1);
    const MacroImport imported = ImportMacroFile(fs, u"in.txm", lists.macros);
    EXPECT_EQ(imported.error, c.problem);
    EXPECT_EQ(imported.macro != nullptr, c.problem.empty());
    EXPECT_EQ(lists.macros.size(), c.problem.empty() ? 2u : 1u);
    EXPECT_EQ(existing.events.lNumElements, 1);
  }
}

TEST(ExchangeCheck, HostileProfileFilesChangeNothing) {
  EntryLists source;
  ProfileEntry& game = testing::AddDeviceProfile(source, u"Game", 2);
  MacroEntry& combo = testing::AddMacro(source, u"Combo", 3, 2);
  (*game.pMappings)[1] = {2, buttons::BUTTON_MAPPING_MACRO, 5, {3, 1, 0}};
  game.pDpiStages = std::make_unique<DpiStages>();
  game.pDpiStages->ulTotalStages = 2;
  game.pDpiStages->Sensitivity[0] = {800, 800};
  game.pDpiStages->Sensitivity[1] = {1600, 1600};
  (void)combo;
  TextWriter writer;
  WriteProfileText(writer, game, source);
  const std::u16string good = writer.Text();
  const struct {
    const char* what;
    std::u16string text;
    std::u16string_view problem;
  } cases[] = {
      {"a good file", good, u""},
      {"profile name with a line break", Replaced(good, u"'Game'", u"'Ga\r\nme'"), kFileBadNameText},
      {"too many stages", Replaced(good, u"NoofStages: 2", u"NoofStages: 6"), kFileBadStagesText},
      {"bad event in its macro", Replaced(good, u"Scancode: 001F", u"Scancode: 7F1F"), kFileBadEventText},
      {"over-long executable", Replaced(good, u"[EXECUTABLE]\r\n", u"[EXECUTABLE]\r\n" + std::u16string(400, u'e')),
       kFileLineTooLongText},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryFileSystem fs;
    fs.files[u"in.txp"] = Bytes(c.text);
    EntryLists lists;
    const ProfileImport imported = ImportProfileFile(fs, u"in.txp", lists, nullptr);
    EXPECT_EQ(imported.error, c.problem);
    EXPECT_EQ(imported.profile != nullptr, c.problem.empty());
    EXPECT_EQ(lists.profiles.size(), c.problem.empty() ? 1u : 0u);
    EXPECT_EQ(lists.macros.size(), c.problem.empty() ? 1u : 0u);
  }
}

}  // namespace
}  // namespace quill
