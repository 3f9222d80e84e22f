// Registry layout of every stored value, byte for byte, and the checks on reading them back.
#include <gtest/gtest.h>

#include "middleware/storage/storage_errors.h"
#include "middleware/storage/tests/store_fixture.h"

namespace quill::storage::testing {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Concat(Bytes a, const Bytes& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class StoreLayoutTest : public StoreTest {
 protected:
  void ExpectValue(std::u16string_view collection, std::u16string_view item, std::u16string_view value,
                   uint32_t type, const Bytes& bytes) {
    uint32_t stored_type = 0;
    EXPECT_EQ(RawValue(collection, item, value, stored_type), bytes)
        << std::string(value.begin(), value.end());
    EXPECT_EQ(stored_type, type) << std::string(value.begin(), value.end());
  }
};

TEST_F(StoreLayoutTest, CollectionsLieUnderTheDeviceKey) {
  for (std::u16string_view suffix : {kProfileGroupsSuffix, kProfilesSuffix, kPrivateProfilesSuffix,
                                     kSpellBooksSuffix, kMacrosSuffix, kUserActionsSuffix}) {
    std::unique_ptr<RegistryKey> key;
    std::u16string path = u"Software\\Torvo\\TorvoControl_0C31";
    path += suffix;
    EXPECT_EQ(machine->OpenSubkey(path, key), kS_OK) << std::string(suffix.begin(), suffix.end());
  }
}

TEST_F(StoreLayoutTest, MacroValues) {
  MacroRecord macro;
  macro.version = 7;
  macro.options = 1;
  macro.type = 2;
  macro.repeat = -1;
  macro.icon_file = u"a.ico";
  macro.elements = {{0x11, {0x01020304, -2, 3}, 100, 0x7FFFFFFF}};
  ASSERT_EQ(macros().Save(u"M", macro), kS_OK);
  ExpectValue(kMacrosSuffix, u"M", u"RefCount", kRegDword, Words({0}));
  ExpectValue(kMacrosSuffix, u"M", u"Version", kRegDword, Words({7}));
  ExpectValue(kMacrosSuffix, u"M", u"Options", kRegDword, Words({1}));
  ExpectValue(kMacrosSuffix, u"M", u"Type", kRegDword, Words({2}));
  ExpectValue(kMacrosSuffix, u"M", u"Repeat", kRegDword, Bytes{0xFF, 0xFF, 0xFF, 0xFF});
  ExpectValue(kMacrosSuffix, u"M", u"IconFile", kRegSz, Bytes{'a', 0, '.', 0, 'i', 0, 'c', 0, 'o', 0, 0, 0});
  ExpectValue(kMacrosSuffix, u"M", u"NumElements", kRegDword, Words({1}));
  ExpectValue(kMacrosSuffix, u"M", u"0000", kRegBinary,
              Bytes{0x11, 0, 0, 0, 0x04, 0x03, 0x02, 0x01, 0xFE, 0xFF, 0xFF, 0xFF,
                    3, 0, 0, 0, 100, 0, 0, 0, 0xFF, 0xFF, 0xFF, 0x7F});
}

TEST_F(StoreLayoutTest, MappingEntriesCarryTheNameOnlyForMacrosAndUserActions) {
  ASSERT_EQ(macros().Save(u"Mac", SampleMacro(1)), kS_OK);
  ASSERT_EQ(actions().Save(u"UA", UserActionRecord{}), kS_OK);
  ButtonMapping macro = MacroMapping(4, u"Mac");
  macro.action_type = 0x55;  // the union word: never stored for a naming type
  ProfileRecord profile = SampleProfile({KeyMapping(1, 30), macro, UserActionMapping(5, u"UA")}, 9);
  ASSERT_EQ(profiles().Save(u"P", profile), kS_OK);

  ExpectValue(kProfilesSuffix, u"P", u"RefCount", kRegDword, Words({0}));
  ExpectValue(kProfilesSuffix, u"P", u"Version", kRegDword, Words({9}));
  ExpectValue(kProfilesSuffix, u"P", u"NumMappings", kRegDword, Words({3}));
  ExpectValue(kProfilesSuffix, u"P", u"0000", kRegBinary, Words({1, 1, 4, 30, 0, -1}));
  ExpectValue(kProfilesSuffix, u"P", u"0001", kRegBinary, Concat(Words({4, 2, 0, 7, 8, 9}), Utf16Z(u"Mac")));
  ExpectValue(kProfilesSuffix, u"P", u"0002", kRegBinary, Concat(Words({5, 3, 0, 7, 8, 9}), Utf16Z(u"UA")));
  uint32_t type = 0;
  EXPECT_EQ(RawValue(kProfilesSuffix, u"P", u"0001", type).size(), 26u + 2 * 3);

  ProfileRecord loaded;
  ASSERT_EQ(profiles().Load(u"P", loaded), kS_OK);
  macro.action_type = 0;
  EXPECT_EQ(loaded, SampleProfile({KeyMapping(1, 30), macro, UserActionMapping(5, u"UA")}, 9));
}

TEST_F(StoreLayoutTest, GroupUserActionAndPrivateProfileValues) {
  ASSERT_EQ(macros().Save(u"A", SampleMacro(0)), kS_OK);
  ASSERT_EQ(books->Save(u"Book", {u"A", u"A"}), kS_OK);
  ExpectValue(kSpellBooksSuffix, u"Book", u"NumMacros", kRegDword, Words({2}));
  ExpectValue(kSpellBooksSuffix, u"Book", u"0000", kRegSz, Utf16Z(u"A"));
  ExpectValue(kSpellBooksSuffix, u"Book", u"0001", kRegSz, Utf16Z(u"A"));
  EXPECT_EQ(RefCount(macros(), u"A"), 2);

  ASSERT_EQ(actions().Save(u"UA", UserActionRecord{-3, {1, 2, 3}}), kS_OK);
  ExpectValue(kUserActionsSuffix, u"UA", u"Code", kRegDword, Words({-3}));
  ExpectValue(kUserActionsSuffix, u"UA", u"NumData", kRegDword, Words({3}));
  ExpectValue(kUserActionsSuffix, u"UA", u"Data", kRegBinary, Bytes{1, 2, 3});

  ASSERT_EQ(privates->Save(kLastActiveProfile, SampleProfile({MacroMapping(0, u"A")}, 4)), kS_OK);
  ExpectValue(kPrivateProfilesSuffix, u"LastActive", u"Version", kRegDword, Words({4}));
  ExpectValue(kPrivateProfilesSuffix, u"LastActive", u"0000", kRegBinary,
              Concat(Words({0, 2, 0, 7, 8, 9}), Utf16Z(u"A")));
  uint32_t type = 0;
  EXPECT_TRUE(RawValue(kPrivateProfilesSuffix, u"LastActive", u"RefCount", type).empty());
}

TEST(IndexedValueNameTest, FourDigitsThenGrows) {
  EXPECT_EQ(IndexedValueName(0), u"0000");
  EXPECT_EQ(IndexedValueName(42), u"0042");
  EXPECT_EQ(IndexedValueName(9999), u"9999");
  EXPECT_EQ(IndexedValueName(10000), u"10000");
}

// A stored value of the wrong type or size, or a count that cannot be, makes the load fail
// instead of being read past or cut silently.
TEST_F(StoreLayoutTest, LoadsRefuseValuesOfTheWrongTypeOrSize) {
  struct Case {
    const char* what;
    std::u16string_view collection;
    std::u16string_view value;
    uint32_t type;
    Bytes data;
    HResult expected;
  };
  const Case cases[] = {
      {"dword as string", kMacrosSuffix, u"Version", kRegSz, Utf16Z(u"1"), kE_INVALID_DATA},
      {"short dword", kMacrosSuffix, u"Repeat", kRegDword, Bytes{1, 0}, kE_INVALID_DATA},
      {"long dword", kMacrosSuffix, u"Type", kRegDword, Bytes(8, 0), kE_INVALID_DATA},
      {"negative count", kMacrosSuffix, u"NumElements", kRegDword, Words({-1}), kE_INVALID_DATA},
      {"count beyond the values", kMacrosSuffix, u"NumElements", kRegDword, Words({2}), kE_FILE_NOT_FOUND},
      {"element of 23 bytes", kMacrosSuffix, u"0000", kRegBinary, Bytes(23, 0), kE_INVALID_DATA},
      {"element of 25 bytes", kMacrosSuffix, u"0000", kRegBinary, Bytes(25, 0), kE_INVALID_DATA},
      {"element as dword", kMacrosSuffix, u"0000", kRegDword, Words({0}), kE_INVALID_DATA},
      {"icon of odd size", kMacrosSuffix, u"IconFile", kRegSz, Bytes{'a', 0, 0}, kE_INVALID_DATA},
      {"icon too long", kMacrosSuffix, u"IconFile", kRegSz, Bytes(2 * 32769, 'a'), kE_MORE_DATA},
      {"key mapping with a tail", kProfilesSuffix, u"0000", kRegBinary, Bytes(26, 0), kE_INVALID_DATA},
      {"short mapping", kProfilesSuffix, u"0000", kRegBinary, Bytes(20, 0), kE_INVALID_DATA},
      {"macro mapping without name", kProfilesSuffix, u"0001", kRegBinary, Words({1, 2, 0, 0, 0, 0}), kE_INVALID_DATA},
      {"mapping over 544 bytes", kProfilesSuffix, u"0001", kRegBinary,
       Concat(Words({1, 2, 0, 0, 0, 0}), Bytes(522, 'a')), kE_INVALID_DATA},
      {"data shorter than NumData", kUserActionsSuffix, u"Data", kRegBinary, Bytes{1, 2}, kE_INVALID_DATA},
      {"data longer than NumData", kUserActionsSuffix, u"Data", kRegBinary, Bytes{1, 2, 3, 4}, kE_INVALID_DATA},
      {"NumData beyond the limit", kUserActionsSuffix, u"NumData", kRegDword, Words({1 << 21}), kE_INVALID_DATA},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    MemoryRegistry fresh;
    machine = fresh.Root();
    OpenStores();
    ASSERT_EQ(macros().Save(u"Mac", SampleMacro(1)), kS_OK);
    ASSERT_EQ(actions().Save(u"UA", UserActionRecord{1, {1, 2, 3}}), kS_OK);
    ASSERT_EQ(profiles().Save(u"P", SampleProfile({KeyMapping(0, 1), MacroMapping(1, u"Mac")})), kS_OK);
    const std::u16string_view item = c.collection == kMacrosSuffix ? u"Mac" : c.collection == kProfilesSuffix ? u"P" : u"UA";
    PutRawValue(c.collection, item, c.value, c.type, c.data);
    MacroRecord macro;
    ProfileRecord profile;
    UserActionRecord action;
    const HResult hr = c.collection == kMacrosSuffix     ? macros().Load(item, macro)
                       : c.collection == kProfilesSuffix ? profiles().Load(item, profile)
                                                         : actions().Load(item, action);
    EXPECT_EQ(hr, c.expected);
    EXPECT_EQ(macro, MacroRecord{});
    EXPECT_EQ(profile, ProfileRecord{});
    EXPECT_EQ(action, UserActionRecord{});
  }
}

TEST_F(StoreLayoutTest, StringsReadUpToTheirTerminatorOrTheirEnd) {
  ASSERT_EQ(macros().Save(u"Mac", SampleMacro(0)), kS_OK);
  MacroRecord macro;
  PutRawValue(kMacrosSuffix, u"Mac", u"IconFile", kRegSz, Bytes{'a', 0, 'b', 0});  // no terminator
  ASSERT_EQ(macros().Load(u"Mac", macro), kS_OK);
  EXPECT_EQ(macro.icon_file, u"ab");
  PutRawValue(kMacrosSuffix, u"Mac", u"IconFile", kRegSz, Bytes{'a', 0, 0, 0, 'b', 0, 0, 0});
  ASSERT_EQ(macros().Load(u"Mac", macro), kS_OK);
  EXPECT_EQ(macro.icon_file, u"a");
}

// Every name the registry can hold as a key reads back wherever the store lists it.
TEST_F(StoreLayoutTest, LongestNamesReadBackAsMembersAndMappings) {
  const std::u16string longest(kMaxItemNameLength, u'n');
  ASSERT_EQ(macros().Save(longest, SampleMacro(1)), kS_OK);
  ASSERT_EQ(books->Save(u"Book", {longest}), kS_OK);
  ASSERT_EQ(profiles().Save(u"P", SampleProfile({MacroMapping(0, longest)})), kS_OK);
  std::vector<std::u16string> members;
  ASSERT_EQ(books->LoadMembers(u"Book", 1, members), kS_OK);
  EXPECT_EQ(members, std::vector<std::u16string>{longest});
  ProfileRecord profile;
  ASSERT_EQ(profiles().Load(u"P", profile), kS_OK);
  EXPECT_EQ(profile.mappings.at(0).name, longest);
  std::vector<std::u16string> names;
  ASSERT_EQ(macros().List(1, names), kS_OK);
  EXPECT_EQ(names, std::vector<std::u16string>{longest});
}

}  // namespace
}  // namespace quill::storage::testing
