#include "common/dat_files.h"

#include <gtest/gtest.h>

#include "common/profile_text.h"
#include "common/tests/text_fixture.h"
#include "common/utf16.h"

namespace quill {
namespace {

using testing::AddDeviceProfile;
using testing::AddMacro;
using testing::Bytes;
using testing::ProfileBlock;

const std::u16string kFolder = u"C:\\Users\\me\\AppData\\Roaming";

class DatFilesTest : public ::testing::Test {
 protected:
  void Put(size_t n, std::u16string_view name, std::u16string_view executable,
           std::initializer_list<std::u16string_view> mappings = {}) {
    fs.files[DatFilePath(kFolder, n)] = Bytes(ProfileBlock(name, executable, mappings));
  }
  void AddProfiles(size_t n) {
    for (size_t i = 0; i < n; ++i) AddDeviceProfile(lists, u"P" + DecimalText(static_cast<int64_t>(i)), int32_t(i + 1));
  }
  ProfileEntry& P(size_t i) { return *lists.profiles.At(i); }

  MemoryFileSystem fs;
  EntryLists lists;
};

TEST_F(DatFilesTest, FileNames) {
  EXPECT_EQ(DatFilePath(kFolder, 0), kFolder + u"\\QuillfernProfile0.dat");
  EXPECT_EQ(DatFilePath(u"D:", 12), u"D:\\QuillfernProfile12.dat");
}

TEST_F(DatFilesTest, GapsUpToPositionFiveAreSkippedLaterGapsEndTheReading) {
  AddProfiles(10);
  Put(0, u"P0", u"zero.exe");
  Put(3, u"P3", u"three.exe");
  Put(9, u"P9", u"nine.exe");  // after a gap at 6
  LoadProfileFiles(fs, kFolder, lists, nullptr);
  EXPECT_EQ(P(0).szExecutable, u"zero.exe");
  EXPECT_EQ(P(3).szExecutable, u"three.exe");
  EXPECT_EQ(P(9).szExecutable, u"<none>");
  EXPECT_EQ(P(1).bModified, 0);
}

TEST_F(DatFilesTest, FilesPastTheLastProfileAreNotRead) {
  AddProfiles(3);
  Put(1, u"P1", u"current.exe");
  Put(3, u"P1", u"stale.exe");  // left by an earlier list of four profiles
  LoadProfileFiles(fs, kFolder, lists, nullptr);
  EXPECT_EQ(P(1).szExecutable, u"current.exe");
}

TEST_F(DatFilesTest, ButtonNamesResolveToEntriesAndUnknownProfilesAreIgnored) {
  AddProfiles(2);
  MacroEntry& combo = AddMacro(lists, u"Combo", 7, 2);
  Put(0, u"P0", u"a.exe", {u"Mapping: 2 Data: 0 'Combo'", u"Mapping: 1 Data: 5 'P1'", u"Mapping: 2 Data: 0 'Gone'"});
  Put(1, u"Unknown", u"b.exe");
  LoadProfileFiles(fs, kFolder, lists, nullptr);
  EXPECT_EQ(P(0).apMacros[0], &combo);
  EXPECT_EQ(P(0).apTargetProfiles[1], &P(1));
  EXPECT_EQ(P(0).apMacros[2], nullptr);
  EXPECT_EQ(P(0).aszMacroNames[2], u"Gone");
  EXPECT_EQ(P(1).szExecutable, u"<none>");
  EXPECT_EQ(lists.profiles.size(), 2u);
}

TEST_F(DatFilesTest, AProfileMarkedForDeletionIsNotBroughtBack) {
  AddProfiles(2);
  P(1).bMarkedForDelete = 1;
  Put(0, u"P1", u"x.exe");
  LoadProfileFiles(fs, kFolder, lists, nullptr);
  EXPECT_EQ(P(1).szExecutable, u"<none>");
  EXPECT_EQ(lists.profiles.size(), 2u);
}

TEST_F(DatFilesTest, SaveWritesEveryPositionReplacesContentAndRemovesStaleFiles) {
  AddProfiles(2);
  P(0).szExecutable = u"game.exe";
  for (size_t n : {0u, 1u, 2u, 3u, 5u}) fs.files[DatFilePath(kFolder, n)] = std::string(100000, 'x');
  fs.files[DatFilePath(kFolder, 7)] = "after a gap";
  EXPECT_EQ(SaveProfileFiles(fs, kFolder, lists), 2u);
  ASSERT_TRUE(fs.FileExists(DatFilePath(kFolder, 0)));
  EXPECT_LT(fs.files[DatFilePath(kFolder, 0)].size(), 100000u);
  for (size_t n : {2u, 3u, 5u}) EXPECT_FALSE(fs.FileExists(DatFilePath(kFolder, n))) << n;
  EXPECT_TRUE(fs.FileExists(DatFilePath(kFolder, 7)));  // beyond the gap at 6: never read either

  const std::u16string text = DecodeUtf16Le(fs.files[DatFilePath(kFolder, 0)]);
  EXPECT_NE(text.find(u"[PROFILENAME]\r\n'P0'\r\n"), std::u16string::npos);
  EXPECT_NE(text.find(u"[EXECUTABLE]\r\ngame.exe\r\n"), std::u16string::npos);

  // Read back by a fresh program: the application-side settings come back.
  EntryLists fresh;
  AddDeviceProfile(fresh, u"P0", 1);
  AddDeviceProfile(fresh, u"P1", 2);
  LoadProfileFiles(fs, kFolder, fresh, nullptr);
  EXPECT_EQ(fresh.profiles.At(0)->szExecutable, u"game.exe");
}

TEST_F(DatFilesTest, AFileThatCannotBeWrittenIsSkipped) {
  AddProfiles(2);
  fs.unwritable.insert(DatFilePath(kFolder, 0));
  EXPECT_EQ(SaveProfileFiles(fs, kFolder, lists), 1u);
  EXPECT_TRUE(fs.FileExists(DatFilePath(kFolder, 1)));
}

}  // namespace
}  // namespace quill
