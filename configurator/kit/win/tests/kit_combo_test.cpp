// The drop-down on the screen (Wine, Xvfb) driven by real input: clicks open it and choose,
// second lists open beside the first, the keyboard does the same, Escape and a click outside
// close it without a choice, and every new choice reaches the owner.
#include <gtest/gtest.h>

#include <array>

#include "configurator/kit/win/combo_box.h"
#include "configurator/kit/win/tests/kit_test_support.h"

namespace quill::kit::win::test {
namespace {

struct ComboHost : Host, ComboBoxParent {
  void OnComboChosen(int id, int entry, int child) override { chosen.push_back({id, entry, child}); }
  std::vector<std::array<int, 3>> chosen;
};

// The centre of row `row` (as shown) of an open list, in screen coordinates.
POINT RowCentre(HWND list, int row, int row_height) {
  RECT r;
  GetWindowRect(list, &r);
  return {(r.left + r.right) / 2, r.top + 3 + row * row_height + row_height / 2};
}

void ClickScreen(POINT p) {
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, p);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  SendMouse(MOUSEEVENTF_LEFTUP);
}

TEST(KitCombo, MouseOpensChoosesAndReachesSecondLists) {
  ComboHost host;
  CBitmapComboBox combo(&host);
  ASSERT_TRUE(combo.Create(host.hwnd(), 31, {20, 20, 240, 46}, 4));
  combo.SetEntries({{u"Click", {}}, {u"Menu", {}}, {u"Macro", {u"Reload", u"Jump"}}, {u"Back", {}}, {u"Forward", {}}});
  combo.SetPick(0);

  ClickCentre(combo.hwnd());
  ASSERT_TRUE(PumpUntil([&] { return combo.ListWindow(1) != nullptr; }));
  ClickScreen(RowCentre(combo.ListWindow(1), 1, combo.RowHeight()));  // Menu
  ASSERT_TRUE(PumpUntil([&] { return !host.chosen.empty(); }));
  EXPECT_EQ(host.chosen.back(), (std::array<int, 3>{31, 1, -1}));
  EXPECT_EQ(combo.ListWindow(1), nullptr);

  // Macro opens its second list; its second entry is the choice.
  ClickCentre(combo.hwnd());
  ASSERT_TRUE(PumpUntil([&] { return combo.ListWindow(1) != nullptr; }));
  ClickScreen(RowCentre(combo.ListWindow(1), 2, combo.RowHeight()));
  ASSERT_TRUE(PumpUntil([&] { return combo.ListWindow(2) != nullptr; }));
  ClickScreen(RowCentre(combo.ListWindow(2), 1, combo.RowHeight()));
  ASSERT_TRUE(PumpUntil([&] { return host.chosen.size() == 2; }));
  EXPECT_EQ(host.chosen.back(), (std::array<int, 3>{31, 2, 1}));
  EXPECT_EQ(combo.choice().PickText(), u"Macro: Jump");

  // A click outside closes without a choice; the wheel scrolls an open list.
  ClickCentre(combo.hwnd());
  ASSERT_TRUE(PumpUntil([&] { return combo.ListWindow(1) != nullptr; }));
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, RowCentre(combo.ListWindow(1), 0, combo.RowHeight()));
  INPUT wheel{};
  wheel.type = INPUT_MOUSE;
  wheel.mi.dwFlags = MOUSEEVENTF_WHEEL;
  wheel.mi.mouseData = static_cast<DWORD>(-WHEEL_DELTA);
  SendInput(1, &wheel, sizeof wheel);
  ASSERT_TRUE(PumpUntil([&] { return combo.choice().first().top() == 1; }));  // 5 rows, 4 shown
  ClickAt(host.hwnd(), {400, 250});
  ASSERT_TRUE(PumpUntil([&] { return combo.ListWindow(1) == nullptr; }));
  EXPECT_EQ(host.chosen.size(), 2u);
}

TEST(KitCombo, KeyboardOpensNavigatesChoosesAndEscapeKeepsTheChoice) {
  ComboHost host;
  CBitmapComboBox combo(&host);
  ASSERT_TRUE(combo.Create(host.hwnd(), 32, {20, 20, 240, 46}));
  combo.SetEntries({{u"Click", {}}, {u"Macro", {u"Reload", u"Jump"}}, {u"Menu", {}}});
  combo.SetPick(0);
  SetFocus(combo.hwnd());

  PressKey(VK_DOWN);  // closed: the next entry without a second list
  ASSERT_TRUE(PumpUntil([&] { return !host.chosen.empty(); }, host.hwnd()));
  EXPECT_EQ(host.chosen.back(), (std::array<int, 3>{32, 2, -1}));

  PressKey(VK_F4);
  ASSERT_TRUE(PumpUntil([&] { return combo.ListWindow(1) != nullptr; }, host.hwnd()));
  PressKey(VK_UP);
  PressKey(VK_RIGHT);
  ASSERT_TRUE(PumpUntil([&] { return combo.ListWindow(2) != nullptr; }, host.hwnd()));
  PressKey(VK_DOWN);
  PressKey(VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return host.chosen.size() == 2; }, host.hwnd()));
  EXPECT_EQ(host.chosen.back(), (std::array<int, 3>{32, 1, 1}));

  PressKey(VK_F4);
  ASSERT_TRUE(PumpUntil([&] { return combo.ListWindow(1) != nullptr; }, host.hwnd()));
  PressKey(VK_DOWN);
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(PumpUntil([&] { return combo.ListWindow(1) == nullptr; }, host.hwnd()));
  EXPECT_EQ(host.chosen.size(), 2u);
  EXPECT_EQ(combo.choice().pick(), (ComboPick{1, 1}));
}

}  // namespace
}  // namespace quill::kit::win::test
