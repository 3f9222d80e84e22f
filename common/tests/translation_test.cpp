#include "common/translation.h"

#include <gtest/gtest.h>

#include <thread>

#include "common/tests/text_fixture.h"
#include "common/translation_file.h"
#include "common/utf16.h"

namespace quill {
namespace {

using testing::Bytes;
using testing::CrLfLines;

const std::u16string kFolder = u"C:\\Program Files\\Torvo\\";
const std::u16string kPath = kFolder + u"German.txt";

class TranslateTest : public ::testing::Test {
 protected:
  void Use(uint32_t mode) { translator.SetSource({kFolder, u"German.txt", mode}); }
  std::u16string FileText() { return DecodeUtf16Le(fs.files[kPath]); }

  MemoryFileSystem fs;
  Translator translator{fs};
};

TEST_F(TranslateTest, FindsEveryPairOfTheFileIncludingTheLast) {
  fs.files[kPath] = Bytes(CrLfLines({u"Cancel", u"Abbrechen", u"Yes", u"Ja"}));
  Use(kTranslationNormal);
  EXPECT_EQ(translator.Translate(u"Cancel", true), u"Abbrechen");
  EXPECT_EQ(translator.Translate(u"Yes"), u"Ja");
  EXPECT_EQ(translator.Translate(u"No"), u"No");
  EXPECT_EQ(translator.Translate(u"cancel"), u"cancel");  // case-sensitive
}

TEST_F(TranslateTest, LastPairWithoutCrLfAndOddLastLine) {
  fs.files[kPath] = Bytes(u"Yes\r\nJa\r\nNo\r\nNein");
  Use(kTranslationNormal);
  EXPECT_EQ(translator.Translate(u"No"), u"Nein");
  fs.files[kPath] = Bytes(CrLfLines({u"Yes", u"Ja", u"No"}));
  EXPECT_EQ(translator.Translate(u"No", true), u"No");
  EXPECT_EQ(translator.EntryCount(), 2u);  // Yes/Ja and the lookup of No
}

TEST_F(TranslateTest, StandInCharactersAndLongTexts) {
  const std::u16string longSource(5000, u's');
  const std::u16string longTranslation(6000, u't');
  fs.files[kPath] = Bytes(CrLfLines({u"Two|Words", u"Zwei|W\x00F6rter", u"Star^*", u"Stern^*", longSource, longTranslation}));
  Use(kTranslationNormal);
  EXPECT_EQ(translator.Translate(u"Two\nWords"), u"Zwei\nW\x00F6rter");
  EXPECT_EQ(translator.Translate(u"Two|Words"), u"Two|Words");
  EXPECT_EQ(translator.Translate(u"Star*\r"), u"Stern*\r");
  EXPECT_EQ(translator.Translate(longSource), longTranslation);
  EXPECT_EQ(EscapeTranslationLine(u"a\nb*c\rd"), u"a|b^c*d");
  EXPECT_EQ(UnescapeTranslationLine(EscapeTranslationLine(u"a\nb*c\rd")), u"a\nb*c\rd");
}

TEST_F(TranslateTest, TextsShorterThanTwoAndMissingSettingsAreNotLookedUp) {
  fs.files[kPath] = Bytes(CrLfLines({u"X", u"Iks"}));
  Use(kTranslationNormal);
  EXPECT_EQ(translator.Translate(u"X"), u"X");
  EXPECT_EQ(fs.reads, 0);
  translator.SetSource({u"", u"German.txt", kTranslationRecording});
  EXPECT_EQ(translator.Translate(u"Cancel", true), u"Cancel");
  translator.SetSource({kFolder, u"", kTranslationRecording});
  EXPECT_EQ(translator.Translate(u"Cancel", true), u"Cancel");
  EXPECT_EQ(fs.reads, 0);
  EXPECT_TRUE(fs.files.size() == 1);
}

TEST_F(TranslateTest, PlaceholderShowsEnglishInModeZeroAndItselfWhileRecording) {
  fs.files[kPath] = Bytes(CrLfLines({u"Apply", u"[7] NOT TRANSLATED YET"}));
  Use(kTranslationNormal);
  EXPECT_EQ(translator.Translate(u"Apply"), u"Apply");
  Use(kTranslationRecording);
  EXPECT_EQ(translator.Translate(u"Apply", true), u"[7] NOT TRANSLATED YET");
}

TEST_F(TranslateTest, RecordingAppendsTwoLinesAndFindsTheNewEntry) {
  fs.files[kPath] = Bytes(CrLfLines({u"Yes", u"Ja"}));
  Use(kTranslationRecording);
  EXPECT_EQ(translator.Translate(u"Open\nfile*", true), u"[0] NOT TRANSLATED YET\n");
  EXPECT_EQ(FileText(), CrLfLines({u"Yes", u"Ja", u"Open|file^", u"[0] NOT TRANSLATED YET\n"}));
  EXPECT_EQ(translator.Translate(u"Open\nfile*"), u"[0] NOT TRANSLATED YET\n");
  EXPECT_EQ(translator.Translate(u"Close"), u"[1] NOT TRANSLATED YET\n");
  EXPECT_EQ(testing::SplitLines(FileText()).size(), 6u);
  // Read back, the pairs are the recorded ones (the line feed of the placeholder is dropped).
  EXPECT_EQ(translator.Translate(u"Close", true), u"[1] NOT TRANSLATED YET");
  EXPECT_EQ(translator.Translate(u"Yes"), u"Ja");
}

TEST_F(TranslateTest, RecordingIntoAMissingFileOrOneWithoutFinalCrLf) {
  Use(kTranslationRecording);
  EXPECT_EQ(translator.Translate(u"Save"), u"[0] NOT TRANSLATED YET\n");
  EXPECT_EQ(FileText(), CrLfLines({u"Save", u"[0] NOT TRANSLATED YET\n"}));
  EXPECT_EQ(translator.Translate(u"Save"), u"[0] NOT TRANSLATED YET");  // loaded from the new file

  MemoryFileSystem other;
  other.files[kPath] = Bytes(u"Yes\r\nJa");
  Translator recorder(other);
  recorder.SetSource({kFolder, u"German.txt", kTranslationRecording});
  recorder.Translate(u"Save");
  EXPECT_EQ(DecodeUtf16Le(other.files[kPath]), CrLfLines({u"Yes", u"Ja", u"Save", u"[0] NOT TRANSLATED YET\n"}));
}

TEST_F(TranslateTest, ModeTwoReloadEmptiesTheFileAndKeepsTheTable) {
  fs.files[kPath] = Bytes(CrLfLines({u"Yes", u"Ja"}));
  Use(kTranslationRecording);
  EXPECT_EQ(translator.Translate(u"Yes"), u"Ja");
  Use(kTranslationRecordingFresh);
  EXPECT_EQ(translator.Translate(u"Yes", true), u"Ja");
  EXPECT_EQ(translator.Translate(u"No"), u"[0] NOT TRANSLATED YET\n");
  EXPECT_EQ(FileText(), CrLfLines({u"No", u"[0] NOT TRANSLATED YET\n"}));
}

TEST_F(TranslateTest, MissingFileShowsEnglishAndIsTriedAgain) {
  Use(kTranslationNormal);
  EXPECT_EQ(translator.Translate(u"Yes"), u"Yes");
  fs.files[kPath] = Bytes(CrLfLines({u"Yes", u"Ja"}));
  EXPECT_EQ(translator.Translate(u"Yes"), u"Ja");
  const int reads = fs.reads;
  translator.Translate(u"No");
  EXPECT_EQ(fs.reads, reads);  // once loaded, lookups read nothing
}

TEST_F(TranslateTest, ResultsStayValidAcrossReloadAndClear) {
  fs.files[kPath] = Bytes(CrLfLines({u"Yes", u"Ja", u"No", u"Nein"}));
  Use(kTranslationNormal);
  const std::u16string* ja = &translator.Translate(u"Yes");
  const std::u16string* english = &translator.Translate(u"Maybe");
  const char16_t* jaText = ja->c_str();
  fs.files[kPath] = Bytes(CrLfLines({u"Yes", u"Jawohl"}));
  EXPECT_EQ(translator.Translate(u"Yes", true), u"Jawohl");
  translator.Clear();
  EXPECT_EQ(translator.EntryCount(), 0u);
  for (int i = 0; i < 2000; ++i) translator.Translate(u"Text " + DecimalText(i));  // grows the pool
  EXPECT_EQ(*ja, u"Ja");
  EXPECT_EQ(ja->c_str(), jaText);
  EXPECT_EQ(*english, u"Maybe");
  EXPECT_EQ(&translator.Translate(u"Maybe"), english);  // a text is kept once
}

TEST_F(TranslateTest, UnknownModeActsAsNormal) {
  fs.files[kPath] = Bytes(CrLfLines({u"Apply", u"[3] NOT TRANSLATED YET"}));
  Use(9);
  EXPECT_EQ(translator.Translate(u"Apply"), u"Apply");
  EXPECT_EQ(translator.Translate(u"Other"), u"Other");
  EXPECT_EQ(FileText(), CrLfLines({u"Apply", u"[3] NOT TRANSLATED YET"}));
}

TEST_F(TranslateTest, FolderWithoutClosingBackslashStillFindsTheFile) {
  fs.files[u"C:\\Torvo\\German.txt"] = Bytes(CrLfLines({u"Yes", u"Ja"}));
  translator.SetSource({u"C:\\Torvo", u"German.txt", kTranslationNormal});
  EXPECT_EQ(translator.Translate(u"Yes"), u"Ja");
  EXPECT_EQ(TranslationFilePath({u"C:\\Torvo\\", u"a.txt", 0}), u"C:\\Torvo\\a.txt");
}

TEST_F(TranslateTest, LookupsFromSeveralThreads) {
  fs.files[kPath] = Bytes(CrLfLines({u"Yes", u"Ja"}));
  Use(kTranslationNormal);
  std::vector<std::thread> threads;
  for (int t = 0; t < 4; ++t)
    threads.emplace_back([&, t] {
      for (int i = 0; i < 200; ++i) {
        EXPECT_EQ(translator.Translate(u"Yes"), u"Ja");
        translator.Translate(DecimalText(10000 + t * 1000 + i));
      }
    });
  for (auto& th : threads) th.join();
  EXPECT_EQ(translator.UntranslatedCount(), 800u);
}

}  // namespace
}  // namespace quill
