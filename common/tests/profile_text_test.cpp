#include "common/profile_text.h"

#include <gtest/gtest.h>

#include <algorithm>

#include "common/macro_text.h"
#include "common/tests/text_fixture.h"
#include "common/translation.h"
#include "common/utf16.h"

namespace quill {
namespace {

using buttons::MappingWords;
using testing::AddDeviceProfile;
using testing::AddMacro;
using testing::CrLfLines;
using testing::ProfileBlock;
using testing::Reader;
using testing::SplitLines;

constexpr int32_t kDevice = buttons::BUTTON_MAPPING_DEVICE_ACTION;
constexpr int32_t kMacro = buttons::BUTTON_MAPPING_MACRO;
constexpr int32_t kKey = buttons::BUTTON_MAPPING_USER_ACTION;
constexpr int32_t kButtons = buttons::BUTTON_MAPPING_BUTTONS;

MappingWords& SlotOf(ProfileEntry& p, size_t fileIndex) { return (*p.pMappings)[SlotOfFileIndex(fileIndex)]; }

std::vector<std::u16string> Written(ProfileEntry& p, const EntryLists& lists) {
  TextWriter out;
  WriteProfileText(out, p, lists);
  return SplitLines(out.Text());
}

class ProfileTextTest : public ::testing::Test {
 protected:
  ProfileTextTest() {
    work = &AddDeviceProfile(lists, u"Work", 2);
    game = &AddDeviceProfile(lists, u"Game", 3);
    macro = &AddMacro(lists, u"Combo", 4, 3);
  }
  EntryLists lists;
  ProfileEntry* work;
  ProfileEntry* game;
  MacroEntry* macro;
};

TEST_F(ProfileTextTest, WritesTheBlockLineByLineWithTheMacrosOfItsButtons) {
  game->ulLedFlags = kLedScrollWheel | kLedLogo;
  game->szExecutable = u"notepad.exe";
  game->bAutoLoad = 1;
  game->bProfileOsd = 1;
  SlotOf(*game, 1) = {2, kDevice, 0, {5, 0, 2}};     // switch to Work, found by id
  SlotOf(*game, 2) = {3, kMacro, 5, {4, 1, 0}};      // macro Combo, found by id
  SlotOf(*game, 3) = {5, kKey, 1, {0x1E, 0, 0}};
  SlotOf(*game, 4) = {4, 4, 4, {1, 2, 0}};           // multimedia: not in the file format
  const std::vector<std::u16string> expected = {
      u"[FILEVERSION]", u"1.03", u"[SUPPORTEDDEVICE]", u"Quillfern", u"[DATATYPE]", u"Profile",
      u"[PROFILENAME]", u"'Game'",
      u"[DPISTAGES]", u"NoofStages: 2", u"[DEFAULTSTAGE]", u"Stage: 1", u"[CURRENTSTAGE]", u"Stage: 1",
      u"[DPISTAGE0]", u"X-Sense: 800 Y-Sense: 800", u"[DPISTAGE1]", u"X-Sense: 1600 Y-Sense: 1600",
      u"[LEDSCROLLWHEEL]", u"LEDState: 1", u"[LEDBATTERYINDICATOR]", u"LEDState: 2",
      u"[LEDCHARGINGDOCK]", u"LEDState: 0",
      u"[EXECUTABLE]", u"notepad.exe", u"[AUTOLOAD]", u"1", u"[OTFSOSD]", u"0", u"[PROFILEOSD]", u"1",
      u"[BUTTONMAPPING0]", u"Mapping: 6 Data: 5 1",
      u"[BUTTONMAPPING1]", u"Mapping: 1 Data: 5 'Work'",
      u"[BUTTONMAPPING2]", u"Mapping: 2 Data: 0 'Combo'",
      u"[BUTTONMAPPING3]", u"Mapping: 3 Data: 1 30",
      u"[BUTTONMAPPING4]", u"Invalid Mapping!",
      u"[BUTTONMAPPING5]", u"Mapping: 6 Data: 5 1", u"[BUTTONMAPPING6]", u"Mapping: 6 Data: 5 1",
      u"[BUTTONMAPPING7]", u"Mapping: 6 Data: 5 1", u"[BUTTONMAPPING8]", u"Mapping: 6 Data: 5 1",
      u"[FILEVERSION]", u"1.03", u"[SUPPORTEDDEVICE]", u"Quillfern", u"[DATATYPE]", u"Macro",
      u"[MACRONAME]", u"'Combo'", u"[MACROELEMENTS]", u"3",
      u"[MACROELEMENT0]", u"Scancode: 001E Scantime: 0", u"[MACROELEMENT1]", u"Scancode: 001F Scantime: 100",
      u"[MACROELEMENT2]", u"Scancode: 0020 Scantime: 200"};
  EXPECT_EQ(Written(*game, lists), expected);
  EXPECT_EQ(game->apTargetProfiles[1], work);  // lookups are remembered
  EXPECT_EQ(game->apMacros[2], macro);
}

TEST_F(ProfileTextTest, OptionalPartsAreWrittenOnlyWhenPresent) {
  ProfileEntry& bare = lists.profiles.Add(u"Bare");
  const auto lines = Written(bare, lists);
  ASSERT_EQ(lines.size(), 22u);  // opening, name, LEDs, executable, three switches
  EXPECT_EQ(lines[8], u"[LEDSCROLLWHEEL]");
  EXPECT_EQ(lines[21], u"0");
}

TEST_F(ProfileTextTest, MappingTexts) {
  struct Case {
    MappingWords slot;
    ProfileEntry* target;
    MacroEntry* macro;
    std::u16string_view text;
  };
  const Case cases[] = {
      {{1, kKey, 1, {0x2C, 0, 0}}, nullptr, nullptr, u"Mapping: 3 Data: 1 44"},
      {{1, kKey, 0, {0x2C, 0, 0}}, nullptr, nullptr, u"Invalid Mapping!"},
      {{1, kButtons, 5, {13, 0, 0}}, nullptr, nullptr, u"Mapping: 6 Data: 5 13"},
      {{1, kDevice, 0, {5, 0, 0}}, work, nullptr, u"Mapping: 1 Data: 5 'Work'"},
      {{1, kDevice, 0, {5, 0, 3}}, nullptr, nullptr, u"Mapping: 1 Data: 5 'Game'"},   // by lVal
      {{1, kDevice, 0, {5, 0, 99}}, nullptr, nullptr, u"Invalid Mapping!"},          // no target
      {{1, kDevice, 0, {4, 0, 2}}, work, nullptr, u"Mapping: 0 Data: 0 ''"},         // not a profile switch
      {{1, kDevice, 0, {4, 0, 2}}, nullptr, nullptr, u"Invalid Mapping!"},           // DPI stage 2 is no profile id
      {{1, kMacro, 0, {4, 0, 0}}, nullptr, nullptr, u"Mapping: 2 Data: 0 'Combo'"},
      {{1, kMacro, 0, {77, 0, 0}}, nullptr, nullptr, u"Mapping: 0 Data: 0 ''"},
      {{1, kMacro, 0, {0, 0, 0}}, nullptr, macro, u"Mapping: 2 Data: 0 'Combo'"},
      {{0, 0, 0, {0, 0, 0}}, nullptr, nullptr, u"Invalid Mapping!"},
  };
  for (const Case& c : cases) {
    SlotOf(*game, 0) = c.slot;
    game->apTargetProfiles[0] = c.target;
    game->apMacros[0] = c.macro;
    EXPECT_EQ(MappingText(*game, 0, lists), c.text) << std::string(c.text.begin(), c.text.end());
  }
  EXPECT_EQ(game->apTargetProfiles[0], nullptr);  // the DPI-stage slot did not pick up profile 2
}

TEST_F(ProfileTextTest, RoundTripOfEveryKindOfMappingAndASixteenEventMacro) {
  MacroEntry& full = AddMacro(lists, u"Sixteen", 9, 16);
  full.events.ausCodes[3] = 0x0200;   // left button down
  full.events.ausCodes[4] = 0x8200;   // left button up
  full.events.ausCodes[5] = 0x811D;   // right Ctrl up
  game->pDpiStages->ulTotalStages = 5;
  for (uint32_t i = 0; i < 5; ++i) game->pDpiStages->Sensitivity[i] = {400 + 100 * i, 500 + 200 * i};
  game->pDpiStages->lDefaultStage = 4;
  game->pDpiStages->lCurrentStage = 5;
  game->ulLedFlags = kLedScrollWheel | kLedChargingDock;
  game->szExecutable = u"my game.exe";
  game->bAutoLoad = 1;
  game->bOtfsOsd = 1;
  game->bProfileOsd = 0;
  SlotOf(*game, 0) = {1, kButtons, 5, {1, 0, 0}};
  SlotOf(*game, 1) = {2, kDevice, 0, {5, 0, 2}};
  SlotOf(*game, 2) = {3, kMacro, 5, {9, 1, 0}};
  SlotOf(*game, 3) = {5, kKey, 1, {0x04, 0, 0}};
  SlotOf(*game, 4) = {4, kButtons, 5, {4, 0, 0}};
  SlotOf(*game, 5) = {6, 0, 0, {0, 0, 0}};
  TextWriter out;
  WriteProfileText(out, *game, lists);

  EntryLists other;
  AddDeviceProfile(other, u"Work", 7);
  TextReader in(out.Text());
  ProfileReadResult read = ReadProfileText(in, other, {}, true, nullptr);
  ASSERT_TRUE(read.created);
  ProfileEntry& copy = *read.entry;
  EXPECT_EQ(copy.szName, u"Game");
  EXPECT_EQ(copy.bCreated, 1);
  EXPECT_EQ(copy.bModified, 1);
  EXPECT_EQ(*copy.pDpiStages, *game->pDpiStages);
  EXPECT_EQ(copy.ulLedFlags, game->ulLedFlags);
  EXPECT_EQ(copy.szExecutable, u"my game.exe");
  EXPECT_EQ(copy.bAutoLoad, 1);
  EXPECT_EQ(copy.bOtfsOsd, 1);
  EXPECT_EQ(copy.bProfileOsd, 0);
  ASSERT_TRUE(copy.pMappings);
  EXPECT_EQ(SlotOf(copy, 0), SlotOf(*game, 0));
  EXPECT_EQ(SlotOf(copy, 1), (MappingWords{2, kDevice, 0, {5, 0, 0}}));  // target travels by name
  EXPECT_EQ(SlotOf(copy, 2), (MappingWords{3, kMacro, 0, {0, 0, 0}}));   // macro travels by name
  EXPECT_EQ(SlotOf(copy, 3), SlotOf(*game, 3));
  EXPECT_EQ(SlotOf(copy, 4), SlotOf(*game, 4));
  EXPECT_EQ(SlotOf(copy, 5), MappingWords{});
  EXPECT_EQ(copy.aszTargetProfileNames[1], u"Work");
  EXPECT_EQ(copy.aszMacroNames[2], u"Sixteen");

  MacroReadResult macroRead = ReadMacroText(in, other.macros, u"Sixteen");
  ASSERT_TRUE(macroRead.created);
  EXPECT_EQ(macroRead.entry->events.lNumElements, 16);
  EXPECT_EQ(macroRead.entry->events.ausCodes, full.events.ausCodes);
  EXPECT_EQ(macroRead.entry->events.alTimes, full.events.alTimes);

  // Resolved as an import does, the copy writes the same text again.
  copy.apTargetProfiles[1] = other.profiles.FindByName(u"Work");
  copy.apMacros[2] = macroRead.entry;
  (*copy.pMappings)[SlotOfFileIndex(5)] = SlotOf(*game, 5);
  TextWriter again;
  WriteProfileText(again, copy, other);
  EXPECT_EQ(again.Text(), out.Text());
}

TEST_F(ProfileTextTest, ExecutableValues) {
  MemoryFileSystem fs;
  fs.files[u"C:\\T\\de.txt"] = testing::Bytes(CrLfLines({u"<none>", u"<keine>"}));
  Translator translator(fs);
  translator.SetSource({u"C:\\T\\", u"de.txt", kTranslationNormal});
  const struct {
    std::u16string_view value;
    Translator* translator;
    std::u16string_view read;
  } cases[] = {
      {u"", &translator, u"<keine>"},
      {u"   ", nullptr, u"<none>"},
      {u"notepad.exe", nullptr, u"notepad.exe"},
      {u"my game.exe", nullptr, u"my game.exe"},
      {u" padded.exe ", nullptr, u"padded.exe"},
  };
  for (const auto& c : cases) {
    TextReader in = Reader(ProfileBlock(u"Work", c.value, {}));
    ReadProfileText(in, lists, {}, false, c.translator);
    EXPECT_EQ(work->szExecutable, c.read);
  }
}

TEST_F(ProfileTextTest, DatReadIntoAnExistingProfileTouchesOnlyItsFileSettings) {
  SlotOf(*work, 1) = {2, kDevice, 0, {5, 0, 3}};  // the device says: switch to Game
  SlotOf(*work, 2) = {3, kMacro, 5, {4, 1, 0}};   // the device says: macro 4 (Combo)
  SlotOf(*work, 7) = {8, kDevice, 0, {4, 0, 3}};  // DPI stage 3, not a profile
  work->ulLedFlags = kLedChargingDock;
  work->aszMacroNames[0] = u"stale";
  const DpiStages stages = *work->pDpiStages;
  const MappingSlots slots = *work->pMappings;
  TextReader in = Reader(ProfileBlock(u"Work", u"game.exe",
                                      {u"Mapping: 2 Data: 0 'FromFile'", u"Mapping: 1 Data: 5 'Elsewhere'",
                                       u"Mapping: 2 Data: 0 'Other'", u"Mapping: 3 Data: 1 30",
                                       u"Mapping: 1 Data: 5 'Named'", u"Invalid Mapping!", u"Mapping: 0 Data: 0 ''",
                                       u"Mapping: 0 Data: 0 ''", u"Mapping: 6 Data: 5 8"}));
  ProfileReadResult read = ReadProfileText(in, lists, {}, false, nullptr);
  ASSERT_EQ(read.entry, work);
  EXPECT_FALSE(read.created);
  EXPECT_EQ(work->bCreated, 0);
  EXPECT_EQ(work->bModified, 1);
  EXPECT_EQ(*work->pDpiStages, stages);
  EXPECT_EQ(*work->pMappings, slots);
  EXPECT_EQ(work->ulLedFlags, kLedChargingDock);
  EXPECT_EQ(work->szExecutable, u"game.exe");
  EXPECT_EQ(work->bAutoLoad, 1);
  EXPECT_EQ(work->bOtfsOsd, 1);
  EXPECT_EQ(work->bProfileOsd, 0);
  EXPECT_EQ(work->aszMacroNames[0], u"FromFile");
  EXPECT_EQ(work->aszTargetProfileNames[1], u"Game");  // the device's target wins over the file's
  EXPECT_EQ(work->aszMacroNames[2], u"Combo");
  EXPECT_EQ(work->aszTargetProfileNames[4], u"Named");
  EXPECT_EQ(work->aszTargetProfileNames[7], u"");      // no profile named by a DPI stage
  for (size_t i : {3u, 5u, 6u, 8u}) {
    EXPECT_EQ(work->aszMacroNames[i], u"");
    EXPECT_EQ(work->aszTargetProfileNames[i], u"");
  }
}

TEST_F(ProfileTextTest, UnknownProfileIsIgnoredWithoutImportAndCreatedWithIt) {
  const std::u16string text = ProfileBlock(u"Stranger", u"x.exe", {u"Mapping: 1 Data: 5 'Work'"});
  TextReader in = Reader(text);
  EXPECT_EQ(ReadProfileText(in, lists, {}, false, nullptr).entry, nullptr);
  ProfileReadResult imported = ReadProfileText(in, lists, {}, true, nullptr);
  ASSERT_TRUE(imported.created);
  EXPECT_EQ(imported.entry->szName, u"Stranger");
  EXPECT_EQ(imported.entry->lNumber, 3);  // third entry made for the list
  EXPECT_EQ(lists.profiles.size(), 2u);  // the caller adds it
  EXPECT_EQ(SlotOf(*imported.entry, 0), (MappingWords{1, kDevice, 0, {5, 0, 0}}));
  EXPECT_EQ(imported.entry->aszTargetProfileNames[0], u"Work");
  EXPECT_EQ(imported.entry->pDpiStages->ulTotalStages, 3u);
  EXPECT_EQ(imported.entry->ulLedFlags, kLedScrollWheel | kLedLogo);

  game->bMarkedForDelete = 1;
  TextReader again = Reader(ProfileBlock(u"Game", u"", {}));
  ProfileReadResult replaced = ReadProfileText(again, lists, {}, true, nullptr);
  ASSERT_TRUE(replaced.created);
  EXPECT_NE(replaced.entry, game);
}

TEST_F(ProfileTextTest, ImportSetsLedBitsAndNeverClearsThem) {
  std::u16string text = ProfileBlock(u"Work", u"", {});
  work->ulLedFlags = kLedChargingDock;
  TextReader in = Reader(text);
  ReadProfileText(in, lists, {}, true, nullptr);
  EXPECT_EQ(work->ulLedFlags, kLedScrollWheel | kLedLogo | kLedChargingDock);
  const size_t at = text.find(u"LEDState: 2");
  text.replace(at, 11, u"LEDState: 0");
  work->ulLedFlags = kLedLogo;
  TextReader zero = Reader(text);
  ReadProfileText(zero, lists, {}, true, nullptr);
  EXPECT_EQ(work->ulLedFlags, kLedScrollWheel | kLedLogo);
}

TEST_F(ProfileTextTest, ImportReplacesRecognisedSlotsAndZeroesTheOthers) {
  TextReader in = Reader(ProfileBlock(u"Work", u"", {u"Mapping: 6 Data: 5 2", u"Invalid Mapping!", u"Mapping: 0 Data: 0 ''",
                                                     u"Mapping: 3 Data: 1", u"Mapping: 2 Data: 0 'Combo'",
                                                     u"Mapping: 9 Data: 9 9"}));
  ReadProfileText(in, lists, {}, true, nullptr);
  EXPECT_EQ(SlotOf(*work, 0), (MappingWords{1, kButtons, 5, {2, 0, 0}}));
  for (size_t i : {1u, 2u, 3u, 5u}) EXPECT_EQ(SlotOf(*work, i), MappingWords{}) << i;
  EXPECT_EQ(SlotOf(*work, 4), (MappingWords{4, kMacro, 0, {0, 0, 0}}));
  EXPECT_EQ(work->aszMacroNames[4], u"Combo");
  EXPECT_EQ(SlotOf(*work, 6).mappingType, kButtons);  // no section: left as it was
}

TEST_F(ProfileTextTest, CountsNamesAndNumbersBeyondTheRecordAreCutOrRefused) {
  std::u16string text = CrLfLines({u"[FILEVERSION]", u"1.03", u"[SUPPORTEDDEVICE]", u"Quillfern", u"[DATATYPE]",
                                   u"Profile", u"[PROFILENAME]", u"'Work'", u"[DPISTAGES]", u"NoofStages: 7",
                                   u"[DEFAULTSTAGE]", u"Stage: 9", u"[CURRENTSTAGE]", u"Stage: -1"});
  for (int i = 0; i < 7; ++i)
    text += CrLfLines({u"[DPISTAGE" + DecimalText(i) + u"]", u"X-Sense: " + DecimalText(1000 + i) + u" Y-Sense: 900"});
  text += CrLfLines({u"[LEDSCROLLWHEEL]", u"LEDState: 1", u"[LEDBATTERYINDICATOR]", u"LEDState: 0",
                     u"[LEDCHARGINGDOCK]", u"LEDState: 0"});
  text += CrLfLines({u"[EXECUTABLE]", std::u16string(258, u'e'), u"[AUTOLOAD]", u"99999999999", u"[OTFSOSD]", u"1",
                     u"[PROFILEOSD]", u"-5", u"[BUTTONMAPPING0]", u"Mapping: 1 Data: 5 '" + std::u16string(40, u't') + u"'",
                     u"[BUTTONMAPPING1]", u"Mapping: 2 Data: 0 '", u"[BUTTONMAPPING2]", u"Mapping: 1 Data: 5 ''",
                     u"[BUTTONMAPPING3]", u"Mapping: 2 Data: 0 no quotes"});
  work->bAutoLoad = 1;
  TextReader in = Reader(text);
  ReadProfileText(in, lists, {}, true, nullptr);
  EXPECT_EQ(work->pDpiStages->ulTotalStages, 5u);
  EXPECT_EQ(work->pDpiStages->Sensitivity[4].ulXSensitivity, 1004u);
  EXPECT_EQ(work->pDpiStages->lDefaultStage, 1);  // 9 and -1 are no stage numbers: kept
  EXPECT_EQ(work->pDpiStages->lCurrentStage, 1);
  EXPECT_EQ(work->szExecutable.size(), 258u);
  EXPECT_EQ(work->bAutoLoad, 1);  // too big for 32 bits: kept
  EXPECT_EQ(work->bOtfsOsd, 1);
  EXPECT_EQ(work->bProfileOsd, -5);
  EXPECT_EQ(work->aszTargetProfileNames[0], std::u16string(20, u't'));
  EXPECT_EQ(work->aszMacroNames[1], u"");  // a lone apostrophe
  EXPECT_EQ(work->aszTargetProfileNames[2], u"");
  EXPECT_EQ(work->aszMacroNames[3], u"");
  EXPECT_EQ(SlotOf(*work, 3).mappingType, kMacro);

  // The writer keeps within the record and the line limits.
  work->pDpiStages->ulTotalStages = 40;
  work->szName = std::u16string(259, u'n');
  game->szName = std::u16string(200, u'g');
  SlotOf(*work, 0) = {1, kDevice, 0, {5, 0, 3}};
  work->apTargetProfiles[0] = nullptr;
  const auto lines = Written(*work, lists);
  EXPECT_EQ(lines[7], u"'" + std::u16string(125, u'n') + u"'");
  EXPECT_EQ(lines[9], u"NoofStages: 5");
  EXPECT_EQ(std::count_if(lines.begin(), lines.end(), [](const std::u16string& l) { return l.starts_with(u"[DPISTAGE"); }), 6);
  for (const std::u16string& line : lines) EXPECT_LE(line.size(), kMaxTextLineUnits);
  const auto mapping = std::find(lines.begin(), lines.end(), u"[BUTTONMAPPING0]") + 1;
  EXPECT_EQ(mapping->size(), kValueLineUnits);
  EXPECT_EQ(mapping->back(), u'\'');
}

TEST_F(ProfileTextTest, MissingSectionMakesTheRestOfTheBlockUnreadable) {
  std::u16string text = ProfileBlock(u"Work", u"a.exe", {u"Mapping: 3 Data: 1 30"});
  text.replace(text.find(u"[AUTOLOAD]"), 10, u"[AUTOLOAX]");
  work->bOtfsOsd = 0;
  work->bProfileOsd = 1;
  TextReader in = Reader(text);
  ReadProfileText(in, lists, {}, true, nullptr);
  EXPECT_EQ(work->szExecutable, u"a.exe");
  EXPECT_EQ(work->bOtfsOsd, 0);
  EXPECT_EQ(work->bProfileOsd, 1);
  EXPECT_EQ(SlotOf(*work, 0).mappingType, kButtons);
}

TEST_F(ProfileTextTest, LastLineWithoutCrLfIsLost) {
  std::u16string text = ProfileBlock(u"Work", u"", {u"Mapping: 3 Data: 1 30", u"Mapping: 3 Data: 1 31"});
  text.resize(text.size() - 2);
  TextReader in = Reader(text);
  ReadProfileText(in, lists, {}, true, nullptr);
  EXPECT_EQ(SlotOf(*work, 0).info[0], 30);
  EXPECT_EQ(SlotOf(*work, 1).mappingType, kButtons);
}

TEST_F(ProfileTextTest, BlocksOfAnotherKindAreSkippedAndTheRequestedNameSelects) {
  std::u16string text = ProfileBlock(u"Work", u"old.exe", {});
  text.replace(text.find(u"1.03"), 4, u"1.02");
  text += ProfileBlock(u"Work", u"other.exe", {});
  text.replace(text.find(u"Quillfern", text.find(u"1.03")), 9, u"Mouse2000");
  text += CrLfLines({u"[FILEVERSION]", u"1.03", u"[SUPPORTEDDEVICE]", u"Quillfern", u"[DATATYPE]", u"Macro",
                     u"[MACRONAME]", u"'Work'", u"[MACROELEMENTS]", u"0"});
  TextReader none = Reader(text);
  EXPECT_EQ(ReadProfileText(none, lists, {}, true, nullptr).entry, nullptr);
  // With mappings, each block's sections are all there, so the search never runs into the next block.
  const std::initializer_list<std::u16string_view> nine = {u"Invalid Mapping!", u"Invalid Mapping!", u"Invalid Mapping!", u"Invalid Mapping!",
                                                           u"Invalid Mapping!", u"Invalid Mapping!", u"Invalid Mapping!", u"Invalid Mapping!",
                                                           u"Invalid Mapping!"};
  text += ProfileBlock(u"Game", u"game.exe", nine) + ProfileBlock(u"Work", u"work.exe", nine);
  TextReader in = Reader(text);
  EXPECT_EQ(ReadProfileText(in, lists, u"Work", false, nullptr).entry, work);
  EXPECT_EQ(work->szExecutable, u"work.exe");
  EXPECT_EQ(game->szExecutable, u"<none>");
  EXPECT_EQ(ReadProfileText(in, lists, {}, false, nullptr).entry, work);  // the last block read
  EXPECT_EQ(game->szExecutable, u"game.exe");
}

}  // namespace
}  // namespace quill
