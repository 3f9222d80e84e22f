// The exchange file: its exact layout, merging into existing files, encodings, malformed
// files, and commits that never leave a file half written.
#include <gtest/gtest.h>

#include <algorithm>

#include "middleware/storage/exchange_elements.h"
#include "middleware/storage/exchange_file.h"
#include "middleware/storage/storage_errors.h"
#include "middleware/storage/tests/exchange_fixture.h"

namespace quill::storage::testing {
namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::string_view kDeclaration = "<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n\r\n";
constexpr std::string_view kKeyMappingLine =
    "\t\t<Key value=\"0000\" type=\"BINARY\" data=\"0100000001000000040000001E00000000000000FFFFFFFF\"></Key>\r\n";

std::string ProfileLines(std::string_view name, int version, int count, std::string_view mapping_lines = "") {
  return "\t<Profile name=\"" + std::string(name) + "\">\r\n" +
         "\t\t<Key value=\"Version\" type=\"DWORD\" data=\"" + std::to_string(version) + "\"></Key>\r\n" +
         "\t\t<Key value=\"NumMappings\" type=\"DWORD\" data=\"" + std::to_string(count) + "\"></Key>\r\n" +
         std::string(mapping_lines) + "\t</Profile>\r\n";
}

std::string Section(std::string_view elements, std::string_view device = "TorvoControl_0C31") {
  return "<" + std::string(device) + ">\r\n" + std::string(elements) + "</" + std::string(device) + ">\r\n";
}

std::string NewFile(std::string_view elements) {
  return std::string(kBom) + std::string(kDeclaration) + Section(elements) + "\r\n\r\n";
}

class ExchangeFileTest : public ExchangeTest {
 protected:
  void SetUp() override {
    ExchangeTest::SetUp();
    ASSERT_EQ(profiles().Save(u"P", SampleProfile({KeyMapping(1, 30)}, 1)), kS_OK);
    ASSERT_EQ(profiles().Save(u"Empty", SampleProfile({}, -1)), kS_OK);
  }

