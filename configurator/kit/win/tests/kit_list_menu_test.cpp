// The profile list and the skinned menu on the screen (Wine, Xvfb) driven by real input:
// selecting by click and keys, check boxes, in-place editing kept or dropped, the context menu
// request, and the menu chosen by click or keyboard or dismissed.
#include <gtest/gtest.h>

#include "configurator/kit/win/bitmap_list_v2.h"
#include "configurator/kit/win/bitmap_list_v3.h"
#include "configurator/kit/win/skin_menu.h"
#include "configurator/kit/win/tests/kit_test_support.h"

namespace quill::kit::win::test {
namespace {

struct ListHost : Host, BitmapListCtrlV3Parent {
  void OnListRowSelected(int id, int row) override { events.push_back(L"select " + std::to_wstring(row)); }
  void OnListCellEdited(int id, int row, int column) override {
    events.push_back(L"edit " + std::to_wstring(row) + L" " + std::to_wstring(column));
  }
  void OnListContextMenu(int id, int row, POINT) override { events.push_back(L"menu " + std::to_wstring(row)); }
  std::vector<std::wstring> events;
};

void FillProfiles(CBitmapListCtrlV3& list, HWND parent) {
  using Column = CBitmapListCtrlV3::Column;
  using Kind = CBitmapListCtrlV3::Kind;
  ASSERT_TRUE(list.Create(parent, 50, {20, 20, 340, 200},
                          {Column{L"", 28, Kind::kIcon}, Column{L"Profile Name", 120, Kind::kText, true, 20},
                           Column{L"Application", 106, Kind::kText, true}, Column{L"Auto", 56, Kind::kCheck}}));
  for (const wchar_t* name : {L"Default", L"Gaming", L"Office"}) list.AddRow({0, {L"", name, L"<none>", L""}, {}});
}

POINT CellCentre(const CBitmapListCtrlV3& list, int row, int column) {
  const RECT r = list.CellRect(row, column);
  return {(r.left + r.right) / 2, (r.top + r.bottom) / 2};
}

TEST(KitListV3, ClicksKeysCheckBoxesAndTheContextMenuRequest) {
  ListHost host;
  CBitmapListCtrlV3 list(&host);
  FillProfiles(list, host.hwnd());
  ClickAt(list.hwnd(), CellCentre(list, 1, 1));
  ASSERT_TRUE(PumpUntil([&] { return !host.events.empty(); }));
  ClickAt(list.hwnd(), CellCentre(list, 2, 3));  // the check box of another row
  ASSERT_TRUE(PumpUntil([&] { return host.events.size() == 3; }));
  EXPECT_TRUE(list.row(2).checked[3]);
  PressKey(VK_SPACE);
  PressKey(VK_HOME);
  ASSERT_TRUE(PumpUntil([&] { return host.events.size() == 5; }, host.hwnd()));
  EXPECT_FALSE(list.row(2).checked[3]);
  EXPECT_EQ(list.selected(), 0);

  RECT r = list.CellRect(2, 2);
  POINT p{r.left + 10, r.top + 5};
  ClientToScreen(list.hwnd(), &p);
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, p);
  SendMouse(MOUSEEVENTF_RIGHTDOWN);
  SendMouse(MOUSEEVENTF_RIGHTUP);
  ASSERT_TRUE(PumpUntil([&] { return host.events.size() == 7; }));
  EXPECT_EQ(host.events, (std::vector<std::wstring>{L"select 1", L"select 2", L"edit 2 3", L"edit 2 3", L"select 0",
                                                    L"select 2", L"menu 2"}));
}

TEST(KitListV3, InPlaceEditKeepsEnterDropsEscapeAndIsBoundedByTheLimit) {
  ListHost host;
  CBitmapListCtrlV3 list(&host);
  FillProfiles(list, host.hwnd());
  list.Select(1);
  SetFocus(list.hwnd());
  PressKey(VK_F2);
  ASSERT_TRUE(PumpUntil([&] { return list.editing(); }, host.hwnd()));
  TypeText(L"A very long profile name indeed");
  PressKey(VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return !list.editing(); }, host.hwnd()));
  EXPECT_EQ(list.row(1).text[1], L"A very long profile ");  // 20 units
  EXPECT_EQ(host.events, std::vector<std::wstring>{L"edit 1 1"});

  // A double click edits the cell under it; Escape drops the text.
  const POINT cell = CellCentre(list, 2, 2);
  ClickAt(list.hwnd(), cell);
  ClickAt(list.hwnd(), cell);
  ASSERT_TRUE(PumpUntil([&] { return list.editing(); }, host.hwnd()));
  TypeText(L"game.exe");
  PressKey(VK_ESCAPE);
  ASSERT_TRUE(PumpUntil([&] { return !list.editing(); }, host.hwnd()));
  EXPECT_EQ(list.row(2).text[2], L"<none>");
  // The owner ends an open edit (OK pressed while a name is edited): the text is kept.
  ASSERT_TRUE(list.BeginEdit(0, 1));
  TypeText(L"Base");
  PumpUntil([&] { return GetWindowTextLengthW(list.editor()) == 4; }, host.hwnd());
  list.EndEdit(true);
  EXPECT_EQ(list.row(0).text[1], L"Base");
  EXPECT_FALSE(list.BeginEdit(0, 3));  // a check box column is no text to edit
}

