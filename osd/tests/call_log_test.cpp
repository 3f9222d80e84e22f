#include "osd/call_log.h"

#include <gtest/gtest.h>

namespace quill::osd {
namespace {

TEST(CallLog, TextsAreQuotedWithEscapesAndArgumentsSeparatedByOneBlank) {
  const struct {
    std::string text, quoted;
  } cases[] = {
      {"              Gaming", "\"              Gaming\""},
      {"say \"hi\" \\o/", "\"say \\\"hi\\\" \\\\o/\""},
      {"a\tb\nc\x7f", "\"a\\x09b\\x0Ac\\x7F\""},
      {"Gr\xC3\xB6\xC3\x9F" "e", "\"Gr\xC3\xB6\xC3\x9F" "e\""},
      {"", "\"\""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LogLine("d1", "SetText").Text(c.text).str(), "d1 SetText " + c.quoted);
  }
}

TEST(CallLog, NumbersAreDecimalAndColoursHex) {
  EXPECT_EQ(LogLine(DisplaySubject(3), "SetAttribute").Number(4).Colour(0xFF00AA00).str(),
            "d3 SetAttribute 4 0xFF00AA00");
  EXPECT_EQ(LogLine("d2", "SetOffset").Number(-5).Number(0).str(), "d2 SetOffset -5 0");
  EXPECT_EQ(LogLine("d2", "SetBitmap").Word("bitmap").Word("96x48").Colour(0xFFFF00FF).str(),
            "d2 SetBitmap bitmap 96x48 0xFFFF00FF");
}

}  // namespace
}  // namespace quill::osd
