#include "common/install_settings.h"

#include <gtest/gtest.h>

namespace quill {
namespace {

void AddRow(MemorySettingsKey& key, size_t i, bool withFonts = true) {
  key.strings[IndexedValueName(u"Language", i)] = u"Lang" + IndexedValueName(u"", i);
  key.strings[IndexedValueName(u"TranslationFile", i)] = u"file" + IndexedValueName(u"", i) + u".txt";
  if (!withFonts) return;
  key.strings[IndexedValueName(u"TranslationDefaultFont", i)] = u"Tahoma";
  key.strings[IndexedValueName(u"TranslationFont", i)] = u"";
}

TEST(InstallSettings, ConfiguratorReadsCompleteRowsUpToTheFirstGap) {
  MemorySettingsKey key;
  key.strings[u"InstallDir"] = u"C:\\Torvo\\";
  key.dwords[u"Translation"] = 2;
  key.dwords[u"TranslationMode"] = 1;
  for (size_t i = 0; i < 4; ++i) AddRow(key, i);
  AddRow(key, 5);
  key.strings[u"Language4"] = u"Missing files";  // row 4 incomplete
  InstallSettings s;
  ReadInstallSettings(&key, s);
  EXPECT_EQ(s.installFolder, u"C:\\Torvo\\");
  EXPECT_EQ(s.highestLanguageIndex, 3);
  ASSERT_EQ(s.languages.size(), 4u);
  const TranslationSource source = s.Translation();
  EXPECT_EQ(source.fileName, u"file2.txt");
  EXPECT_EQ(source.mode, 1u);
  EXPECT_EQ(s.DefaultFontFace(), u"Tahoma");
  EXPECT_EQ(s.FontFace(), u"Arial");  // empty face falls back to the default
}

TEST(InstallSettings, ConfiguratorTableHoldsAtMost51Rows) {
  MemorySettingsKey key;
  for (size_t i = 0; i < 60; ++i) AddRow(key, i);
  InstallSettings s;
  ReadInstallSettings(&key, s);
  EXPECT_EQ(s.highestLanguageIndex, 50);
  InstallSettings tray;
  ReadTraySettings(&key, tray);
  EXPECT_EQ(tray.highestLanguageIndex, 49);
}

TEST(InstallSettings, TrayCountsARowWithoutFileAndEndsThere) {
  MemorySettingsKey key;
  key.dwords[u"TranslationMode"] = 1;
  AddRow(key, 0, false);
  key.strings[u"Language1"] = u"Nameless";
  AddRow(key, 2, false);
  InstallSettings s;
  ReadTraySettings(&key, s);
  EXPECT_EQ(s.highestLanguageIndex, 1);
  EXPECT_EQ(s.languages[1].file, u"");
  EXPECT_EQ(s.translationMode, 0u);  // the tray never records
}

TEST(InstallSettings, MissingKeyOrValuesKeepThePreviousSettings) {
  InstallSettings s;
  s.installFolder = u"D:\\Old\\";
  s.currentLanguage = 1;
  ReadInstallSettings(nullptr, s);
  ReadTraySettings(nullptr, s);
  EXPECT_EQ(s.installFolder, u"D:\\Old\\");
  MemorySettingsKey empty;
  ReadInstallSettings(&empty, s);
  EXPECT_EQ(s.installFolder, u"D:\\Old\\");
  EXPECT_EQ(s.currentLanguage, 1u);
  EXPECT_EQ(s.highestLanguageIndex, -1);
  EXPECT_EQ(s.Translation().fileName, u"");  // no row for the language: Translate shows English
  EXPECT_EQ(s.FontFace(), u"Arial");
}

TEST(InstallSettings, OverlongValuesAreRefusedAndEmbeddedTerminatorsEndAValue) {
  MemorySettingsKey key;
  key.strings[u"InstallDir"] = std::u16string(260, u'x');
  AddRow(key, 0);
  key.strings[u"TranslationFile0"] = std::u16string(259, u'f');
  AddRow(key, 1);
  key.strings[u"Language1"] = std::u16string(300, u'n');
  InstallSettings s;
  ReadInstallSettings(&key, s);
  EXPECT_EQ(s.installFolder, u"");
  EXPECT_EQ(s.highestLanguageIndex, 0);  // row 1's name is too long: the table ends there
  EXPECT_EQ(s.languages[0].file.size(), 259u);

  key.strings[u"InstallDir"] = std::u16string(u"C:\\T\\\0garbage", 13);
  ReadInstallSettings(&key, s);
  EXPECT_EQ(s.installFolder, u"C:\\T\\");
}

TEST(InstallSettings, LanguageIndexOutsideTheTableGivesNoFile) {
  MemorySettingsKey key;
  AddRow(key, 0);
  key.dwords[u"Translation"] = 0xFFFFFFFFu;
  InstallSettings s;
  ReadInstallSettings(&key, s);
  EXPECT_EQ(s.CurrentLanguage(), nullptr);
  EXPECT_EQ(s.Translation().fileName, u"");
}

TEST(InstallSettings, WriteLanguageRereadsTheFolderAndStoresTheLanguage) {
  MemorySettingsKey key;
  key.strings[u"InstallDir"] = u"E:\\New\\";
  InstallSettings s;
  s.currentLanguage = 3;
  EXPECT_TRUE(WriteLanguage(&key, s));
  EXPECT_EQ(key.dwords[u"Translation"], 3u);
  EXPECT_EQ(s.installFolder, u"E:\\New\\");
  EXPECT_FALSE(WriteLanguage(nullptr, s));
}

}  // namespace
}  // namespace quill