TEST(KitListV3, TheScrollBarPagesAndTheWheelScrollsWithoutChangingTheSelection) {
  ListHost host;
  CBitmapListCtrlV3 list(&host);
  FillProfiles(list, host.hwnd());
  for (int i = 0; i < 17; ++i) list.AddRow({0, {L"", L"Row " + std::to_wstring(i), L"", L""}, {}});
  list.Select(0);
  RedrawWindow(list.hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
  RECT track;
  GetClientRect(list.scrollbar(), &track);
  ClickAt(list.scrollbar(), {track.right / 2, track.bottom - 4});  // below the thumb: a page down
  ASSERT_TRUE(PumpUntil([&] { return list.top() > 0; }));
  const int page = list.top();
  EXPECT_GE(page, 4);  // 20 rows, 6 on view
  INPUT wheel{};
  wheel.type = INPUT_MOUSE;
  wheel.mi.dwFlags = MOUSEEVENTF_WHEEL;
  wheel.mi.mouseData = static_cast<DWORD>(WHEEL_DELTA);
  SendInput(1, &wheel, sizeof wheel);
  ASSERT_TRUE(PumpUntil([&] { return list.top() == page - 1; }));
  EXPECT_EQ(list.selected(), 0);
  EXPECT_TRUE(host.events.empty());
}

struct KeyListHost : Host, BitmapListCtrlV2Parent {
  void OnKeyListRowSelected(int, int row) override { events.push_back(L"select " + std::to_wstring(row)); }
  void OnKeyListDelayEdited(int, int row, int ms) override {
    events.push_back(L"pause " + std::to_wstring(row) + L" " + std::to_wstring(ms));
  }
  void OnKeyListContextMenu(int, int row, POINT) override { events.push_back(L"menu " + std::to_wstring(row)); }
  std::vector<std::wstring> events;
};

TEST(KitListV2, OnlyPausesAreEditedAndOnlyToWholeMillisecondsWithinTheLargest) {
  KeyListHost host;
  CBitmapListCtrlV2 keys(&host);
  ASSERT_TRUE(keys.Create(host.hwnd(), 70, {20, 20, 320, 200}, 5000));
  keys.AddKey(CBitmapListCtrlV2::RowType::kKeyDown, L"A");
  keys.AddDelay(120);
  keys.AddKey(CBitmapListCtrlV2::RowType::kKeyUp, L"A");
  EXPECT_EQ(keys.AddDelay(99999), 3);
  EXPECT_EQ(keys.delay(3), 5000);  // held to the largest
  CBitmapListCtrlV3& list = keys.list();

  EXPECT_FALSE(list.BeginEdit(0, 1));  // a key row is never edited
  struct Case { const wchar_t* typed; int expected; } cases[] = {
      {L"250", 250}, {L"300 ms", 300}, {L"soon", 300}, {L"-5", 300}, {L"7.5", 300}, {L"6000", 300}, {L"0", 0}};
  for (const Case& c : cases) {
    ASSERT_TRUE(list.BeginEdit(1, 1)) << c.typed;
    SetWindowTextW(list.editor(), c.typed);
    list.EndEdit(true);
    EXPECT_EQ(keys.delay(1), c.expected) << c.typed;
    EXPECT_EQ(list.row(1).text[1], std::to_wstring(c.expected) + L" ms") << c.typed;
  }
  EXPECT_EQ(host.events, (std::vector<std::wstring>{L"pause 1 250", L"pause 1 300", L"pause 1 0"}));

  // Real input: keys move the selection, F2 edits the pause, typed digits and Enter keep it.
  host.events.clear();
  list.Select(0);
  SetFocus(keys.hwnd());
  PressKey(VK_DOWN);
  PressKey(VK_F2);
  ASSERT_TRUE(PumpUntil([&] { return list.editing(); }, host.hwnd()));
  TypeText(L"45");
  PressKey(VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return keys.delay(1) == 45; }, host.hwnd()));
  EXPECT_EQ(host.events, (std::vector<std::wstring>{L"select 1", L"pause 1 45"}));
  keys.RemoveRow(0);
  EXPECT_EQ(keys.delay(0), 45);
  EXPECT_EQ(keys.type(1), CBitmapListCtrlV2::RowType::kKeyUp);
}

