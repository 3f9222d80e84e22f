#include "common/win/registry_settings.h"

#include <aclapi.h>
#include <gtest/gtest.h>

#include "common/dat_files.h"
#include "common/file_system.h"
#include "common/profile_records.h"

namespace quill::win {
namespace {

const std::u16string kTestKey = u"Software\\Torvo\\Quill common tests";

class RegistrySettingsTest : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, W(kTestKey)); }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, W(kTestKey)); }
  static const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
  void SetString(const wchar_t* name, const std::wstring& value) {
    ASSERT_EQ(RegSetKeyValueW(HKEY_CURRENT_USER, W(kTestKey), name, REG_SZ, value.c_str(),
                              static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
  }
};

TEST_F(RegistrySettingsTest, ReadsTheInstallSettingsThroughTheSeam) {
  auto writer = OpenSettingsKey(HKEY_CURRENT_USER, kTestKey, true);
  ASSERT_TRUE(writer);
  SetString(L"InstallDir", L"C:\\Program Files\\Torvo\\");
  SetString(L"Language0", L"English");
  SetString(L"TranslationFile0", L"English.txt");
  SetString(L"TranslationDefaultFont0", L"Arial");
  SetString(L"TranslationFont0", L"Tahoma");
  SetString(L"Language1", std::wstring(300, L'x'));
  ASSERT_TRUE(writer->WriteDword(u"Translation", 0));
  ASSERT_TRUE(writer->WriteDword(u"TranslationMode", 1));

  auto key = OpenSettingsKey(HKEY_CURRENT_USER, kTestKey, false);
  ASSERT_TRUE(key);
  EXPECT_EQ(key->ReadString(u"Missing"), std::nullopt);
  EXPECT_EQ(key->ReadDword(u"InstallDir"), std::nullopt);  // wrong type
  EXPECT_EQ(key->ReadString(u"Language1")->size(), 300u);
  InstallSettings settings;
  ReadInstallSettings(key.get(), settings);
  EXPECT_EQ(settings.installFolder, u"C:\\Program Files\\Torvo\\");
  EXPECT_EQ(settings.highestLanguageIndex, 0);  // row 1's name is longer than a value may be
  EXPECT_EQ(settings.Translation().fileName, u"English.txt");
  EXPECT_EQ(settings.Translation().mode, 1u);
  EXPECT_EQ(settings.FontFace(), u"Tahoma");
}

TEST(RoamingFolder, ProfileFilesGoThereWithWidePathsAndAnAccessList) {
  const std::u16string folder = RoamingAppDataFolder();
  ASSERT_FALSE(folder.empty());
  const std::u16string sub = JoinPath(folder, u"Quill test \x00C4\x4E2D");
  CreateDirectoryW(reinterpret_cast<const wchar_t*>(sub.c_str()), nullptr);
  DiskFileSystem fs;
  EntryLists lists;
  ProfileEntry& p = lists.profiles.Add(u"Work");
  p.szExecutable = u"spiel.exe";
  ASSERT_EQ(SaveProfileFiles(fs, sub, lists), 1u);
  const std::u16string path = DatFilePath(sub, 0);
  p.szExecutable.clear();
  LoadProfileFiles(fs, sub, lists, nullptr);
  EXPECT_EQ(p.szExecutable, u"spiel.exe");

  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetNamedSecurityInfoW(reinterpret_cast<const wchar_t*>(path.c_str()), SE_FILE_OBJECT,
                            DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr, &descriptor) ==
      ERROR_SUCCESS) {
    EXPECT_NE(dacl, nullptr);  // not the NULL access list that lets everyone in
    LocalFree(descriptor);
  }
  fs.RemoveFile(path);
  RemoveDirectoryW(reinterpret_cast<const wchar_t*>(sub.c_str()));
}

}  // namespace
}  // namespace quill::win
