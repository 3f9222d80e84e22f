// Real files: the std::filesystem seam, and what standard tools make of an exported file.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "middleware/storage/std_file_system.h"
#include "middleware/storage/storage_errors.h"
#include "middleware/storage/tests/exchange_fixture.h"

namespace quill::storage::testing {
namespace {

namespace fs = std::filesystem;

class RealFileTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    dir = fs::temp_directory_path() / ("storage_tests_" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) +
                                       "_" + ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::remove_all(dir);
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  std::u16string PathOf(const char* name) const { return (dir / name).u16string(); }
  std::vector<std::string> FilesInDir() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(dir)) names.push_back(entry.path().filename().string());
    return names;
  }

#ifndef _WIN32
  // Runs a shell command; its exit status and standard output.
  int Run(const std::string& command, std::string& output) const {
    const fs::path out = dir / "tool_output";
    const int status = std::system((command + " >" + out.string() + " 2>&1").c_str());
    std::ifstream in(out);
    std::stringstream text;
    text << in.rdbuf();
    output = text.str();
    fs::remove(out);
    return status;
  }

  bool HaveTool(const char* tool) const {
    std::string ignored;
    return Run(std::string("command -v ") + tool, ignored) == 0;
  }
#endif

  fs::path dir;
  StdFileSystem files;
};

TEST_F(RealFileTest, ReplacingLeavesOnlyTheTarget) {
  const std::u16string path = PathOf("out.xml");
  const std::vector<uint8_t> first{'a', 'b'}, second{'c'};
  ASSERT_EQ(files.ReplaceAll(path, first), kS_OK);
  ASSERT_EQ(files.ReplaceAll(path, second), kS_OK);
  std::vector<uint8_t> read;
  bool found = false;
  ASSERT_EQ(files.ReadAll(path, 100, read, found), kS_OK);
  EXPECT_TRUE(found);
  EXPECT_EQ(read, second);
  EXPECT_EQ(FilesInDir(), std::vector<std::string>{"out.xml"});
  EXPECT_EQ(files.ReadAll(path, 0, read, found), kE_FILE_TOO_LARGE);
}

TEST_F(RealFileTest, FailuresLeaveNothingBehind) {
  std::vector<uint8_t> read;
  bool found = true;
  ASSERT_EQ(files.ReadAll(PathOf("missing.xml"), 100, read, found), kS_OK);
  EXPECT_FALSE(found);
  fs::create_directory(dir / "sub");
  EXPECT_EQ(files.ReadAll(PathOf("sub"), 100, read, found), kE_HANDLE);
  const std::vector<uint8_t> bytes{'x'};
  EXPECT_TRUE(Failed(files.ReplaceAll(PathOf("sub"), bytes)));  // a directory stands there
  EXPECT_EQ(files.ReplaceAll(PathOf("no-such-dir/out.xml"), bytes), kE_HANDLE);
  EXPECT_EQ(FilesInDir(), std::vector<std::string>{"sub"});
  EXPECT_TRUE(fs::is_empty(dir / "sub"));
}

// The host's tools on files this engine writes. The Windows build's files are checked the same
// way by the client's script test, which runs the registered middleware under Wine.
#ifndef _WIN32
TEST_F(RealFileTest, ExportedFilesAreWellFormedAndInTheirEncoding) {
  for (const char* tool : {"xmllint", "file", "iconv"})
    ASSERT_TRUE(HaveTool(tool)) << tool << " is missing (scripts/setup.sh installs it)";
  StoreSampleSet();
  ASSERT_EQ(macros().Save(u"Gr\u00FC\u00DFe \U0001F600", SampleMacro(1)), kS_OK);
  StoreExchange exchange(*machine, files, std::u16string(kDevice));
  const std::u16string utf8 = PathOf("utf8.xml");
  ASSERT_EQ(exchange.ExportAllProfileGroups(utf8), kS_OK);
  ASSERT_EQ(exchange.ExportAllSpellBooks(utf8), kS_OK);
  ASSERT_EQ(exchange.ExportAllMacros(utf8), kS_OK);
  ASSERT_EQ(exchange.ExportAllUserActions(utf8), kS_OK);
  const std::string utf8_path = fs::path(utf8).string();
  std::string output;
  EXPECT_EQ(Run("xmllint --noout '" + utf8_path + "'", output), 0) << output;
  ASSERT_EQ(Run("file -b '" + utf8_path + "'", output), 0);
  EXPECT_NE(output.find("UTF-8 (with BOM)"), std::string::npos) << output;
  EXPECT_NE(output.find("CRLF"), std::string::npos) << output;
  EXPECT_EQ(Run("iconv -f UTF-8 -t UTF-16LE '" + utf8_path + "'", output), 0);

  const std::u16string utf16 = PathOf("utf16.xml");
  const std::vector<uint8_t> seed = Utf16LeBytes(u"\uFEFF<?xml version=\"1.0\" encoding=\"utf-16\" ?>\r\n\r\n");
  std::ofstream(fs::path(utf16), std::ios::binary).write(reinterpret_cast<const char*>(seed.data()), seed.size());
  ASSERT_EQ(exchange.ExportAllMacros(utf16), kS_OK);
  const std::string utf16_path = fs::path(utf16).string();
  ASSERT_EQ(Run("file -b '" + utf16_path + "'", output), 0);
  EXPECT_NE(output.find("UTF-16, little-endian"), std::string::npos) << output;
  EXPECT_EQ(Run("iconv -f UTF-16 -t UTF-8 '" + utf16_path + "'", output), 0);
  EXPECT_NE(output.find("Gr\u00FC\u00DFe \U0001F600"), std::string::npos);
  EXPECT_EQ(Run("xmllint --noout '" + utf16_path + "'", output), 0) << output;
}
#endif

}  // namespace
}  // namespace quill::storage::testing