std::vector<SkinMenuItem> ProfileMenu() {
  return {{27772, L"Preview"}, {27774, L"Import", false}, {0, L"", true, true}, {27777, L"Delete"}, {27778, L"Copy"}};
}

void ClickItem(HWND menu, int index) {
  const RECT r = CSkinMenu::ItemRect(menu, index);
  POINT p{r.left + 20, (r.top + r.bottom) / 2};
  ScreenToClient(menu, &p);
  ClickAt(menu, p);
}

TEST(KitMenu, ClickKeyboardAndDismissal) {
  Host host;
  struct Case {
    const char* what;
    std::function<void(HWND)> act;
    int chosen;
  } cases[] = {
      {"click on Delete", [](HWND menu) { ClickItem(menu, 3); }, 27777},
      {"Down Down Enter: past the disabled item and the separator",
       [](HWND) {
         PressKey(VK_DOWN);
         PressKey(VK_DOWN);
         PressKey(VK_RETURN);
       },
       27777},
      {"Up wraps to the last",
       [](HWND) {
         PressKey(VK_UP);
         PressKey(VK_RETURN);
       },
       27778},
      {"a click on the disabled item chooses nothing; Escape",
       [](HWND menu) {
         ClickItem(menu, 1);
         PressKey(VK_RETURN);  // nothing hot: nothing chosen
         PressKey(VK_ESCAPE);
       },
       0},
      {"a click elsewhere", [&](HWND) { ClickAt(host.hwnd(), {500, 300}); }, 0},
  };
  for (const Case& c : cases) {
    // The pointer away from where the menu appears, which would make an item hot.
    SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, {700, 600});
    PumpPending();
    EXPECT_EQ(CSkinMenu::Track(host.hwnd(), ProfileMenu(), {100, 100}, SkinMenuColours(), c.act), c.chosen) << c.what;
    EXPECT_EQ(FindWindowW(L"fpmMenuClass", nullptr), nullptr) << c.what;
  }
}

}  // namespace
}  // namespace quill::kit::win::test
