#include <gtest/gtest.h>

#include "common/tests/text_fixture.h"
#include "common/text_lines.h"
#include "common/utf16.h"

namespace quill {
namespace {

using testing::CrLfLines;
using testing::Reader;

TEST(ReadTextLine, DeliversLinesAndDropsStrayUnits) {
  // Empty line, bare LF and byte-order marks dropped, lone CR dropped with the unit after it kept.
  TextReader in = Reader(u"\r\nab\ncd\r\n\xFEFF" u"e\xFEFF" u"f\r\ng\rh\r\n");
  std::u16string line;
  EXPECT_EQ(ReadTextLine(in, line), 1u);
  EXPECT_EQ(line, u"");
  EXPECT_EQ(ReadTextLine(in, line), 5u);
  EXPECT_EQ(line, u"abcd");
  EXPECT_EQ(ReadTextLine(in, line), 3u);
  EXPECT_EQ(line, u"ef");
  EXPECT_EQ(ReadTextLine(in, line), 3u);
  EXPECT_EQ(line, u"gh");
  EXPECT_EQ(ReadTextLine(in, line), 0u);
}

TEST(ReadTextLine, LastLineWithoutCrLfIsNotDelivered) {
  TextReader in = Reader(u"first\r\nlast");
  std::u16string line;
  EXPECT_EQ(ReadTextLine(in, line), 6u);
  EXPECT_EQ(ReadTextLine(in, line), 0u);
  EXPECT_EQ(line, u"");
  TextReader kept = Reader(u"first\r\nlast");
  kept.ReadLine(line);
  EXPECT_EQ(kept.ReadLine(line, kTextLineCapacity, true), LineStatus::Line);
  EXPECT_EQ(line, u"last");
}

TEST(ReadTextLine, HoldsAtMost258CharactersAndRefusesLongerLinesWhole) {
  const std::u16string fits(258, u'a');
  const std::u16string tooLong(259, u'b');
  const std::u16string muchTooLong = std::u16string(259, u'c') + u"[AUTOLOAD]";
  TextReader in = Reader(CrLfLines({fits, tooLong, u"next", muchTooLong, u"after"}));
  std::u16string line;
  EXPECT_EQ(ReadTextLine(in, line), 259u);
  EXPECT_EQ(line, fits);
  EXPECT_EQ(in.ReadLine(line), LineStatus::TooLong);
  EXPECT_EQ(line, u"");
  EXPECT_EQ(ReadTextLine(in, line), 5u);  // the line after a refused one is whole
  EXPECT_EQ(line, u"next");
  EXPECT_EQ(ReadTextLine(in, line), 0u);  // no tail of the long line becomes a line
  EXPECT_EQ(ReadTextLine(in, line), 6u);
  EXPECT_EQ(line, u"after");
}

TEST(ReadTextLine, ReadsLittleEndianBytesAndIgnoresAnOddLastByte) {
  std::string bytes = EncodeUtf16Le(u"\x00E4\x20AC\r\n");
  bytes.push_back('x');
  TextReader in = TextReader::FromBytes(bytes);
  std::u16string line;
  EXPECT_EQ(ReadTextLine(in, line), 3u);
  EXPECT_EQ(line, u"\x00E4\x20AC");
  EXPECT_TRUE(in.AtEnd());
}

TEST(FindSection, SearchesForwardOnly) {
  TextReader in = Reader(CrLfLines({u"[A]", u"1", u"[B]", u"2", u"[C]", u"3"}));
  std::u16string value;
  EXPECT_TRUE(FindSection(in, u"[B]", value));
  EXPECT_EQ(value, u"2");
  EXPECT_FALSE(FindSection(in, u"[A]", value));  // behind: the search consumed the rest
  EXPECT_EQ(value, u"");
  EXPECT_FALSE(FindSection(in, u"[C]", value));  // so a later section reads as missing
}

TEST(FindSection, NeedsTheValueLineAndComparesExactly) {
  std::u16string value;
  TextReader headerLast = Reader(u"[A]\r\n");
  EXPECT_FALSE(FindSection(headerLast, u"[A]", value));
  TextReader otherCase = Reader(CrLfLines({u"[a]", u"1", u" [A]", u"2", u"[A]", u""}));
  EXPECT_TRUE(FindSection(otherCase, u"[A]", value));
  EXPECT_EQ(value, u"");
}

TEST(FindSection, OverlongLinesAreNeverHeadersAndOverlongValuesAreRefused) {
  std::u16string value;
  TextReader in = Reader(CrLfLines({std::u16string(300, u'x'), u"[A]", std::u16string(259, u'v'), u"[B]", u"2"}));
  EXPECT_FALSE(FindSection(in, u"[A]", value));
  EXPECT_EQ(value, u"");
  EXPECT_TRUE(FindSection(in, u"[B]", value));
  EXPECT_EQ(value, u"2");
}

TEST(TextWriter, WritesPairsWithCrLfAsLittleEndianWithoutByteOrderMark) {
  TextWriter out;
  out.WritePair(u"[A]", u"\x00E9");
  EXPECT_EQ(out.Text(), u"[A]\r\n\x00E9\r\n");
  const std::string bytes = out.Bytes();
  ASSERT_EQ(bytes.size(), 16u);
  EXPECT_EQ(bytes.substr(0, 2), std::string("[\0", 2));
  EXPECT_EQ(bytes.substr(10, 2), std::string("\xE9\0", 2));
  EXPECT_EQ(bytes.substr(12, 4), std::string("\r\0\n\0", 4));
}

TEST(TextWriter, LineBreaksInsideAValueCannotStartASection) {
  TextWriter out;
  out.WritePair(u"[PROFILENAME]", u"'evil\r\n[AUTOLOAD]\n1'");
  TextReader in(out.Text());
  std::u16string value;
  EXPECT_FALSE(FindSection(in, u"[AUTOLOAD]", value));
  in.Rewind();
  ASSERT_TRUE(FindSection(in, u"[PROFILENAME]", value));
  EXPECT_EQ(value, u"'evil  [AUTOLOAD] 1'");
}

}  // namespace
}  // namespace quill
