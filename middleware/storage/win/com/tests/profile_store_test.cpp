// IProfile's profile groups, stored profiles and exchange files, on the test prefix's registry.
#include <functional>
#include <string>
#include <vector>

#include "middleware/objects/tests/win/test_support.h"
#include "middleware/storage/storage_errors.h"
#include "middleware/storage/win/com/tests/profile_fixture.h"

namespace quill::test {
namespace {

using Names = std::vector<std::wstring>;

class ProfileStoreTest : public ProfileTest {
 protected:
  // Group "G" of the stored profiles "A" and "B".
  void StoreGroupOfTwo() {
    StoreProfile(u"A");
    StoreProfile(u"B");
    LPWSTR members[] = {const_cast<LPWSTR>(L"A"), const_cast<LPWSTR>(L"B")};
    ASSERT_EQ(profile_->SaveProfileGroup(L"G", 2, members), S_OK);
  }
};

TEST_F(ProfileStoreTest, GroupsAreCountedListedAndLoadedAsCallerOwnedStrings) {
  StoreGroupOfTwo();
  EXPECT_EQ(RefCount(Profiles(), u"A"), 1);
  LONG count = -1;
  ASSERT_EQ(profile_->LoadNumProfileGroups(&count), S_OK);
  EXPECT_EQ(count, 1);

  LPWSTR slots[3] = {};
  ASSERT_EQ(profile_->LoadProfileGroupList(1, slots), S_OK);
  EXPECT_EQ(AllocationSize(slots[0]), 2 * sizeof(wchar_t));  // "G" and its terminator
  EXPECT_EQ(TakeStrings(slots, 1), (Names{L"G"}));

  ASSERT_EQ(profile_->LoadNumProfilesInGroup(L"G", &count), S_OK);
  EXPECT_EQ(count, 2);
  ASSERT_EQ(profile_->LoadProfileGroup(L"G", 2, slots), S_OK);
  EXPECT_EQ(TakeStrings(slots, 2), (Names{L"A", L"B"}));
  ASSERT_EQ(profile_->LoadProfileGroup(L"G", 1, slots), S_OK);  // the first n only
  EXPECT_EQ(TakeStrings(slots, 1), (Names{L"A"}));

  // Asking for more than exist fails with every slot null (they held garbage before).
  slots[0] = slots[1] = slots[2] = reinterpret_cast<LPWSTR>(1);
  EXPECT_EQ(profile_->LoadProfileGroupList(2, slots), E_FAIL);
  EXPECT_EQ(slots[0], nullptr);
  EXPECT_EQ(slots[1], nullptr);
  slots[0] = slots[1] = slots[2] = reinterpret_cast<LPWSTR>(1);
  EXPECT_EQ(profile_->LoadProfileGroup(L"G", 3, slots), E_FAIL);
  for (LPWSTR slot : slots) EXPECT_EQ(slot, nullptr);

  count = 5;
  EXPECT_EQ(profile_->LoadNumProfilesInGroup(L"Missing", &count), E_FAIL);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(profile_->LoadProfileGroup(L"Missing", 0, nullptr), E_FAIL);
}

TEST_F(ProfileStoreTest, SavingAGroupAgainKeepsCountsAndAMissingMemberFails) {
  StoreGroupOfTwo();
  LPWSTR members[] = {const_cast<LPWSTR>(L"A"), const_cast<LPWSTR>(L"B")};
  ASSERT_EQ(profile_->SaveProfileGroup(L"G", 2, members), S_OK);
  EXPECT_EQ(RefCount(Profiles(), u"A"), 1);
  EXPECT_EQ(RefCount(Profiles(), u"B"), 1);
  LPWSTR missing[] = {const_cast<LPWSTR>(L"A"), const_cast<LPWSTR>(L"Nope")};
  EXPECT_EQ(profile_->SaveProfileGroup(L"H", 2, missing), E_FAIL);
  LONG count = 0;
  ASSERT_EQ(profile_->LoadNumProfileGroups(&count), S_OK);
  EXPECT_EQ(count, 1);
}

TEST_F(ProfileStoreTest, DeleteGroupThenDeleteItsFormerMember) {
  StoreGroupOfTwo();
  EXPECT_EQ(profile_->DeleteProfile(L"A"), E_FAIL);  // still listed
  ASSERT_EQ(profile_->DeleteProfileGroup(L"G"), S_OK);
  EXPECT_EQ(RefCount(Profiles(), u"A"), 0);
  EXPECT_EQ(profile_->DeleteProfile(L"A"), S_OK);
  storage::ProfileRecord gone;
  EXPECT_EQ(Profiles().Load(u"A", gone), E_FAIL);
  EXPECT_EQ(profile_->DeleteProfile(L"A"), E_FAIL);
  EXPECT_EQ(profile_->DeleteProfileGroup(L"G"), E_FAIL);
}

TEST_F(ProfileStoreTest, BadArgumentsAreRefusedBeforeAnythingIsWritten) {
  StoreProfile(u"A");
  const std::wstring long_name(256, L'n');  // one more than a registry key name holds
  std::vector<wchar_t> unterminated(400, L'u');  // no terminator within the bound
  LPWSTR one[] = {const_cast<LPWSTR>(L"A")};
  LPWSTR null_member[] = {nullptr};
  LPWSTR long_member[] = {const_cast<LPWSTR>(long_name.c_str())};
  LPWSTR slots[2] = {};
  LONG count = 0;
  const struct {
    const char* what;
    HRESULT result;
    HRESULT expected;
  } cases[] = {
      {"group count to null", profile_->LoadNumProfileGroups(nullptr), E_POINTER},
      {"list: negative count", profile_->LoadProfileGroupList(-1, slots), E_INVALIDARG},
      {"list: null array", profile_->LoadProfileGroupList(1, nullptr), E_POINTER},
      {"members: null name", profile_->LoadNumProfilesInGroup(nullptr, &count), E_POINTER},
      {"members: null count", profile_->LoadNumProfilesInGroup(L"G", nullptr), E_POINTER},
      {"save: null group", profile_->SaveProfileGroup(nullptr, 1, one), E_POINTER},
      {"save: negative count", profile_->SaveProfileGroup(L"G", -2, one), E_INVALIDARG},
      {"save: null array", profile_->SaveProfileGroup(L"G", 1, nullptr), E_POINTER},
      {"save: null member", profile_->SaveProfileGroup(L"G", 1, null_member), E_POINTER},
      {"save: long member", profile_->SaveProfileGroup(L"G", 1, long_member), storage::kE_INVALID_NAME},
      {"save: long group", profile_->SaveProfileGroup(long_name.c_str(), 1, one), storage::kE_INVALID_NAME},
      {"save: unterminated group", profile_->SaveProfileGroup(unterminated.data(), 1, one),
       storage::kE_INVALID_NAME},
      {"load: negative count", profile_->LoadProfileGroup(L"G", -1, slots), E_INVALIDARG},
      {"delete group: null", profile_->DeleteProfileGroup(nullptr), E_POINTER},
      {"delete profile: null", profile_->DeleteProfile(nullptr), E_POINTER},
      {"export: null file", profile_->ExportProfile(L"A", nullptr), E_POINTER},
      {"import: null name", profile_->ImportProfile(nullptr, L"x.xml"), E_POINTER},
  };
  for (const auto& c : cases) EXPECT_EQ(c.result, c.expected) << c.what;
  ASSERT_EQ(profile_->LoadNumProfileGroups(&count), S_OK);
  EXPECT_EQ(count, 0);  // no group was written
  EXPECT_EQ(RefCount(Profiles(), u"A"), 0);
}

TEST_F(ProfileStoreTest, ExportedProfileImportsIntoAnEmptyStoreWithItsMacrosAndUserActions) {
  StoreMacro(u"Fire");
  StoreUserAction(u"Launch");
  const std::vector<storage::ButtonMapping> mappings = {
      Mapping(1, 6, 5, {1, 0, 0}),
      Mapping(4, 2, 0, {1, 0, 0}, u"Fire"),
      Mapping(5, 3, 0, {0, 0, 9}, u"Launch"),
  };
  StoreProfile(u"Game", mappings);
  storage::MacroRecord macro;
  storage::UserActionRecord action;
  ASSERT_EQ(Macros().Load(u"Fire", macro), S_OK);
  ASSERT_EQ(UserActions().Load(u"Launch", action), S_OK);
  const std::wstring file = TempFile(L"profile_export");
  ASSERT_EQ(profile_->ExportProfile(L"Game", file.c_str()), S_OK);

  EmptyStore();
  storage::ProfileRecord loaded;
  ASSERT_EQ(Profiles().Load(u"Game", loaded), E_FAIL);  // the store is empty
  ASSERT_EQ(profile_->ImportProfile(L"Game", file.c_str()), S_OK);
  ASSERT_EQ(Profiles().Load(u"Game", loaded), S_OK);
  EXPECT_EQ(loaded.version, 4);
  EXPECT_EQ(loaded.mappings, mappings);
  storage::MacroRecord imported_macro;
  storage::UserActionRecord imported_action;
  ASSERT_EQ(Macros().Load(u"Fire", imported_macro), S_OK);
  ASSERT_EQ(UserActions().Load(u"Launch", imported_action), S_OK);
  EXPECT_EQ(imported_macro, macro);
  EXPECT_EQ(imported_action, action);
  EXPECT_EQ(RefCount(Macros(), u"Fire"), 1);  // counted once, by the imported profile
  EXPECT_EQ(RefCount(UserActions(), u"Launch"), 1);

  EXPECT_EQ(profile_->ImportProfile(L"Other", file.c_str()), E_FAIL);  // not in the file
  EXPECT_EQ(profile_->ExportProfile(L"Missing", TempFile(L"profile_none").c_str()), E_FAIL);
}

TEST_F(ProfileStoreTest, GroupsAndAllProfilesRoundTripThroughFiles) {
  StoreGroupOfTwo();
  StoreProfile(u"Loose");
  const std::wstring group_file = TempFile(L"profile_group");
  const std::wstring all_groups = TempFile(L"profile_groups");
  const std::wstring all_profiles = TempFile(L"profile_all");
  ASSERT_EQ(profile_->ExportProfileGroup(L"G", group_file.c_str()), S_OK);
  ASSERT_EQ(profile_->ExportAllProfileGroups(all_groups.c_str()), S_OK);
  ASSERT_EQ(profile_->ExportAllProfiles(all_profiles.c_str()), S_OK);

  const struct {
    const char* what;
    std::function<HRESULT()> import;
    LONG groups;
    std::vector<std::u16string> profiles;
  } cases[] = {
      {"one group", [&] { return profile_->ImportProfileGroup(L"G", group_file.c_str()); }, 1, {u"A", u"B"}},
      {"all groups", [&] { return profile_->ImportAllProfileGroups(all_groups.c_str()); }, 1, {u"A", u"B"}},
      {"all profiles", [&] { return profile_->ImportAllProfiles(all_profiles.c_str()); }, 0,
       {u"A", u"B", u"Loose"}},
  };
  for (const auto& c : cases) {
    EmptyStore();
    ASSERT_EQ(c.import(), S_OK) << c.what;
    LONG groups = -1;
    ASSERT_EQ(profile_->LoadNumProfileGroups(&groups), S_OK);
    EXPECT_EQ(groups, c.groups) << c.what;
    for (const std::u16string& name : c.profiles) {
      storage::ProfileRecord record;
      EXPECT_EQ(Profiles().Load(name, record), S_OK) << c.what;
      EXPECT_EQ(RefCount(Profiles(), name), name == u"Loose" ? 0 : c.groups) << c.what;
    }
  }
  EXPECT_EQ(profile_->ImportProfile(L"A", TempFile(L"profile_missing").c_str()), E_FAIL);  // no file
}

// The store works without the device; the exchange files need the device entry, as for macros
// and user actions.
TEST_F(ProfileStoreTest, ExchangeFailsOnceTheDeviceTypeIsClosedOrGone) {
  StoreGroupOfTwo();
  const std::wstring file = TempFile(L"profile_closed");
  ASSERT_EQ(open_->CloseDeviceInterface(), S_OK);
  const struct {
    const char* what;
    std::function<HRESULT()> run;
  } cases[] = {
      {"export profile", [&] { return profile_->ExportProfile(L"A", file.c_str()); }},
      {"export group", [&] { return profile_->ExportProfileGroup(L"G", file.c_str()); }},
      {"export all profiles", [&] { return profile_->ExportAllProfiles(file.c_str()); }},
      {"export all groups", [&] { return profile_->ExportAllProfileGroups(file.c_str()); }},
      {"import profile", [&] { return profile_->ImportProfile(L"A", file.c_str()); }},
      {"import group", [&] { return profile_->ImportProfileGroup(L"G", file.c_str()); }},
      {"import all profiles", [&] { return profile_->ImportAllProfiles(file.c_str()); }},
      {"import all groups", [&] { return profile_->ImportAllProfileGroups(file.c_str()); }},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(c.run(), E_FAIL) << c.what;
    EXPECT_EQ(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES) << c.what;
  }
  open_.Reset();  // the device type object goes
  EXPECT_EQ(profile_->ExportProfile(L"A", file.c_str()), E_FAIL);
  EXPECT_EQ(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
  LONG count = 0;
  EXPECT_EQ(profile_->LoadNumProfilesInGroup(L"G", &count), S_OK);  // the store stays usable
  EXPECT_EQ(count, 2);
}

}  // namespace
}  // namespace quill::test
