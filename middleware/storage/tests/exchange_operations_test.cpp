// Export and import operations per kind: round trips, the objects a profile names, and the
// element checks of the import.
#include <gtest/gtest.h>

#include "middleware/storage/exchange_elements.h"
#include "middleware/storage/exchange_file.h"
#include "middleware/storage/storage_errors.h"
#include "middleware/storage/tests/exchange_fixture.h"

namespace quill::storage::testing {
namespace {

// A second, empty store reading the same files.
class ExchangeOperationsTest : public ExchangeTest {
 protected:
  void SetUp() override {
    ExchangeTest::SetUp();
    StoreSampleSet();
    // Every collection key in place, so that dumps compare objects only.
    std::unique_ptr<ProfileGroupStore> groups;
    std::unique_ptr<SpellBookStore> books;
    std::unique_ptr<PrivateProfileStore> privates;
    ASSERT_EQ(ProfileGroupStore::Create(*target_machine, kDevice, groups), kS_OK);
    ASSERT_EQ(SpellBookStore::Create(*target_machine, kDevice, books), kS_OK);
    ASSERT_EQ(PrivateProfileStore::Create(*target_machine, kDevice, privates), kS_OK);
  }

  MemoryRegistry target;
  std::unique_ptr<RegistryKey> target_machine = target.Root();
  StoreExchange importer{*target_machine, files, std::u16string(kDevice)};
};

TEST_F(ExchangeOperationsTest, EverythingRoundTripsIntoAnEmptyStore) {
  ASSERT_EQ(exchange.ExportAllProfileGroups(kFile), kS_OK);
  ASSERT_EQ(exchange.ExportAllProfiles(kFile), kS_OK);
  ASSERT_EQ(exchange.ExportAllSpellBooks(kFile), kS_OK);
  ASSERT_EQ(exchange.ExportAllMacros(kFile), kS_OK);
  ASSERT_EQ(exchange.ExportAllUserActions(kFile), kS_OK);
  const std::string file = files.GetText(kFile);

  ASSERT_EQ(importer.ImportAllUserActions(kFile), kS_OK);
  ASSERT_EQ(importer.ImportAllMacros(kFile), kS_OK);
  ASSERT_EQ(importer.ImportAllSpellBooks(kFile), kS_OK);
  ASSERT_EQ(importer.ImportAllProfiles(kFile), kS_OK);
  ASSERT_EQ(importer.ImportAllProfileGroups(kFile), kS_OK);
  // Same objects and the same reference counts, value for value.
  EXPECT_EQ(target.Dump(), registry.Dump());
  EXPECT_EQ(files.GetText(kFile), file);  // imports never write

  // Importing everything again changes nothing either.
  ASSERT_EQ(importer.ImportAllProfileGroups(kFile), kS_OK);
  ASSERT_EQ(importer.ImportAllSpellBooks(kFile), kS_OK);
  EXPECT_EQ(target.Dump(), registry.Dump());
}

TEST_F(ExchangeOperationsTest, ExportedProfileCarriesWhatItNamesAndImportsOnAnEmptyStore) {
  ASSERT_EQ(exchange.ExportProfile(u"Game", kFile), kS_OK);
  {
    std::unique_ptr<ExchangeFile> file;
    ASSERT_EQ(ExchangeFile::Open(files, kFile, kDevice, file), kS_OK);
    EXPECT_EQ(file->Names(ElementKind::kProfile), std::vector<std::u16string>{u"Game"});
    EXPECT_EQ(file->Names(ElementKind::kMacro), std::vector<std::u16string>{u"Alpha"});
    EXPECT_EQ(file->Names(ElementKind::kUserAction), std::vector<std::u16string>{u"Launch"});
  }
  ASSERT_EQ(importer.ImportProfile(u"Game", kFile), kS_OK);
  std::unique_ptr<ProfileStore> imported;
  ASSERT_EQ(ProfileStore::Create(*target_machine, kDevice, imported), kS_OK);
  ProfileRecord profile, original;
  ASSERT_EQ(imported->Load(u"Game", profile), kS_OK);
  ASSERT_EQ(profiles().Load(u"Game", original), kS_OK);
  EXPECT_EQ(profile, original);
  int32_t count = 0;
  ASSERT_EQ(imported->macros().ReadRefCount(u"Alpha", count), kS_OK);
  EXPECT_EQ(count, 1);
  ASSERT_EQ(imported->user_actions().ReadRefCount(u"Launch", count), kS_OK);
  EXPECT_EQ(count, 1);
  MacroRecord macro;
  ASSERT_EQ(imported->macros().Load(u"Alpha", macro), kS_OK);
  EXPECT_EQ(macro, SampleMacro(2, 1));
}

TEST_F(ExchangeOperationsTest, ProfilesNeedTheirMacrosStoredOrInTheFile) {
  // A file with the profiles alone, as an older export may have written it.
  {
    std::unique_ptr<ExchangeFile> file;
    ASSERT_EQ(ExchangeFile::Open(files, kFile, kDevice, file), kS_OK);
    for (const char16_t* name : {u"Game", u"Work"}) {
      ProfileRecord profile;
      std::u16string text;
      ASSERT_EQ(profiles().Load(name, profile), kS_OK);
      ASSERT_EQ(WriteElement(name, profile, text), kS_OK);
      ASSERT_EQ(file->Add(ElementKind::kProfile, name, std::move(text)), kS_OK);
    }
    ASSERT_EQ(file->Commit(), kS_OK);
  }
  const std::string empty = target.Dump();
  EXPECT_EQ(importer.ImportProfile(u"Game", kFile), kE_FAIL);
  EXPECT_EQ(importer.ImportAllProfiles(kFile), kE_FAIL);
  EXPECT_EQ(target.Dump(), empty);

  // Stored first, from anywhere, the macros and user actions let the profiles in.
  ASSERT_EQ(exchange.ExportAllMacros(u"other.xml"), kS_OK);
  ASSERT_EQ(exchange.ExportAllUserActions(u"other.xml"), kS_OK);
  ASSERT_EQ(importer.ImportAllMacros(u"other.xml"), kS_OK);
  ASSERT_EQ(importer.ImportAllUserActions(u"other.xml"), kS_OK);
  EXPECT_EQ(importer.ImportAllProfiles(kFile), kS_OK);
}

// Every export of profiles carries what they name, and its import brings it into an empty store.
TEST_F(ExchangeOperationsTest, EveryProfileExportImportsOnAnEmptyStore) {
  struct Case {
    const char* name;
    const char16_t* file;
    HResult (StoreExchange::*export_op)(const std::u16string&);
    HResult (StoreExchange::*import_op)(const std::u16string&);
    bool groups;
  };
  const Case cases[] = {
      {"all profiles", u"profiles.xml", &StoreExchange::ExportAllProfiles, &StoreExchange::ImportAllProfiles, false},
      {"all groups", u"groups.xml", &StoreExchange::ExportAllProfileGroups, &StoreExchange::ImportAllProfileGroups, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::u16string path = c.file;
    MemoryRegistry fresh;
    std::unique_ptr<RegistryKey> root = fresh.Root();
    StoreExchange into(*root, files, std::u16string(kDevice));
    ASSERT_EQ((exchange.*c.export_op)(path), kS_OK);
    {
      std::unique_ptr<ExchangeFile> file;
      ASSERT_EQ(ExchangeFile::Open(files, path, kDevice, file), kS_OK);
      EXPECT_EQ(file->Names(ElementKind::kMacro), (std::vector<std::u16string>{u"Alpha", u"Beta"}));
      EXPECT_EQ(file->Names(ElementKind::kUserAction), std::vector<std::u16string>{u"Launch"});
    }
    ASSERT_EQ((into.*c.import_op)(path), kS_OK);
    std::unique_ptr<ProfileGroupStore> imported;
    ASSERT_EQ(ProfileGroupStore::Create(*root, kDevice, imported), kS_OK);
    int32_t count = 0;
    ASSERT_EQ(imported->profiles().macros().ReadRefCount(u"Alpha", count), kS_OK);
    EXPECT_EQ(count, 1);
    ASSERT_EQ(imported->profiles().macros().ReadRefCount(u"Beta", count), kS_OK);
    EXPECT_EQ(count, 1);
    ASSERT_EQ(imported->profiles().user_actions().ReadRefCount(u"Launch", count), kS_OK);
    EXPECT_EQ(count, 1);
    ASSERT_EQ(imported->profiles().ReadRefCount(u"Work", count), kS_OK);
    EXPECT_EQ(count, c.groups ? 1 : 0);
  }
}

TEST_F(ExchangeOperationsTest, GroupsAndSpellBooksBringTheirMembers) {
  ASSERT_EQ(exchange.ExportProfileGroup(u"All", kFile), kS_OK);
  ASSERT_EQ(exchange.ExportSpellBook(u"Book", kFile), kS_OK);
  ASSERT_EQ(importer.ImportSpellBook(u"Book", kFile), kS_OK);  // imports Alpha and Gamma
  // The group brings its profiles, and they the macros and user actions they name.
  ASSERT_EQ(importer.ImportProfileGroup(u"All", kFile), kS_OK);
  std::unique_ptr<ProfileGroupStore> imported;
  ASSERT_EQ(ProfileGroupStore::Create(*target_machine, kDevice, imported), kS_OK);
  std::vector<std::u16string> members;
  ASSERT_EQ(imported->LoadMembers(u"All", 2, members), kS_OK);
  EXPECT_EQ(members, (std::vector<std::u16string>{u"Game", u"Work"}));
  int32_t count = 0;
  ASSERT_EQ(imported->profiles().ReadRefCount(u"Work", count), kS_OK);
  EXPECT_EQ(count, 1);
  ASSERT_EQ(imported->profiles().macros().ReadRefCount(u"Alpha", count), kS_OK);
  EXPECT_EQ(count, 2);  // the spell book and Game
  ASSERT_EQ(imported->profiles().macros().ReadRefCount(u"Beta", count), kS_OK);
  EXPECT_EQ(count, 1);
}

TEST_F(ExchangeOperationsTest, ExportsOfMissingObjectsWriteNothing) {
  EXPECT_EQ(exchange.ExportProfile(u"None", kFile), kE_FAIL);
  EXPECT_EQ(exchange.ExportProfileGroup(u"None", kFile), kE_FAIL);
  EXPECT_EQ(exchange.ExportSpellBook(u"None", kFile), kE_FAIL);
  EXPECT_EQ(exchange.ExportMacro(u"None", kFile), kE_FAIL);
  EXPECT_EQ(exchange.ExportUserAction(u"None", kFile), kE_FAIL);
  EXPECT_FALSE(files.Exists(kFile));
  EXPECT_EQ(exchange.ExportProfile(u"Game", u""), kS_OK);  // the file seam decides what a path is
}

// Elements written by hand (or damaged): each is refused and stores nothing.
TEST_F(ExchangeOperationsTest, MalformedElementsAreNotImported) {
  auto key = [](std::string_view name, std::string_view data) {
    return "<Key value=\"" + std::string(name) + "\" type=\"X\" data=\"" + std::string(data) + "\"></Key>";
  };
  const std::string key_mapping = "0100000001000000040000001E00000000000000FFFFFFFF";
  const std::string element = "000000000000000000000000000000000000000000000000";
  struct Case {
    const char* what;
    std::string element;
  };
  const Case cases[] = {
      {"profile without NumMappings", "<Profile name=\"X\">" + key("Version", "1") + "</Profile>"},
      {"fewer mappings than counted", "<Profile name=\"X\">" + key("NumMappings", "2") + key("0000", key_mapping) + "</Profile>"},
      {"more mappings than counted", "<Profile name=\"X\">" + key("NumMappings", "1") + key("0000", key_mapping) + key("0001", key_mapping) + "</Profile>"},
      {"index beyond the count", "<Profile name=\"X\">" + key("NumMappings", "1") + key("0001", key_mapping) + "</Profile>"},
      {"index twice", "<Profile name=\"X\">" + key("NumMappings", "2") + key("0000", key_mapping) + key("0000", key_mapping) + "</Profile>"},
      {"index that is no number", "<Profile name=\"X\">" + key("NumMappings", "1") + key("first", key_mapping) + "</Profile>"},
      {"negative count", "<Profile name=\"X\">" + key("NumMappings", "-1") + "</Profile>"},
      {"huge count", "<Profile name=\"X\">" + key("NumMappings", "2147483647") + key("2147483646", key_mapping) + "</Profile>"},
      {"odd hex", "<Profile name=\"X\">" + key("NumMappings", "1") + key("0000", key_mapping + "0") + "</Profile>"},
      {"not hex", "<Profile name=\"X\">" + key("NumMappings", "1") + key("0000", "ZZ" + key_mapping.substr(2)) + "</Profile>"},
      {"short mapping", "<Profile name=\"X\">" + key("NumMappings", "1") + key("0000", key_mapping.substr(2)) + "</Profile>"},
      {"macro mapping without its name", "<Profile name=\"X\">" + key("NumMappings", "1") + key("0000", "010000000200000000000000000000000000000000000000") + "</Profile>"},
      {"key missing its data", "<Profile name=\"X\"><Key value=\"NumMappings\" type=\"DWORD\"></Key></Profile>"},
      {"macro without NumElements", "<Macro name=\"X\">" + key("Version", "1") + "</Macro>"},
      {"macro element of 25 bytes", "<Macro name=\"X\">" + key("NumElements", "1") + key("0000", element + "00") + "</Macro>"},
      {"user action without NumData", "<UserAction name=\"X\">" + key("Data", "00") + "</UserAction>"},
      {"user action data count differs", "<UserAction name=\"X\">" + key("NumData", "2") + key("Data", "00") + "</UserAction>"},
      {"group pointer without target", "<ProfileGroup name=\"X\"><ProfilePtr></ProfilePtr></ProfileGroup>"},
      {"element without a name", "<Macro>" + key("NumElements", "0") + "</Macro>"},
  };
  const std::string empty = target.Dump();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    files.PutText(kFile, "<TorvoControl_0C31>" + c.element + "</TorvoControl_0C31>");
    EXPECT_EQ(importer.ImportProfile(u"X", kFile), kE_FAIL);
    EXPECT_EQ(Failed(importer.ImportAllProfiles(kFile)), c.element.starts_with("<Profile "));
    EXPECT_EQ(importer.ImportMacro(u"X", kFile), kE_FAIL);
    EXPECT_EQ(Failed(importer.ImportAllMacros(kFile)), c.element.starts_with("<Macro"));  // a nameless one: kE_INVALID_NAME
    EXPECT_EQ(importer.ImportUserAction(u"X", kFile), kE_FAIL);
    EXPECT_EQ(importer.ImportProfileGroup(u"X", kFile), kE_FAIL);
    EXPECT_EQ(target.Dump(), empty);
  }
}

TEST_F(ExchangeOperationsTest, DecimalDataReadsLikeTheFileWasWritten) {
  files.PutText(kFile,
                "<TorvoControl_0C31><Macro name=\"X\">"
                "<Key value=\"Version\" type=\"DWORD\" data=\" -7x\"></Key>"
                "<Key value=\"Repeat\" type=\"DWORD\" data=\"99999999999\"></Key>"
                "<Key value=\"Type\" type=\"DWORD\" data=\"\"></Key>"
                "<Key value=\"NumElements\" type=\"DWORD\" data=\"0\"></Key>"
                "</Macro></TorvoControl_0C31>");
  ASSERT_EQ(importer.ImportMacro(u"X", kFile), kS_OK);
  std::unique_ptr<MacroStore> store;
  ASSERT_EQ(MacroStore::Create(*target_machine, kDevice, store), kS_OK);
  MacroRecord macro;
  ASSERT_EQ(store->Load(u"X", macro), kS_OK);
  EXPECT_EQ(macro.version, -7);
  EXPECT_EQ(macro.repeat, INT32_MAX);
  EXPECT_EQ(macro.type, 0);
  EXPECT_EQ(macro.icon_file, u"");
}

}  // namespace
}  // namespace quill::storage::testing
