#include "configurator/kit/value_range.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace quill::kit {
namespace {

TEST(ValueRange, SnapsToStepsKeepsMaxReachableAndClamps) {
  const ValueRange r(1, 10, 1);
  const ValueRange odd(0, 10, 3);  // 0 3 6 9, and 10
  const ValueRange cont(0, 1, 0);
  struct Case { const ValueRange& range; double in, out; } cases[] = {
      {r, 4.4, 4}, {r, 4.5, 5}, {r, -3, 1}, {r, 99, 10},
      {odd, 9.4, 9}, {odd, 9.6, 10}, {odd, 4.4, 3}, {odd, 4.6, 6},
      {cont, 0.123, 0.123}, {cont, 2, 1},
      {r, std::numeric_limits<double>::quiet_NaN(), 1},
  };
  for (const auto& c : cases) EXPECT_DOUBLE_EQ(c.range.Snap(c.in), c.out) << c.in;
}

TEST(ValueRange, KeyboardStepsAndPagesStayInside) {
  const ValueRange r(1, 56, 1);
  EXPECT_EQ(r.Stepped(18, 1), 19);
  EXPECT_EQ(r.Stepped(56, 1), 56);
  EXPECT_EQ(r.Stepped(1, -1), 1);
  EXPECT_EQ(r.PageStep(), 6);  // a tenth of 55, whole steps
  EXPECT_DOUBLE_EQ(ValueRange(0, 1, 0).Stepped(0.5, 1), 0.51);
  EXPECT_EQ(ValueRange(0, 10, 5).PageStep(), 5);  // never less than a step
}

TEST(ValueRange, PixelsAndValuesMapBothWaysAtTheTrackEnds) {
  const ValueRange r(1, 10, 1);
  EXPECT_EQ(r.PixelOf(1, 20, 90), 20);
  EXPECT_EQ(r.PixelOf(10, 20, 90), 110);
  EXPECT_EQ(r.PixelOf(5.5, 20, 90), 65);
  EXPECT_DOUBLE_EQ(r.ValueAt(65, 20, 90), 5.5);
  EXPECT_DOUBLE_EQ(r.ValueAt(0, 20, 90), 1);     // left of the track
  EXPECT_DOUBLE_EQ(r.ValueAt(500, 20, 90), 10);  // right of it
  for (int v = 1; v <= 10; ++v) EXPECT_EQ(r.Snap(r.ValueAt(r.PixelOf(v, 7, 33), 7, 33)), v);
  // Degenerate tracks and ranges map to their start instead of dividing by zero.
  EXPECT_EQ(r.PixelOf(5, 20, 0), 20);
  EXPECT_DOUBLE_EQ(r.ValueAt(30, 20, 0), 1);
  EXPECT_EQ(ValueRange(3, 3, 1).PixelOf(3, 20, 90), 20);
  EXPECT_EQ(ValueRange(10, 1, 1).min(), 1);  // upside down turned round
}

TEST(ValueRange, FixedTwoText) {
  EXPECT_EQ(FixedTwoText(1.5), u"1.50");
  EXPECT_EQ(FixedTwoText(-0.125), u"-0.12");
  EXPECT_EQ(FixedTwoText(1e300).size(), 304u);  // 301 digits and ".00"  // whole, not cut at a buffer
  EXPECT_EQ(FixedTwoText(std::nan("")), u"0.00");
}

TEST(ValueRange, ParseDecimalTakesNumbersOnly) {
  struct Case { std::u16string text; bool ok; double value; } cases[] = {
      {u"12", true, 12},     {u" 1.50 ", true, 1.5}, {u"-0,25", true, -0.25}, {u"+3.", true, 3},
      {u".5", true, 0.5},    {u"", false, 0},        {u"-", false, 0},        {u"1.2.3", false, 0},
      {u"12a", false, 0},    {u"1e5", false, 0},     {u"\u0661", false, 0},
      {std::u16string(400, u'9'), false, 0},  // more digits than any field holds
  };
  for (const auto& c : cases) {
    double value = -99;
    EXPECT_EQ(ParseDecimal(c.text, value), c.ok) << c.value;
    if (c.ok) {
      EXPECT_DOUBLE_EQ(value, c.value);
    }
  }
}

}  // namespace
}  // namespace quill::kit
