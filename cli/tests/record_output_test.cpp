#include "cli/record_output.h"

#include <gtest/gtest.h>

namespace quill::cli {
namespace {

TEST(RecordOutput, LinesAlignNamesAndSayYesOrNo) {
  Record r;
  r.Text("firmware", "1.05").Number("pid", 3121).Flag("connected", true).Flag("x", false);
  EXPECT_EQ(r.ToLines(),
            "firmware  : 1.05\n"
            "pid       : 3121\n"
            "connected : yes\n"
            "x         : no\n");
}

TEST(RecordOutput, JsonKeepsOrderAndTypes) {
  Record r;
  r.Text("name", "Profile 1").Number("dpi", -5).Flag("active", true);
  EXPECT_EQ(r.ToJson(), "{\"name\":\"Profile 1\",\"dpi\":-5,\"active\":true}\n");
}

TEST(RecordOutput, JsonEscapesEverythingThatCouldBreakALine) {
  EXPECT_EQ(JsonQuote("a\"b\\c\nd\x01"), "\"a\\\"b\\\\c\\nd\\u0001\"");
}

TEST(RecordOutput, Utf16ToUtf8) {
  EXPECT_EQ(Utf8FromUtf16(u"Gr\u00fc\u00dfe \u20ac"), "Gr\xC3\xBC\xC3\x9F" "e \xE2\x82\xAC");
  EXPECT_EQ(Utf8FromUtf16(u"\U0001F5B1"), "\xF0\x9F\x96\xB1");
  const char16_t lone[] = {0xD800, u'x', 0};
  EXPECT_EQ(Utf8FromUtf16(lone), "\xEF\xBF\xBDx");
}

TEST(RecordOutput, HexCode) { EXPECT_EQ(HexCode(0x80070103u), "0x80070103"); }

}  // namespace
}  // namespace quill::cli

namespace quill::cli {
namespace {

TEST(RecordOutput, ListsAndNestedRecords) {
  Record button;
  button.Text("button", "left").Text("assignment", "left click");
  Record r;
  r.Number("slot", 1).Numbers("stages", {400, 800}).Records("buttons", {button, button});
  EXPECT_EQ(r.ToJson(),
            "{\"slot\":1,\"stages\":[400,800],\"buttons\":[{\"button\":\"left\",\"assignment\":\"left click\"},"
            "{\"button\":\"left\",\"assignment\":\"left click\"}]}\n");
  EXPECT_EQ(r.ToLines(), "slot   : 1\nstages : 400,800\n");
  EXPECT_EQ(Record().Numbers("none", {}).ToJson(), "{\"none\":[]}\n");
  Record texts;
  texts.Texts("macros", {"Greet", "Say \"hi\""}).Texts("none", {});
  EXPECT_EQ(texts.ToJson(), "{\"macros\":[\"Greet\",\"Say \\\"hi\\\"\"],\"none\":[]}\n");
  EXPECT_EQ(texts.ToLines(), "macros : Greet, Say \"hi\"\nnone   : \n");
}

TEST(RecordOutput, TablesAlignColumnsByCharacters) {
  std::vector<Record> rows(2);
  rows[0].Number("slot", 1).Text("name", "Gr\xC3\xBC\xC3\x9F" "e").Flag("active", true);
  rows[1].Number("slot", 12).Text("name", "x").Flag("active", false);
  EXPECT_EQ(FormatTable(rows),
            "slot  name   active\n"
            "1     Gr\xC3\xBC\xC3\x9F" "e  yes\n"
            "12    x      no\n");
  EXPECT_EQ(FormatTable({}), "");
}

}  // namespace
}  // namespace quill::cli
