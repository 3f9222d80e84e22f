#include "configurator/kit/message_layout.h"

#include <gtest/gtest.h>

#include "configurator/kit/spin_repeat.h"

namespace quill::kit {
namespace {

// Every unit 7 pixels wide, a surrogate pair one character.
int Measure(std::u16string_view s) {
  int n = 0;
  for (char16_t c : s) n += (c >= 0xDC00 && c <= 0xDFFF) ? 0 : 7;
  return n;
}

TEST(WrapText, BreaksAtBlanksLineEndsAndInsideTooLongWords) {
  struct Case { std::u16string text; int width; std::vector<std::u16string> lines; } cases[] = {
      {u"Es können nicht mehr als 5 Profile angelegt werden.", 140,
       {u"Es können nicht mehr", u"als 5 Profile", u"angelegt werden."}},
      {u"one\r\ntwo\n\nthree", 500, {u"one", u"two", u"", u"three"}},
      {u"abcdefghij", 28, {u"abcd", u"efgh", u"ij"}},
      {u"  spaced    out  ", 500, {u"spaced out"}},
      {u"", 100, {u""}},
      {u"x", 0, {u"x"}},  // no room at all: one character a line, never an endless loop
      {u"a\U0001F600b", 7, {u"a", u"\U0001F600", u"b"}},  // the pair stays whole
  };
  for (const auto& c : cases) EXPECT_EQ(WrapText(c.text, c.width, Measure), c.lines) << c.width;
}

TEST(LimitText, CutsAtCharacterBoundaries) {
  EXPECT_EQ(LimitText(u"Gaming", 20), u"Gaming");
  EXPECT_EQ(LimitText(u"abcdef", 3), u"abc");
  EXPECT_EQ(LimitText(u"ab\U0001F600c", 3), u"ab");  // not half a pair
  EXPECT_EQ(LimitText(u"ab\U0001F600c", 4), u"ab\U0001F600");
}

TEST(LayOutMessage, WrapsLongTextButtonsNeverOverlapOrLeaveTheBox) {
  const MessageMetrics m;
  const std::u16string german =
      u"Es können nicht mehr als 5 Profile angelegt werden. Löschen Sie zuerst ein anderes Profil.";
  const std::vector<MessageButton> buttons = {{u"Ja", 6}, {u"Nein", 7}, {u"Abbrechen und zurück", 2}};
  const MessageLayout l = LayOutMessage(m, u"Profil anlegen", german, buttons, false, Measure, Measure, Measure);
  EXPECT_GT(l.lines.size(), 1u);
  EXPECT_LE(l.width, m.max_width);
  for (const auto& line : l.lines) EXPECT_LE(Measure(line), l.text.width);
  ASSERT_EQ(l.buttons.size(), 3u);
  for (size_t i = 0; i < l.buttons.size(); ++i) {
    EXPECT_GE(l.buttons[i].x, m.margin);
    EXPECT_LE(l.buttons[i].right(), l.width - m.margin);
    EXPECT_GE(l.buttons[i].y, l.text.bottom());
    EXPECT_LE(l.buttons[i].bottom(), l.height - m.margin);
    EXPECT_GE(l.buttons[i].width, Measure(buttons[i].text));
    if (i > 0) {
      EXPECT_GE(l.buttons[i].x, l.buttons[i - 1].right() + m.button_gap);
    }
  }
  // Centred row.
  EXPECT_NEAR(l.buttons[0].x - 0, l.width - l.buttons[2].right(), 1);
}

TEST(LayOutMessage, EditFieldPlacedButtonsAndOversizedRows) {
  const MessageMetrics m;
  const MessageLayout prompt = LayOutMessage(m, u"Create Profile", u"Please enter the name for the new profile:",
                                             {{u"Yes", 6}, {u"No", 7}}, true, Measure, Measure, Measure);
  EXPECT_GT(prompt.edit.width, 0);
  EXPECT_GE(prompt.edit.y, prompt.text.bottom());
  EXPECT_GE(prompt.buttons[0].y, prompt.edit.bottom());
  // A button placed by the caller stays where it is, and the box grows around it.
  const MessageLayout placed =
      LayOutMessage(m, u"T", u"x", {{u"OK", 1, 400, 200}}, false, Measure, Measure, Measure);
  EXPECT_EQ(placed.buttons[0].x, 400);
  EXPECT_EQ(placed.buttons[0].y, 200);
  EXPECT_GE(placed.width, 400 + placed.buttons[0].width);
  EXPECT_GE(placed.height, 200 + m.button_height);
  // Many buttons widen the box beyond its usual limit rather than being cut.
  std::vector<MessageButton> many(6, MessageButton{u"Wiederholen", 1});
  const MessageLayout wide = LayOutMessage(m, u"T", u"x", many, false, Measure, Measure, Measure);
  EXPECT_LE(wide.buttons.back().right(), wide.width - m.margin);
}

TEST(SpinRepeat, PausesFirstThenQuickens) {
  EXPECT_EQ(SpinRepeatDelay(1), 400);
  int previous = SpinRepeatDelay(1);
  for (int steps = 2; steps < 100; ++steps) {
    EXPECT_LE(SpinRepeatDelay(steps), previous);
    EXPECT_GE(SpinRepeatDelay(steps), 20);
    previous = SpinRepeatDelay(steps);
  }
}

}  // namespace
}  // namespace quill::kit
