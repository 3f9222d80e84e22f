// The store and the exchange engine over the Windows registry and Windows files.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <functional>
#include <thread>
#include <vector>

#include "middleware/storage/storage_errors.h"
#include "middleware/storage/store_exchange.h"
#include "middleware/storage/tests/store_fixture.h"
#include "middleware/storage/win/win_file_system.h"
#include "middleware/storage/win/win_registry_key.h"

namespace quill::storage::testing {
namespace {

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

// The stores under a private key of HKEY_LOCAL_MACHINE, removed afterwards.
class WinStoreTest : public StoreTest {
 protected:
  void SetUp() override {
    root_name = u"Software\\TorvoStorageTests_" + Widen(std::to_string(GetCurrentProcessId()));
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, Wide(root_name).c_str());
    std::unique_ptr<RegistryKey> root;
    ASSERT_EQ(LocalMachineKey()->CreateSubkey(root_name, root), kS_OK);
    machine = std::move(root);
    OpenStores();
  }
  void TearDown() override {
    groups.reset();
    books.reset();
    privates.reset();
    machine.reset();
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, Wide(root_name).c_str());
  }
  static std::u16string Widen(const std::string& text) { return std::u16string(text.begin(), text.end()); }

  std::u16string root_name;
};

TEST_F(WinStoreTest, ValuesLieInTheRegistryAsLaidOut) {
  StoreSampleSet();
  const std::wstring item = Wide(root_name) + L"\\Software\\Torvo\\TorvoControl_0C31\\Profiles\\Game";
  BYTE data[600];
  DWORD type = 0, size = sizeof data;
  ASSERT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, item.c_str(), L"0001", RRF_RT_ANY, &type, data, &size), ERROR_SUCCESS);
  EXPECT_EQ(type, static_cast<DWORD>(REG_BINARY));
  ASSERT_EQ(size, 26u + 2 * 5);
  EXPECT_EQ(std::vector<uint8_t>(data, data + 24), Words({1, 2, 0, 7, 8, 9}));
  EXPECT_EQ(std::wstring(reinterpret_cast<wchar_t*>(data + 24)), L"Alpha");
  DWORD count = 0;
  size = sizeof count;
  ASSERT_EQ(RegGetValueW(HKEY_LOCAL_MACHINE, item.c_str(), L"RefCount", RRF_RT_REG_DWORD, &type, &count, &size),
            ERROR_SUCCESS);
  EXPECT_EQ(count, 1u);
}

// Two clients with stores of their own (their own keys, as two processes have) save spell books
// that list one macro at the same time: every save's reference is counted, none is lost between
// one client's read of the count and its write.
TEST_F(WinStoreTest, ConcurrentClientsLoseNoReferenceCount) {
  ASSERT_EQ(macros().Save(u"Shared", SampleMacro(1)), kS_OK);
  constexpr int kSavesEach = 60;
  auto client = [&](char16_t who, HResult& result) {
    std::unique_ptr<RegistryKey> root;
    result = LocalMachineKey()->OpenSubkey(root_name, root);
    std::unique_ptr<SpellBookStore> own;
    if (Succeeded(result)) result = SpellBookStore::Create(*root, kDevice, own);
    for (int i = 0; i < kSavesEach && Succeeded(result); ++i) {
      const std::u16string book = std::u16string(1, who) + Widen(std::to_string(i));
      result = own->Save(book, {u"Shared"});
    }
  };
  HResult first = kE_FAIL, second = kE_FAIL;
  std::thread a(client, u'A', std::ref(first)), b(client, u'B', std::ref(second));
  a.join();
  b.join();
  ASSERT_EQ(first, kS_OK);
  ASSERT_EQ(second, kS_OK);
  EXPECT_EQ(RefCount(macros(), u"Shared"), 2 * kSavesEach);
}

TEST_F(WinStoreTest, StoreRulesHoldOnTheRealRegistry) {
  StoreSampleSet();
  MacroRecord macro;
  ASSERT_EQ(macros().Load(u"gamma", macro), kS_OK);  // the registry ignores case
  EXPECT_EQ(macro, SampleMacro(3, 3));
  std::vector<std::u16string> names;
  ASSERT_EQ(macros().List(3, names), kS_OK);
  EXPECT_EQ(names, (std::vector<std::u16string>{u"Alpha", u"Beta", u"Gamma"}));
  EXPECT_EQ(macros().List(4, names), kE_FAIL);
  EXPECT_EQ(macros().Delete(u"Alpha"), kE_FAIL);
  EXPECT_EQ(groups->Save(u"All", {u"Work", u"Missing"}), kE_FAIL);
  EXPECT_EQ(RefCount(profiles(), u"Work"), 1);
  EXPECT_EQ(RefCount(profiles(), u"Game"), 1);
  const std::u16string longest(kMaxItemNameLength, u'L');
  ASSERT_EQ(macros().Save(longest, SampleMacro(0)), kS_OK);
  ASSERT_EQ(macros().List(4, names), kS_OK);
  EXPECT_EQ(names.back(), longest);  // enumerated with room for the longest key name
  PutRawValue(kMacrosSuffix, u"Beta", u"IconFile", kRegSz, std::vector<uint8_t>(70000, 'a'));
  EXPECT_EQ(macros().Load(u"Beta", macro), kE_MORE_DATA);
  PutRawValue(kMacrosSuffix, u"Beta", u"Version", kRegBinary, {1, 0, 0, 0});
  PutRawValue(kMacrosSuffix, u"Beta", u"IconFile", kRegSz, Utf16Z(u"x"));
  EXPECT_EQ(macros().Load(u"Beta", macro), kE_INVALID_DATA);
}

