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
