#include "configurator/kit/combo_choice.h"

#include <gtest/gtest.h>

namespace quill::kit {
namespace {

// A catalogue-like list: plain entries and two with second lists.
std::vector<ComboEntry> Entries() {
  return {{u"Click", {}}, {u"Macro", {u"Reload", u"Jump"}}, {u"Menu", {}}, {u"Profile", {u"One", u"Two", u"Three"}},
          {u"Scroll Up", {}}};
}

TEST(ComboChoice, KeyboardOpensChoosesAndEntersSecondLists) {
  ComboChoice c(Entries());
  c.SetPick({0, -1});
  EXPECT_EQ(c.Key(ComboKey::kOpen), ComboEvent::kOpened);
  EXPECT_EQ(c.first().selected(), 0);
  EXPECT_EQ(c.Key(ComboKey::kDown), ComboEvent::kRepaint);
  EXPECT_EQ(c.Key(ComboKey::kRight), ComboEvent::kSecond);  // Macro's list
  EXPECT_EQ(c.level(), 2);
  c.Key(ComboKey::kDown);
  EXPECT_EQ(c.Key(ComboKey::kEscape), ComboEvent::kRepaint);  // back to the first list only
  EXPECT_EQ(c.level(), 1);
  c.Key(ComboKey::kEnter);  // Enter on an entry with children opens its list
  EXPECT_EQ(c.level(), 2);
  c.Key(ComboKey::kEnd);
  EXPECT_EQ(c.Key(ComboKey::kEnter), ComboEvent::kChosen);
  EXPECT_EQ(c.pick(), (ComboPick{1, 1}));
  EXPECT_EQ(c.PickText(), u"Macro: Jump");
  EXPECT_EQ(c.level(), 0);
  c.Key(ComboKey::kOpen);
  EXPECT_EQ(c.first().selected(), 1);  // opens at the current choice
  EXPECT_EQ(c.Key(ComboKey::kEscape), ComboEvent::kClosed);
  EXPECT_EQ(c.pick(), (ComboPick{1, 1}));  // Escape keeps the choice
}

TEST(ComboChoice, ClosedArrowsSkipEntriesWithSecondLists) {
  ComboChoice c(Entries());
  c.SetPick({0, -1});
  EXPECT_EQ(c.Key(ComboKey::kDown), ComboEvent::kChosen);
  EXPECT_EQ(c.pick(), (ComboPick{2, -1}));
  EXPECT_EQ(c.Key(ComboKey::kDown), ComboEvent::kChosen);
  EXPECT_EQ(c.pick(), (ComboPick{4, -1}));
  EXPECT_EQ(c.Key(ComboKey::kDown), ComboEvent::kNone);  // the last
  EXPECT_EQ(c.Key(ComboKey::kHome), ComboEvent::kChosen);
  EXPECT_EQ(c.pick(), (ComboPick{0, -1}));
  EXPECT_EQ(c.Key(ComboKey::kUp), ComboEvent::kNone);
  EXPECT_EQ(c.Key(ComboKey::kEnd), ComboEvent::kChosen);
  EXPECT_EQ(c.pick(), (ComboPick{4, -1}));
}

TEST(ComboChoice, MouseHoverOpensSecondListsClicksChooseOutsideCloses) {
  ComboChoice c(Entries());
  c.Open();
  EXPECT_EQ(c.Hover(1, 3), ComboEvent::kSecond);  // resting on Profile opens its list
  EXPECT_EQ(c.second_owner(), 3);
  EXPECT_EQ(c.Hover(1, 3), ComboEvent::kNone);
  EXPECT_EQ(c.Click(2, 7), ComboEvent::kNone);  // below the second list's rows
  EXPECT_EQ(c.Click(2, 2), ComboEvent::kChosen);
  EXPECT_EQ(c.pick(), (ComboPick{3, 2}));
  c.Open();
  EXPECT_EQ(c.Click(1, 3), ComboEvent::kSecond);  // a click on an entry with children only opens
  EXPECT_EQ(c.Click(1, 2), ComboEvent::kChosen);  // a plain entry of the first list
  EXPECT_EQ(c.pick(), (ComboPick{2, -1}));
  c.Open();
  EXPECT_EQ(c.Click(1, 2), ComboEvent::kClosed);  // the same choice again: closed, not reported
  c.Open();
  EXPECT_EQ(c.ClickOutside(), ComboEvent::kClosed);
  EXPECT_EQ(c.ClickOutside(), ComboEvent::kNone);
}

TEST(ComboChoice, PicksThatNameNothingAreRefusedAndNewEntriesDropAStaleChoice) {
  ComboChoice c(Entries());
  EXPECT_FALSE(c.SetPick({9, -1}));
  EXPECT_FALSE(c.SetPick({1, -1}));  // an entry with a second list is no choice itself
  EXPECT_FALSE(c.SetPick({3, 3}));
  EXPECT_TRUE(c.SetPick({3, 2}));
  c.SetEntries({{u"Only", {}}});
  EXPECT_EQ(c.pick(), (ComboPick{-1, -1}));
  EXPECT_EQ(c.PickText(), u"");
  ComboChoice empty;
  EXPECT_EQ(empty.Open(), ComboEvent::kNone);
}

}  // namespace
}  // namespace quill::kit