class WinFileTest : public WinStoreTest {
 protected:
  void SetUp() override {
    WinStoreTest::SetUp();
    wchar_t temp[MAX_PATH];
    ASSERT_NE(GetTempPathW(MAX_PATH, temp), 0u);
    folder = std::wstring(temp) + L"TorvoStorageTests_" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder.c_str(), nullptr);
  }
  void TearDown() override {
    for (const std::wstring& name : Files()) DeleteFileW((folder + L"\\" + name).c_str());
    RemoveDirectoryW((folder + L"\\sub").c_str());
    RemoveDirectoryW(folder.c_str());
    WinStoreTest::TearDown();
  }
  std::vector<std::wstring> Files() const {
    std::vector<std::wstring> names;
    WIN32_FIND_DATAW found;
    HANDLE find = FindFirstFileW((folder + L"\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileW(find, &found));
    FindClose(find);
    return names;
  }
  std::u16string Path(const wchar_t* name) const {
    const std::wstring path = folder + L"\\" + name;
    return std::u16string(path.begin(), path.end());
  }

  std::wstring folder;
  WinFileSystem files;
};

TEST_F(WinFileTest, ExportsReplaceTheFileAndLeaveNothingBeside) {
  StoreSampleSet();
  StoreExchange exchange(*machine, files, std::u16string(kDevice));
  const std::u16string path = Path(L"export.xml");
  EXPECT_EQ(exchange.ImportAllProfiles(path), kS_OK);  // a missing file: nothing to import
  EXPECT_TRUE(Files().empty());
  ASSERT_EQ(exchange.ExportProfile(u"Game", path), kS_OK);
  std::vector<uint8_t> first;
  bool found = false;
  ASSERT_EQ(files.ReadAll(path, 1 << 20, first, found), kS_OK);
  ASSERT_TRUE(found);
  ASSERT_GE(first.size(), 3u);
  EXPECT_EQ(first[0], 0xEF);
  ASSERT_EQ(exchange.ExportAllMacros(path), kS_OK);
  ASSERT_EQ(exchange.ExportProfile(u"Game", path), kS_OK);
  EXPECT_EQ(Files(), std::vector<std::wstring>{L"export.xml"});

  CreateDirectoryW((folder + L"\\sub").c_str(), nullptr);
  const std::vector<uint8_t> bytes{'x'};
  EXPECT_TRUE(Failed(files.ReplaceAll(Path(L"sub"), bytes)));
  EXPECT_EQ(files.ReplaceAll(Path(L"missing\\out.xml"), bytes), kE_HANDLE);
  EXPECT_EQ(files.ReadAll(Path(L"sub"), 100, first, found), kE_HANDLE);
  EXPECT_EQ(Files(), std::vector<std::wstring>{L"export.xml"});

  // The file exported here imports on an empty store.
  RegDeleteTreeW(HKEY_LOCAL_MACHINE, (Wide(root_name) + L"\\Software").c_str());
  OpenStores();
  ASSERT_EQ(exchange.ImportProfile(u"Game", path), kS_OK);
  EXPECT_EQ(RefCount(macros(), u"Alpha"), 1);
}

// A target that cannot be opened for writing (here: another program holds it open, sharing it
// only for reading) is refused with E_HANDLE and stays as it was; it still imports.
TEST_F(WinFileTest, TargetThatCannotBeWrittenRefusesExportsAndStillImports) {
  StoreSampleSet();
  StoreExchange exchange(*machine, files, std::u16string(kDevice));
  const std::u16string path = Path(L"held.xml");
  ASSERT_EQ(exchange.ExportProfile(u"Game", path), kS_OK);
  std::vector<uint8_t> before, after;
  bool found = false;
  ASSERT_EQ(files.ReadAll(path, 1 << 20, before, found), kS_OK);
  HANDLE held = CreateFileW(Wide(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(exchange.ExportAllMacros(path), kE_HANDLE);
  EXPECT_EQ(exchange.ImportProfile(u"Game", path), kS_OK);
  CloseHandle(held);
  ASSERT_EQ(files.ReadAll(path, 1 << 20, after, found), kS_OK);
  EXPECT_EQ(after, before);
  EXPECT_EQ(Files(), std::vector<std::wstring>{L"held.xml"});
}

}  // namespace
}  // namespace quill::storage::testing
