#include "common/exchange_files.h"

#include <gtest/gtest.h>

#include "common/tests/text_fixture.h"
#include "common/utf16.h"

namespace quill {
namespace {

using buttons::MappingWords;
using testing::AddDeviceProfile;
using testing::AddMacro;

const std::u16string kPath = u"C:\\Exchange\\mine.txp";

TEST(ExchangeFiles, DialogFilters) {
  EXPECT_EQ(ExchangeFilter(kProfileExchangeDescription, kProfileExchangeExtension),
            std::u16string(u"Torvo Exchange Profile File (*.txp)\0*.txp\0\0", 43));
  EXPECT_EQ(ExchangeFilter(u"Makro (*.txm)", kMacroExchangeExtension), std::u16string(u"Makro (*.txm)\0*.txm\0\0", 21));
}

TEST(ExchangeFiles, ProfileWithItsMacrosTravelsToAnotherInstallation) {
  MemoryFileSystem fs;
  EntryLists source;
  ProfileEntry& work = AddDeviceProfile(source, u"Work", 1);
  ProfileEntry& game = AddDeviceProfile(source, u"Game", 2);
  MacroEntry& combo = AddMacro(source, u"Combo", 3, 4);
  MacroEntry& other = AddMacro(source, u"Other", 4, 1);
  (*game.pMappings)[0] = {1, buttons::BUTTON_MAPPING_DEVICE_ACTION, 0, {5, 0, 1}};
  (*game.pMappings)[1] = {2, buttons::BUTTON_MAPPING_MACRO, 5, {3, 1, 0}};
  (*game.pMappings)[2] = {3, buttons::BUTTON_MAPPING_MACRO, 5, {3, 1, 0}};  // the same macro twice
  (*game.pMappings)[4] = {5, buttons::BUTTON_MAPPING_MACRO, 5, {4, 1, 0}};  // file index 3
  game.szExecutable = u"game.exe";
  ASSERT_TRUE(ExportExchangeFile(fs, kPath, &game, nullptr, source));

  EntryLists target;
  ProfileEntry& targetWork = AddDeviceProfile(target, u"Work", 9);
  MacroEntry& oldOther = AddMacro(target, u"Other", 5, 7);
  ProfileImport imported = ImportProfileFile(fs, kPath, target, nullptr);
  ASSERT_TRUE(imported.profile);
  EXPECT_TRUE(imported.profileCreated);
  EXPECT_EQ(target.profiles.size(), 2u);
  EXPECT_EQ(target.profiles.At(1), imported.profile);
  ProfileEntry& copy = *imported.profile;
  EXPECT_EQ(copy.szExecutable, u"game.exe");
  EXPECT_EQ(copy.apTargetProfiles[0], &targetWork);
  EXPECT_EQ((*copy.pMappings)[0], (MappingWords{1, buttons::BUTTON_MAPPING_DEVICE_ACTION, 0, {5, 0, 0}}));
  ASSERT_EQ(imported.createdMacros.size(), 1u);  // Combo, once for both buttons
  MacroEntry* newCombo = imported.createdMacros[0];
  EXPECT_EQ(copy.apMacros[1], newCombo);
  EXPECT_EQ(copy.apMacros[2], newCombo);
  EXPECT_EQ(newCombo->events.ausCodes, combo.events.ausCodes);
  EXPECT_EQ(newCombo->bModified, 1);
  EXPECT_EQ(copy.apMacros[3], &oldOther);  // an existing macro of that name takes the file's events
  EXPECT_EQ(oldOther.events.lNumElements, other.events.lNumElements);
  EXPECT_EQ(oldOther.bModified, 1);
  EXPECT_EQ(target.macros.size(), 2u);
  (void)work;
}

TEST(ExchangeFiles, MacroFileImportsIntoANewMacro) {
  MemoryFileSystem fs;
  EntryLists lists;
  MacroEntry& m = AddMacro(lists, u"Mine", 1, 5);
  ASSERT_TRUE(ExportExchangeFile(fs, u"m.txm", nullptr, &m, lists));
  MacroImport imported = ImportMacroFile(fs, u"m.txm", lists.macros);
  ASSERT_TRUE(imported.created);
  EXPECT_NE(imported.macro, &m);
  EXPECT_EQ(imported.macro->szName, u"Mine");
  EXPECT_EQ(imported.macro->events.alTimes, m.events.alTimes);
  EXPECT_EQ(lists.macros.size(), 2u);
}

TEST(ExchangeFiles, MissingFilesAndFilesWithoutAMatchingBlockChangeNothing) {
  MemoryFileSystem fs;
  EntryLists lists;
  AddDeviceProfile(lists, u"Work", 1);
  EXPECT_FALSE(ImportProfileFile(fs, u"none.txp", lists, nullptr).profile);
  EXPECT_FALSE(ImportMacroFile(fs, u"none.txm", lists.macros).macro);
  fs.files[u"macro.txm"] = testing::Bytes(testing::CrLfLines({u"[FILEVERSION]", u"1.03"}));
  EXPECT_FALSE(ImportProfileFile(fs, u"macro.txm", lists, nullptr).profile);
  EXPECT_EQ(lists.profiles.size(), 1u);
  fs.unwritable.insert(u"ro.txp");
  EXPECT_FALSE(ExportExchangeFile(fs, u"ro.txp", lists.profiles.At(0), nullptr, lists));
}

}  // namespace
}  // namespace quill
