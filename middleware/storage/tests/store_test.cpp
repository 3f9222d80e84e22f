// The store operations: lists, loads, names, and store creation.
#include <gtest/gtest.h>

#include "middleware/storage/storage_errors.h"
#include "middleware/storage/tests/store_fixture.h"

namespace quill::storage::testing {
namespace {

using Names = std::vector<std::u16string>;

TEST_F(StoreTest, CountAndListFollowEnumerationOrder) {
  for (const char16_t* name : {u"delta", u"Bravo", u"alpha", u"Charlie"}) {
    ASSERT_EQ(macros().Save(name, SampleMacro(0)), kS_OK);
  }
  uint32_t count = 0;
  ASSERT_EQ(macros().Count(count), kS_OK);
  EXPECT_EQ(count, 4u);
  Names names{u"stale"};
  ASSERT_EQ(macros().List(3, names), kS_OK);
  EXPECT_EQ(names, (Names{u"alpha", u"Bravo", u"Charlie"}));
  ASSERT_EQ(macros().List(0, names), kS_OK);
  EXPECT_TRUE(names.empty());
  names = {u"stale"};
  EXPECT_EQ(macros().List(5, names), kE_FAIL);
  EXPECT_TRUE(names.empty());
  EXPECT_EQ(macros().List(-1, names), kE_INVALIDARG);
}

TEST_F(StoreTest, ObjectsRoundTrip) {
  StoreSampleSet();
  MacroRecord macro;
  ASSERT_EQ(macros().Load(u"GAMMA", macro), kS_OK);  // names ignore case
  EXPECT_EQ(macro, SampleMacro(3, 3));
  ASSERT_EQ(macros().Load(u"Beta", macro), kS_OK);
  EXPECT_EQ(macro, SampleMacro(0, 2));
  UserActionRecord action;
  ASSERT_EQ(actions().Load(u"Launch", action), kS_OK);
  EXPECT_EQ(action, (UserActionRecord{5, {1, 2, 3}}));
  ASSERT_EQ(actions().Save(u"Empty", UserActionRecord{1, {}}), kS_OK);
  ASSERT_EQ(actions().Load(u"Empty", action), kS_OK);
  EXPECT_EQ(action, (UserActionRecord{1, {}}));
  ProfileRecord profile;
  ASSERT_EQ(profiles().Load(u"Work", profile), kS_OK);
  EXPECT_EQ(profile, SampleProfile({MacroMapping(3, u"Beta")}, 2));

  int32_t count = -1;
  ASSERT_EQ(groups->LoadNumMembers(u"All", count), kS_OK);
  EXPECT_EQ(count, 2);
  Names members;
  ASSERT_EQ(groups->LoadMembers(u"All", 1, members), kS_OK);
  EXPECT_EQ(members, Names{u"Game"});
  ASSERT_EQ(books->LoadMembers(u"Book", 2, members), kS_OK);
  EXPECT_EQ(members, (Names{u"Alpha", u"Gamma"}));
  EXPECT_EQ(books->LoadMembers(u"Book", 3, members), kE_FAIL);
  EXPECT_TRUE(members.empty());
}

TEST_F(StoreTest, MissingObjects) {
  MacroRecord macro = SampleMacro(1);
  EXPECT_EQ(macros().Load(u"None", macro), kE_FAIL);
  EXPECT_EQ(macro, MacroRecord{});
  ProfileRecord profile;
  EXPECT_EQ(profiles().Load(u"None", profile), kE_FAIL);
  EXPECT_EQ(profiles().Delete(u"None"), kE_FAIL);
  UserActionRecord action;
  EXPECT_EQ(actions().Load(u"None", action), kE_FAIL);
  EXPECT_EQ(actions().Delete(u"None"), kE_FAIL);
  int32_t count = 9;
  EXPECT_EQ(groups->LoadNumMembers(u"None", count), kE_FAIL);
  EXPECT_EQ(count, 0);
  Names members;
  EXPECT_EQ(books->LoadMembers(u"None", 0, members), kE_FAIL);
  EXPECT_EQ(books->Delete(u"None"), kE_FAIL);
}

// Names that would reach another key, or that the registry cannot hold, are refused by every
// operation and create nothing.
TEST_F(StoreTest, ItemNamesThatCannotBeAnItemAreRefused) {
  const std::u16string names[] = {u"", u"a\\b", u"\\", std::u16string(u"a\0b", 3),
                                  std::u16string(kMaxItemNameLength + 1, u'x')};
  ASSERT_EQ(macros().Save(u"M", SampleMacro(0)), kS_OK);
  const std::string before = registry.Dump();
  for (const std::u16string& name : names) {
    SCOPED_TRACE(std::string(name.begin(), name.end()));
    MacroRecord macro;
    ProfileRecord profile;
    UserActionRecord action;
    int32_t count = 0;
    Names members;
    EXPECT_EQ(macros().Save(name, SampleMacro(1)), kE_INVALID_NAME);
    EXPECT_EQ(macros().Load(name, macro), kE_INVALID_NAME);
    EXPECT_EQ(macros().Delete(name), kE_INVALID_NAME);
    EXPECT_EQ(profiles().Save(name, ProfileRecord{}), kE_INVALID_NAME);
    EXPECT_EQ(profiles().Load(name, profile), kE_INVALID_NAME);
    EXPECT_EQ(actions().Save(name, action), kE_INVALID_NAME);
    EXPECT_EQ(privates->Save(name, profile), kE_INVALID_NAME);
    EXPECT_EQ(groups->Save(name, {}), kE_INVALID_NAME);
    EXPECT_EQ(books->Save(u"Book", {name}), kE_INVALID_NAME);
    EXPECT_EQ(books->LoadNumMembers(name, count), kE_INVALID_NAME);
    EXPECT_EQ(macros().ReadRefCount(name, count), kE_INVALID_NAME);
  }
  EXPECT_EQ(registry.Dump(), before);
  EXPECT_EQ(macros().Save(std::u16string(kMaxItemNameLength, u'x'), SampleMacro(0)), kS_OK);
}

TEST_F(StoreTest, MacroIconFileAndUserActionDataAreBounded) {
  MacroRecord macro = SampleMacro(0);
  macro.icon_file = std::u16string(kMaxIconFileLength + 1, u'i');
  EXPECT_EQ(macros().Save(u"M", macro), kE_INVALIDARG);
  macro.icon_file = std::u16string(u"a\0b", 3);
  EXPECT_EQ(macros().Save(u"M", macro), kE_INVALIDARG);
  macro.icon_file = std::u16string(kMaxIconFileLength, u'i');
  ASSERT_EQ(macros().Save(u"M", macro), kS_OK);
  MacroRecord loaded;
  ASSERT_EQ(macros().Load(u"M", loaded), kS_OK);
  EXPECT_EQ(loaded, macro);
  EXPECT_EQ(actions().Save(u"U", UserActionRecord{0, std::vector<uint8_t>(kMaxUserActionData + 1)}), kE_INVALIDARG);
}

TEST(StoreCreationTest, FailsWhenTheCollectionKeyCannotBeCreated) {
  MemoryRegistry registry;
  auto machine = registry.Root();
  registry.SetFaultHook([](RegistryOperation op, std::u16string_view, std::u16string_view path) -> uint32_t {
    return op == RegistryOperation::kCreateSubkey && path.ends_with(u"\\UserActions") ? 5 : 0;
  });
  std::unique_ptr<ProfileGroupStore> groups;
  EXPECT_EQ(ProfileGroupStore::Create(*machine, kDevice, groups), kE_ACCESSDENIED);
  EXPECT_EQ(groups, nullptr);
  std::unique_ptr<SpellBookStore> books;
  EXPECT_EQ(SpellBookStore::Create(*machine, kDevice, books), kS_OK);
  std::unique_ptr<MacroStore> macros;
  EXPECT_EQ(MacroStore::Create(*machine, u"Bad\\Name", macros), kE_INVALID_NAME);
}

TEST(MemoryRegistryTest, KeepsTheRegistryRules) {
  MemoryRegistry registry;
  auto root = registry.Root();
  std::unique_ptr<RegistryKey> key, child, same;
  ASSERT_EQ(root->CreateSubkey(u"A\\B", key), kS_OK);
  ASSERT_EQ(root->OpenSubkey(u"a\\b", same), kS_OK);
  ASSERT_EQ(key->SetValue(u"Value", kRegDword, std::vector<uint8_t>{1, 0, 0, 0}), kS_OK);
  uint32_t type = 0;
  std::vector<uint8_t> data;
  EXPECT_EQ(same->QueryValue(u"VALUE", 4, type, data), kS_OK);
  EXPECT_EQ(type, kRegDword);
  EXPECT_EQ(same->QueryValue(u"value", 3, type, data), kE_MORE_DATA);
  EXPECT_TRUE(data.empty());
  EXPECT_EQ(root->OpenSubkey(u"A\\C", child), kE_FILE_NOT_FOUND);
  EXPECT_EQ(root->DeleteSubkey(u"A"), HResultFromWin32(5));  // has a subkey
  ASSERT_EQ(root->OpenSubkey(u"A", child), kS_OK);
  ASSERT_EQ(child->DeleteSubkey(u"b"), kS_OK);
  EXPECT_EQ(key->SetValue(u"x", kRegDword, {}), HResultFromWin32(1018));  // deleted under the handle
  std::u16string name;
  EXPECT_EQ(child->SubkeyName(0, name), kE_NO_MORE_ITEMS);
}

}  // namespace
}  // namespace quill::storage::testing
