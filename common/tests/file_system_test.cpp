#include "common/file_system.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "common/profile_records.h"
#include "common/utf16.h"

namespace quill {
namespace {

class DiskFileSystemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = std::filesystem::temp_directory_path() /
          ("quill_common_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir);
    std::filesystem::create_directories(dir);
    folder = dir.u16string();
  }
  void TearDown() override { std::filesystem::remove_all(dir); }

  std::filesystem::path dir;
  std::u16string folder;
  DiskFileSystem fs;
};

TEST_F(DiskFileSystemTest, WritingOverALongerFileLeavesNoTail) {
  const std::u16string path = JoinPath(folder, u"QuillfernProfile0.dat");
  ASSERT_TRUE(fs.WriteFile(path, std::string(5000, 'x')));
  ASSERT_TRUE(fs.WriteFile(path, "short"));
  EXPECT_EQ(fs.ReadFile(path, kMaxTextFileBytes), std::optional<std::string>("short"));
  EXPECT_EQ(std::filesystem::file_size(dir / "QuillfernProfile0.dat"), 5u);
}

TEST_F(DiskFileSystemTest, AppendRemoveExistsAndReadLimits) {
  const std::u16string path = JoinPath(folder, u"German.txt");
  EXPECT_FALSE(fs.ReadFile(path, kMaxTextFileBytes));
  EXPECT_FALSE(fs.FileExists(path));
  ASSERT_TRUE(fs.AppendFile(path, "ab"));
  ASSERT_TRUE(fs.AppendFile(path, "cd"));
  EXPECT_EQ(fs.ReadFile(path, kMaxTextFileBytes), std::optional<std::string>("abcd"));
  EXPECT_FALSE(fs.ReadFile(path, 3));  // larger than allowed
  EXPECT_TRUE(fs.FileExists(path));
  EXPECT_TRUE(fs.RemoveFile(path));
  EXPECT_FALSE(fs.FileExists(path));
  EXPECT_TRUE(fs.RemoveFile(path));
  EXPECT_FALSE(fs.WriteFile(JoinPath(folder, u"missing\\sub\\x.dat"), "x"));
}

TEST_F(DiskFileSystemTest, NonAsciiNamesAndText) {
  const std::u16string path = JoinPath(folder, u"\x00DC" u"bersetzung.txt");
  TextWriter out;
  out.WritePair(u"Cancel", u"Abbrechen \x00E4");
  ASSERT_TRUE(SaveText(fs, path, out));
  auto in = OpenTextForReading(fs, path);
  ASSERT_TRUE(in);
  std::u16string line;
  in->ReadLine(line);
  in->ReadLine(line);
  EXPECT_EQ(line, u"Abbrechen \x00E4");
}

TEST(JoinPath, PutsOneSeparator) {
  EXPECT_EQ(JoinPath(u"C:\\A\\", u"b"), u"C:\\A\\b");
  EXPECT_EQ(JoinPath(u"C:\\A", u"b"), u"C:\\A\\b");
  EXPECT_EQ(JoinPath(u"/tmp/", u"b"), u"/tmp/b");
  EXPECT_EQ(JoinPath(u"", u"b"), u"b");
}

}  // namespace
}  // namespace quill