  // Imports every profile of the file into a fresh store and returns it.
  HResult ImportInto(MemoryRegistry& fresh, std::u16string_view device = kDevice) {
    auto root = fresh.Root();
    return StoreExchange(*root, files, std::u16string(device)).ImportAllProfiles(kFile);
  }
};

TEST_F(ExchangeFileTest, NewFileByteForByte) {
  ASSERT_EQ(exchange.ExportProfile(u"P", kFile), kS_OK);
  ASSERT_EQ(exchange.ExportProfile(u"Empty", kFile), kS_OK);
  EXPECT_EQ(files.GetText(kFile), NewFile(ProfileLines("P", 1, 1, kKeyMappingLine) + ProfileLines("Empty", -1, 0)));

  MemoryRegistry fresh;
  ASSERT_EQ(ImportInto(fresh), kS_OK);
  auto root = fresh.Root();
  std::unique_ptr<ProfileStore> store;
  ASSERT_EQ(ProfileStore::Create(*root, kDevice, store), kS_OK);
  ProfileRecord loaded;
  ASSERT_EQ(store->Load(u"Empty", loaded), kS_OK);
  EXPECT_EQ(loaded, SampleProfile({}, -1));  // "-1" reads back as -1
  ASSERT_EQ(store->Load(u"P", loaded), kS_OK);
  EXPECT_EQ(loaded, SampleProfile({KeyMapping(1, 30)}, 1));
}

TEST_F(ExchangeFileTest, KindsAreWrittenInTheirOrder) {
  ASSERT_EQ(macros().Save(u"M", SampleMacro(0)), kS_OK);
  ASSERT_EQ(actions().Save(u"U", UserActionRecord{2, {0xAB}}), kS_OK);
  ASSERT_EQ(groups->Save(u"G", {u"Empty"}), kS_OK);
  ASSERT_EQ(books->Save(u"B", {u"M"}), kS_OK);
  ASSERT_EQ(exchange.ExportUserAction(u"U", kFile), kS_OK);
  ASSERT_EQ(exchange.ExportSpellBook(u"B", kFile), kS_OK);
  ASSERT_EQ(exchange.ExportProfileGroup(u"G", kFile), kS_OK);
  EXPECT_EQ(files.GetText(kFile),
            NewFile("\t<ProfileGroup name=\"G\">\r\n\t\t<ProfilePtr ptr=\"Empty\"></ProfilePtr>\r\n\t</ProfileGroup>\r\n" +
                    ProfileLines("Empty", -1, 0) +
                    "\t<SpellBook name=\"B\">\r\n\t\t<MacroPtr ptr=\"M\"></MacroPtr>\r\n\t</SpellBook>\r\n"
                    "\t<Macro name=\"M\">\r\n"
                    "\t\t<Key value=\"Version\" type=\"DWORD\" data=\"3\"></Key>\r\n"
                    "\t\t<Key value=\"Options\" type=\"DWORD\" data=\"2\"></Key>\r\n"
                    "\t\t<Key value=\"Type\" type=\"DWORD\" data=\"1\"></Key>\r\n"
                    "\t\t<Key value=\"Repeat\" type=\"DWORD\" data=\"1\"></Key>\r\n"
                    "\t\t<Key value=\"IconFile\" type=\"STRING\" data=\"icons\\key.png\"></Key>\r\n"
                    "\t\t<Key value=\"NumElements\" type=\"DWORD\" data=\"0\"></Key>\r\n"
                    "\t</Macro>\r\n"
                    "\t<UserAction name=\"U\">\r\n"
                    "\t\t<Key value=\"Code\" type=\"DWORD\" data=\"2\"></Key>\r\n"
                    "\t\t<Key value=\"NumData\" type=\"DWORD\" data=\"1\"></Key>\r\n"
                    "\t\t<Key value=\"Data\" type=\"BINARY\" data=\"AB\"></Key>\r\n"
                    "\t</UserAction>\r\n"));
}

TEST_F(ExchangeFileTest, ExportingAgainReplacesInPlace) {
  ASSERT_EQ(exchange.ExportProfile(u"P", kFile), kS_OK);
  ASSERT_EQ(exchange.ExportProfile(u"Empty", kFile), kS_OK);
  const std::string first = files.GetText(kFile);
  ASSERT_EQ(exchange.ExportProfile(u"P", kFile), kS_OK);
  EXPECT_EQ(files.GetText(kFile), first);  // nothing grows on a re-export
  ASSERT_EQ(profiles().Save(u"P", SampleProfile({}, 5)), kS_OK);
  ASSERT_EQ(exchange.ExportProfile(u"P", kFile), kS_OK);
  EXPECT_EQ(files.GetText(kFile), NewFile(ProfileLines("P", 5, 0) + ProfileLines("Empty", -1, 0)));
}

TEST_F(ExchangeFileTest, SecondDeviceSectionIsAppendedAndTheFirstKeptByteForByte) {
  ASSERT_EQ(exchange.ExportProfile(u"P", kFile), kS_OK);
  const std::string first = files.GetText(kFile);

  auto second_machine = registry.Root();
  StoreExchange second(*second_machine, files, u"TorvoControl_0C32");
  std::unique_ptr<ProfileStore> second_profiles;
  ASSERT_EQ(ProfileStore::Create(*second_machine, u"TorvoControl_0C32", second_profiles), kS_OK);
  ASSERT_EQ(second_profiles->Save(u"Other", SampleProfile({}, 2)), kS_OK);
  ASSERT_EQ(second.ExportProfile(u"Other", kFile), kS_OK);
  const std::string second_section = Section(ProfileLines("Other", 2, 0), "TorvoControl_0C32");
  EXPECT_EQ(files.GetText(kFile), first + second_section);

  ASSERT_EQ(exchange.ExportProfile(u"Empty", kFile), kS_OK);
  EXPECT_EQ(files.GetText(kFile),
            NewFile(ProfileLines("P", 1, 1, kKeyMappingLine) + ProfileLines("Empty", -1, 0)) + second_section);
  ASSERT_EQ(second.ExportProfile(u"Other", kFile), kS_OK);
  EXPECT_EQ(files.GetText(kFile),
            NewFile(ProfileLines("P", 1, 1, kKeyMappingLine) + ProfileLines("Empty", -1, 0)) + second_section);

  MemoryRegistry fresh;
  EXPECT_EQ(ImportInto(fresh, u"TorvoControl_0C32"), kS_OK);
}

TEST_F(ExchangeFileTest, TextOutsideTheSectionAndAFileWithoutMarkAreKept) {
  const std::string head = "just a note\r\n<Other>\xFF\xFE raw bytes</Other>\r\n";
  const std::string tail = "trailer without line end";
  files.PutText(kFile, head + "<TorvoControl_0C31 >\r\n" + ProfileLines("Old", 3, 0) + "</TorvoControl_0C31>" + tail);
  ASSERT_EQ(exchange.ExportProfile(u"Empty", kFile), kS_OK);
  EXPECT_EQ(files.GetText(kFile), head + Section(ProfileLines("Old", 3, 0) + ProfileLines("Empty", -1, 0)) + tail);
}

TEST_F(ExchangeFileTest, Utf16LittleEndianFilesStayUtf16) {
  ASSERT_EQ(macros().Save(u"M\u00FCsli", SampleMacro(1)), kS_OK);
  const std::u16string head = u"\uFEFF<?xml version=\"1.0\" encoding=\"utf-16\" ?>\r\n\r\n";
  const std::u16string old = Widen(ProfileLines("Old", 3, 0));
  files.Put(kFile, Utf16LeBytes(head + u"<TorvoControl_0C31>\r\n" + old + u"</TorvoControl_0C31>\r\n\r\n\r\n"));
  ASSERT_EQ(exchange.ExportProfile(u"Empty", kFile), kS_OK);
  ASSERT_EQ(exchange.ExportMacro(u"M\u00FCsli", kFile), kS_OK);
  std::u16string macro_text;
  ASSERT_EQ(WriteElement(u"M\u00FCsli", SampleMacro(1), macro_text), kS_OK);
  std::u16string macro_lines;
  ASSERT_EQ(PrettyPrintElement(macro_text, macro_lines), kS_OK);
  EXPECT_EQ(files.Get(kFile), Utf16LeBytes(head + u"<TorvoControl_0C31>\r\n" + old + Widen(ProfileLines("Empty", -1, 0)) +
                                           macro_lines + u"</TorvoControl_0C31>\r\n\r\n\r\n"));
  MemoryRegistry fresh;
  auto root = fresh.Root();
  EXPECT_EQ(StoreExchange(*root, files, std::u16string(kDevice)).ImportMacro(u"M\u00FCsli", kFile), kS_OK);
}

TEST_F(ExchangeFileTest, NamesWithoutAFormInTheFileEncoding) {
  const std::u16string lone(u"bad\xD800name");
  ASSERT_EQ(macros().Save(lone, SampleMacro(0)), kS_OK);
  EXPECT_EQ(exchange.ExportMacro(lone, kFile), kE_NO_UNICODE_TRANSLATION);
  EXPECT_FALSE(files.Exists(kFile));
  files.Put(kFile, Utf16LeBytes(u"\uFEFF"));
  EXPECT_EQ(exchange.ExportMacro(lone, kFile), kS_OK);  // UTF-16 carries it as it is
}

TEST_F(ExchangeFileTest, RefusedByteOrderMarks) {
  const std::vector<uint8_t> marks[] = {{0xFE, 0xFF, 0, '<'}, {0x00, 0x00, 0xFE, 0xFF}, {0xFF, 0xFE, 0x00, 0x00}};
  for (const auto& mark : marks) {
    files.Put(kFile, mark);
    EXPECT_EQ(exchange.ExportProfile(u"P", kFile), kE_FAIL);
    EXPECT_EQ(exchange.ImportProfile(u"P", kFile), kE_FAIL);
    EXPECT_EQ(files.Get(kFile), mark);
  }
}

// The engine reads the whole file; tags and characters that would straddle a read step of a
// chunked reader are found like any other.
TEST_F(ExchangeFileTest, TagsAcrossReadBoundariesAreFound) {
  for (size_t boundary : {2048u, 4096u}) {
    for (bool utf16 : {false, true}) {
      SCOPED_TRACE(std::to_string(boundary) + (utf16 ? " UTF-16" : " UTF-8"));
      const size_t unit = utf16 ? 2 : 1;
      const size_t prefix = utf16 ? 1 : 3;  // the byte-order mark in units
      // The section start tag begins 5 units before the boundary; the element start tag one
      // step later does the same.
      std::u16string text(boundary / unit - 5 - prefix, u'x');
      text += u"<TorvoControl_0C31>\r\n";
      text += std::u16string(boundary / unit - 5 - (text.size() + prefix) % (boundary / unit), u' ');
      text += Widen(ProfileLines("Far", 8, 0));
      text += u"</TorvoControl_0C31>\r\n";
      if (utf16) {
        files.Put(kFile, Utf16LeBytes(u"\uFEFF" + text));
      } else {
        files.PutText(kFile, std::string(kBom) + std::string(text.begin(), text.end()));
      }
      const std::vector<uint8_t> bytes = files.Get(kFile);
      auto straddles = [&](std::u16string_view tag, size_t at) {
        const std::vector<uint8_t> pattern = utf16 ? Utf16LeBytes(tag) : Bytes(std::string(tag.begin(), tag.end()));
        const size_t pos = std::search(bytes.begin(), bytes.end(), pattern.begin(), pattern.end()) - bytes.begin();
        return pos < at && pos + pattern.size() > at;
      };
      ASSERT_TRUE(straddles(u"<TorvoControl_0C31>", boundary));
      ASSERT_TRUE(straddles(u"<Profile name=", 2 * boundary));
      MemoryRegistry fresh;
      EXPECT_EQ(ImportInto(fresh), kS_OK);
      auto root = fresh.Root();
      std::unique_ptr<ProfileStore> store;
      ASSERT_EQ(ProfileStore::Create(*root, kDevice, store), kS_OK);
      ProfileRecord loaded;
      EXPECT_EQ(store->Load(u"Far", loaded), kS_OK);
      EXPECT_EQ(loaded.version, 8);
    }
  }
}

TEST_F(ExchangeFileTest, MalformedSectionsAreRefusedAndLeaveTheFile) {
  struct Case {
    const char* what;
    std::string section;  // between the section tags
    HResult expected;
  };
  const std::string element = "<Profile name=\"A\"><Key value=\"NumMappings\" type=\"DWORD\" data=\"0\"></Key></Profile>";
  const Case cases[] = {
      {"element inside an element", "<Profile name=\"A\"><Macro name=\"B\"></Macro></Profile>", kE_FAIL},
      {"element of the same kind inside", "<Macro name=\"A\"><Macro name=\"B\"></Macro></Macro>", kE_FAIL},
      {"closing tag of another kind", "<Profile name=\"A\"></Macro>", kE_FAIL},
      {"closing tag with nothing open", element + "</Profile>", kE_FAIL},
      {"child outside every element", "<Key value=\"a\" type=\"b\" data=\"c\"></Key>", kE_FAIL},
      {"text outside every element", element + "stray", kE_FAIL},
      {"section ends inside an element", "<Profile name=\"A\">", kE_FAIL},
      {"angle bracket inside a tag", "<Profile name=\"a<b\"></Profile>", kE_FAIL},
      {"section end inside a tag's text", "<Profile name=\"A\"><Key value=\"", kE_FAIL},
      {"not UTF-8", "<Profile name=\"\xC3\x28\"></Profile>", kE_NO_UNICODE_TRANSLATION},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const std::string file = std::string(kBom) + "<TorvoControl_0C31>" + c.section + "</TorvoControl_0C31>\r\n";
    files.PutText(kFile, file);
    EXPECT_EQ(exchange.ExportProfile(u"P", kFile), c.expected);
    EXPECT_EQ(exchange.ImportProfile(u"A", kFile), c.expected);
    EXPECT_EQ(files.GetText(kFile), file);
  }
  files.Put(kFile, {0xFF, 0xFE, '<', 0, 'a'});  // UTF-16 with half a unit at the end
  EXPECT_EQ(exchange.ExportProfile(u"P", kFile), kE_NO_UNICODE_TRANSLATION);
  files.PutText(kFile, "<TorvoControl_0C31>" + element);  // no section end at all
  EXPECT_EQ(exchange.ExportProfile(u"P", kFile), kE_FAIL);
  files.PutText(kFile, "<TorvoControl_0C31 never closes");
  EXPECT_EQ(exchange.ExportProfile(u"P", kFile), kE_FAIL);
}

TEST_F(ExchangeFileTest, FailedCommitsLeaveTheOldFile) {
  ASSERT_EQ(exchange.ExportProfile(u"P", kFile), kS_OK);
  const std::string before = files.GetText(kFile);
  files.FailReplacements(kE_ACCESSDENIED);
  EXPECT_EQ(exchange.ExportProfile(u"Empty", kFile), kE_ACCESSDENIED);
  files.FailReplacements(kS_OK);
  EXPECT_EQ(files.GetText(kFile), before);

  // A group whose second member cannot be exported writes nothing at all.
  ASSERT_EQ(profiles().Save(u"Quote\"d", SampleProfile({})), kS_OK);
  ASSERT_EQ(groups->Save(u"G", {u"Empty", u"Quote\"d"}), kS_OK);
  const int replacements = files.replacements();
  EXPECT_EQ(exchange.ExportProfileGroup(u"G", kFile), kE_INVALID_NAME);
  EXPECT_EQ(files.replacements(), replacements);
  EXPECT_EQ(files.GetText(kFile), before);

  files.FailReads(kE_HANDLE);
  EXPECT_EQ(exchange.ExportProfile(u"P", kFile), kE_HANDLE);
}

// Attribute values are not escaped, so names and strings holding a double quote, "<" or ">"
// are refused instead of writing a file that reads back as something else.
TEST_F(ExchangeFileTest, TextsTheUnescapedFormatCannotCarryAreRefused) {
  for (std::u16string_view bad : {u"say \"hi\"", u"a<b", u"a>b"}) {
    SCOPED_TRACE(std::string(bad.begin(), bad.end()));
    MacroRecord macro = SampleMacro(0);
    ASSERT_EQ(macros().Save(bad, macro), kS_OK);
    ASSERT_EQ(macros().Save(u"Icon", macro), kS_OK);
    macro.icon_file = bad;
    ASSERT_EQ(macros().Save(u"IconBad", macro), kS_OK);
    ASSERT_EQ(books->Save(u"Book", {u"Icon", std::u16string(bad)}), kS_OK);
    ASSERT_EQ(actions().Save(bad, UserActionRecord{}), kS_OK);
    EXPECT_EQ(exchange.ExportMacro(bad, kFile), kE_INVALID_NAME);
    EXPECT_EQ(exchange.ExportMacro(u"IconBad", kFile), kE_INVALID_NAME);
    EXPECT_EQ(exchange.ExportSpellBook(u"Book", kFile), kE_INVALID_NAME);
    EXPECT_EQ(exchange.ExportUserAction(bad, kFile), kE_INVALID_NAME);
    EXPECT_EQ(exchange.ExportAllMacros(kFile), kE_INVALID_NAME);
    EXPECT_FALSE(files.Exists(kFile));
    ASSERT_EQ(books->Delete(u"Book"), kS_OK);
    ASSERT_EQ(macros().Delete(bad), kS_OK);
  }
}

TEST_F(ExchangeFileTest, ElementNamesCompareExactly) {
  ASSERT_EQ(exchange.ExportProfile(u"P", kFile), kS_OK);
  EXPECT_EQ(exchange.ImportProfile(u"p", kFile), kE_FAIL);
  EXPECT_EQ(exchange.ImportProfile(u"P", kFile), kS_OK);
}

TEST_F(ExchangeFileTest, ImportFromAMissingFileFailsAndCreatesNothing) {
  EXPECT_EQ(exchange.ImportProfile(u"P", kFile), kE_FAIL);
  EXPECT_EQ(exchange.ImportAllProfiles(kFile), kS_OK);  // nothing to import
  EXPECT_FALSE(files.Exists(kFile));
}

TEST_F(ExchangeFileTest, TheFirstOfTwoElementsOfOneNameIsTheOneUsed) {
  const std::string file = std::string(kBom) + Section(ProfileLines("Twice", 1, 0) + ProfileLines("Twice", 2, 0));
  files.PutText(kFile, file);
  ASSERT_EQ(exchange.ImportProfile(u"Twice", kFile), kS_OK);
  ProfileRecord loaded;
  ASSERT_EQ(profiles().Load(u"Twice", loaded), kS_OK);
  EXPECT_EQ(loaded.version, 1);
  ASSERT_EQ(profiles().Save(u"Twice", SampleProfile({}, 7)), kS_OK);
  ASSERT_EQ(exchange.ExportProfile(u"Twice", kFile), kS_OK);
  EXPECT_EQ(files.GetText(kFile), std::string(kBom) + Section(ProfileLines("Twice", 7, 0) + ProfileLines("Twice", 2, 0)));
}

TEST(PrettyPrintTest, ChildrenOnTheirOwnLinesAndTextInsideAChildKept) {
  std::u16string lines;
  ASSERT_EQ(PrettyPrintElement(u"<Macro name=\"m\"><Key a=\"1\">text</Key><Other></Other></Macro>", lines), kS_OK);
  EXPECT_EQ(lines, u"\t<Macro name=\"m\">\r\n\t\t<Key a=\"1\">text</Key>\r\n\t\t<Other></Other>\r\n\t</Macro>\r\n");
  ASSERT_EQ(PrettyPrintElement(u"<Macro name=\"m\"></Macro>", lines), kS_OK);
  EXPECT_EQ(lines, u"\t<Macro name=\"m\">\r\n\t</Macro>\r\n");
  EXPECT_EQ(PrettyPrintElement(u"<Macro name=\"m\">", lines), kE_FAIL);
  EXPECT_EQ(PrettyPrintElement(u"Macro", lines), kE_FAIL);
}

}  // namespace
}  // namespace quill::storage::testing
