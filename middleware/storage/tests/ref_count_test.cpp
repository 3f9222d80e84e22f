// Reference counts that tie groups, profiles, macros and user actions together, and the
// guarantee that a store operation which fails changes nothing.
#include <gtest/gtest.h>

#include <functional>

#include "middleware/storage/storage_errors.h"
#include "middleware/storage/tests/store_fixture.h"

namespace quill::storage::testing {
namespace {

class RefCountTest : public StoreTest {
 protected:
  void SetUp() override {
    StoreTest::SetUp();
    StoreSampleSet();
  }
};

TEST_F(RefCountTest, SampleSetCounts) {
  EXPECT_EQ(RefCount(profiles(), u"Game"), 1);
  EXPECT_EQ(RefCount(profiles(), u"Work"), 1);
  EXPECT_EQ(RefCount(macros(), u"Alpha"), 2);  // profile Game and spell book Book
  EXPECT_EQ(RefCount(macros(), u"Beta"), 1);   // profile Work
  EXPECT_EQ(RefCount(macros(), u"Gamma"), 1);  // spell book Book
  EXPECT_EQ(RefCount(actions(), u"Launch"), 1);
}

TEST_F(RefCountTest, GroupResavesMoveCountsFromOldToNewMembers) {
  ASSERT_EQ(groups->Save(u"All", {u"Game", u"Work"}), kS_OK);
  EXPECT_EQ(RefCount(profiles(), u"Game"), 1);
  EXPECT_EQ(RefCount(profiles(), u"Work"), 1);
  ASSERT_EQ(groups->Save(u"all", {u"Work", u"Work"}), kS_OK);  // names ignore case
  EXPECT_EQ(RefCount(profiles(), u"Game"), 0);
  EXPECT_EQ(RefCount(profiles(), u"Work"), 2);
  ASSERT_EQ(groups->Save(u"Second", {u"Game"}), kS_OK);
  ASSERT_EQ(groups->Delete(u"All"), kS_OK);
  EXPECT_EQ(RefCount(profiles(), u"Game"), 1);
  EXPECT_EQ(RefCount(profiles(), u"Work"), 0);
  ASSERT_EQ(books->Save(u"Book", {u"Beta"}), kS_OK);
  EXPECT_EQ(RefCount(macros(), u"Alpha"), 1);
  EXPECT_EQ(RefCount(macros(), u"Beta"), 2);
  EXPECT_EQ(RefCount(macros(), u"Gamma"), 0);
}

TEST_F(RefCountTest, DeletesWaitForTheLastReference) {
  EXPECT_EQ(profiles().Delete(u"Game"), kE_FAIL);
  EXPECT_EQ(macros().Delete(u"Gamma"), kE_FAIL);
  EXPECT_EQ(actions().Delete(u"Launch"), kE_FAIL);
  const std::string before = registry.Dump();
  EXPECT_EQ(macros().Delete(u"Alpha"), kE_FAIL);
  EXPECT_EQ(registry.Dump(), before);

  ASSERT_EQ(books->Delete(u"Book"), kS_OK);
  EXPECT_EQ(macros().Delete(u"Gamma"), kS_OK);
  EXPECT_EQ(macros().Delete(u"Alpha"), kE_FAIL);  // profile Game still names it
  ASSERT_EQ(groups->Delete(u"All"), kS_OK);
  ASSERT_EQ(profiles().Delete(u"Game"), kS_OK);
  EXPECT_EQ(RefCount(macros(), u"Alpha"), 0);
  EXPECT_EQ(RefCount(actions(), u"Launch"), 0);
  EXPECT_EQ(macros().Delete(u"Alpha"), kS_OK);
  EXPECT_EQ(actions().Delete(u"Launch"), kS_OK);
  EXPECT_EQ(macros().Delete(u"Alpha"), kE_FAIL);  // gone
}

TEST_F(RefCountTest, ResavesKeepTheirOwnCountAndRecountTheirReferences) {
  ASSERT_EQ(macros().Save(u"Alpha", SampleMacro(5, 9)), kS_OK);
  EXPECT_EQ(RefCount(macros(), u"Alpha"), 2);
  ASSERT_EQ(actions().Save(u"Launch", UserActionRecord{9, {}}), kS_OK);
  EXPECT_EQ(RefCount(actions(), u"Launch"), 1);

  ASSERT_EQ(profiles().Save(u"Game", SampleProfile({MacroMapping(0, u"Gamma"), MacroMapping(1, u"Gamma")})), kS_OK);
  EXPECT_EQ(RefCount(profiles(), u"Game"), 1);  // still listed by All
  EXPECT_EQ(RefCount(macros(), u"Alpha"), 1);
  EXPECT_EQ(RefCount(macros(), u"Gamma"), 3);
  EXPECT_EQ(RefCount(actions(), u"Launch"), 0);
}

TEST_F(RefCountTest, LastActiveNeverCounts) {
  const ProfileRecord profile = SampleProfile({MacroMapping(0, u"Alpha"), UserActionMapping(1, u"Launch"),
                                               MacroMapping(2, u"NotStored")});
  ASSERT_EQ(privates->Save(kLastActiveProfile, profile), kS_OK);
  ASSERT_EQ(privates->Save(kLastActiveProfile, profile), kS_OK);
  EXPECT_EQ(RefCount(macros(), u"Alpha"), 2);
  EXPECT_EQ(RefCount(actions(), u"Launch"), 1);
  ProfileRecord loaded;
  ASSERT_EQ(privates->Load(kLastActiveProfile, loaded), kS_OK);
  EXPECT_EQ(loaded, profile);
}

TEST_F(RefCountTest, CountsNeverGoBelowZero) {
  ASSERT_EQ(profiles().WriteRefCount(u"Work", 0), kS_OK);  // an edited or damaged store
  ASSERT_EQ(groups->Delete(u"All"), kS_OK);
  EXPECT_EQ(RefCount(profiles(), u"Work"), 0);
  EXPECT_EQ(RefCount(profiles(), u"Game"), 0);
  EXPECT_EQ(profiles().WriteRefCount(u"Work", -1), kE_INVALIDARG);
  PutRawValue(kMacrosSuffix, u"Gamma", u"RefCount", kRegDword, Words({-5}));
  EXPECT_EQ(RefCount(macros(), u"Gamma"), 0);
  ASSERT_EQ(books->Delete(u"Book"), kS_OK);
  uint32_t type = 0;
  EXPECT_EQ(RawValue(kMacrosSuffix, u"Gamma", u"RefCount", type), Words({0}));
}

TEST_F(RefCountTest, ReadAndWriteRefCountOfMissingItems) {
  int32_t count = 7;
  EXPECT_EQ(macros().ReadRefCount(u"Nobody", count), kE_FAIL);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(macros().WriteRefCount(u"Nobody", 1), kE_FAIL);
}

// A failing save or delete leaves the whole store as it was: no count raised or lowered, the
// previously stored object intact.
TEST_F(RefCountTest, FailedSavesChangeNothing) {
  struct Case {
    const char* what;
    std::function<HResult(RefCountTest&)> operation;
  };
  const Case cases[] = {
      {"group with a missing member",
       [](RefCountTest& t) { return t.groups->Save(u"All", {u"Work", u"Missing", u"Game"}); }},
      {"new group with a missing member",
       [](RefCountTest& t) { return t.groups->Save(u"New", {u"Game", u"Missing"}); }},
      {"spell book with a missing member",
       [](RefCountTest& t) { return t.books->Save(u"Book", {u"Beta", u"Missing"}); }},
      {"group with a member name that reaches another key",
       [](RefCountTest& t) { return t.groups->Save(u"All", {u"Game", u"..\\Macros\\Alpha"}); }},
      {"profile naming a missing macro",
       [](RefCountTest& t) {
         return t.profiles().Save(u"Game", SampleProfile({MacroMapping(0, u"Beta"), MacroMapping(1, u"Missing")}));
       }},
      {"profile naming a missing user action",
       [](RefCountTest& t) {
         return t.profiles().Save(u"Work", SampleProfile({UserActionMapping(0, u"Missing")}));
       }},
      {"profile naming a macro by an empty name",
       [](RefCountTest& t) { return t.profiles().Save(u"New", SampleProfile({MacroMapping(0, u"")})); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string before = registry.Dump();
    EXPECT_TRUE(Failed(c.operation(*this)));
    EXPECT_EQ(registry.Dump(), before);
  }
}

// A registry write that fails part way through an operation is undone: counts go back and the
// old item is written back.
TEST_F(RefCountTest, RegistryFailuresPartWayAreUndone) {
  struct Case {
    const char* what;
    std::u16string failing_key;  // ends with this path
    std::u16string failing_value;
    std::function<HResult(RefCountTest&)> operation;
  };
  const Case cases[] = {
      {"group member value", u"ProfileGroups\\All", u"0001",
       [](RefCountTest& t) { return t.groups->Save(u"All", {u"Work", u"Game"}); }},
      {"member count", u"Profiles\\Work", u"RefCount",
       [](RefCountTest& t) { return t.groups->Save(u"All", {u"Game"}); }},
      {"group delete's count", u"Profiles\\Work", u"RefCount",
       [](RefCountTest& t) { return t.groups->Delete(u"All"); }},
      {"profile mapping value", u"Profiles\\Game", u"0001",
       [](RefCountTest& t) {
         return t.profiles().Save(u"Game", SampleProfile({MacroMapping(0, u"Beta"), MacroMapping(1, u"Gamma")}));
       }},
      {"macro element", u"Macros\\Alpha", u"0003",
       [](RefCountTest& t) { return t.macros().Save(u"Alpha", SampleMacro(6, 4)); }},
      {"user action data", u"UserActions\\Launch", u"Data",
       [](RefCountTest& t) { return t.actions().Save(u"Launch", UserActionRecord{1, {9}}); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string before = registry.Dump();
    int writes = 0;
    registry.SetFaultHook([&](RegistryOperation op, std::u16string_view key, std::u16string_view name) -> uint32_t {
      const bool hit = op == RegistryOperation::kSetValue && key.ends_with(c.failing_key) && name == c.failing_value;
      // Fail the first write only, so that the undo can write.
      return hit && writes++ == 0 ? 1392 /* ERROR_FILE_CORRUPT */ : 0;
    });
    EXPECT_EQ(c.operation(*this), HResultFromWin32(1392));
    registry.SetFaultHook(nullptr);
    EXPECT_GE(writes, 1) << "the failing write was not reached";
    EXPECT_EQ(registry.Dump(), before);
  }
}

// A group whose member was removed behind the store's back can still be deleted and re-saved.
TEST_F(RefCountTest, GroupWithAVanishedMemberCanBeReleased) {
  std::unique_ptr<RegistryKey> key;
  ASSERT_EQ(machine->OpenSubkey(CollectionPath(kDevice, kProfilesSuffix), key), kS_OK);
  ASSERT_EQ(key->DeleteSubkey(u"Work"), kS_OK);
  ASSERT_EQ(groups->Save(u"All", {u"Game"}), kS_OK);
  EXPECT_EQ(RefCount(profiles(), u"Game"), 1);
  ASSERT_EQ(groups->Delete(u"All"), kS_OK);
  EXPECT_EQ(RefCount(profiles(), u"Game"), 0);
}

}  // namespace
}  // namespace quill::storage::testing
