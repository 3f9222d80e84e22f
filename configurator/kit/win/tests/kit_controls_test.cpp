// The kit's controls on the screen (Wine, Xvfb) driven by real input: clicks at their position,
// keys, Tab between them; what they report reaches the owner's callbacks. And no GDI object
// is left behind by creating and destroying them.
#include <gtest/gtest.h>

#include "configurator/kit/win/background_wnd.h"
#include "configurator/kit/win/bitmap_edit.h"
#include "configurator/kit/win/combo_box.h"
#include "configurator/kit/win/delay_bar.h"
#include "configurator/kit/win/bitmap_list_v3.h"
#include "configurator/kit/win/message_box.h"
#include "configurator/kit/win/skin.h"
#include "configurator/kit/win/skin_menu.h"
#include "configurator/kit/win/slider_list.h"
#include "configurator/kit/win/spin_controls.h"
#include "configurator/kit/win/tests/kit_test_support.h"
#include "osd/tests/win/gdi_count.h"

namespace quill::kit::win::test {
namespace {

TEST(KitButton, MouseKeysAndTabReachTheOwnerADisabledButtonNever) {
  Host host;
  CHoverButtonV2 apply(&host), disabled(&host), toggle(&host, true);
  ASSERT_TRUE(apply.Create(host.hwnd(), 10, {20, 20, 140, 48}, L"Apply"));
  ASSERT_TRUE(disabled.Create(host.hwnd(), 11, {160, 20, 280, 48}, L"Disabled"));
  ASSERT_TRUE(toggle.Create(host.hwnd(), 12, {300, 20, 420, 48}, L"1000 Hz"));
  disabled.SetEnabled(false);
  EXPECT_EQ(disabled.face(), ButtonFace::kDisabled);

  // A click on the disabled button first: had it reported, it would come before Apply's.
  ClickCentre(disabled.hwnd());
  ClickCentre(apply.hwnd());
  ASSERT_TRUE(PumpUntil([&] { return !host.clicks.empty(); }));
  EXPECT_EQ(host.clicks, std::vector<int>{10});
  EXPECT_TRUE(PumpUntil([&] { return apply.face() == ButtonFace::kHover; }));  // the pointer rests on it

  ClickCentre(toggle.hwnd());
  ASSERT_TRUE(PumpUntil([&] { return host.clicks.size() == 2; }));
  EXPECT_TRUE(toggle.checked());  // already changed when reported
  EXPECT_TRUE(PumpUntil([&] { return apply.face() == ButtonFace::kNormal; }));  // the pointer left it

  // Keyboard: Space and Enter on the focused toggle, Tab from Apply past the disabled button.
  PressKey(VK_SPACE);
  ASSERT_TRUE(PumpUntil([&] { return host.clicks.size() == 3; }, host.hwnd()));
  EXPECT_FALSE(toggle.checked());
  SetFocus(apply.hwnd());
  PressKey(VK_TAB);
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == toggle.hwnd(); }, host.hwnd()));
  PressKey(VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return host.clicks.size() == 4; }, host.hwnd()));
  EXPECT_EQ(host.clicks, (std::vector<int>{10, 12, 12, 12}));
  EXPECT_TRUE(toggle.checked());
  toggle.SetChecked(false);  // set by the owner: not reported
  PumpPending();
  EXPECT_EQ(host.clicks.size(), 4u);
}

TEST(KitSlider, TrackClicksDragsAndKeysReportSnappedValues) {
  Host host;
  CBitmapSliderCtrl slider(&host);
  ASSERT_TRUE(slider.Create(host.hwnd(), 20, {20, 80, 320, 104}));
  slider.SetRange(1, 56, 1);
  slider.SetValue(18);
  EXPECT_TRUE(host.moves.empty());  // set by the owner: not reported
  RECT client;
  GetClientRect(slider.hwnd(), &client);

  // A click three quarters along the track: the thumb jumps there (1 + 0.75 × 55 = 42.25 → 42).
  slider.SetValue(1);
  const int left = slider.ThumbCentre().x;
  slider.SetValue(56);
  const int right = slider.ThumbCentre().x;
  slider.SetValue(18);
  ClickAt(slider.hwnd(), {left + (right - left) * 3 / 4, client.bottom / 2});
  ASSERT_TRUE(PumpUntil([&] { return !host.moves.empty(); }));
  EXPECT_EQ(host.moves.back(), (std::pair<int, double>{20, 42}));

  struct Key { WORD vk; double value; } keys[] = {
      {VK_RIGHT, 43}, {VK_LEFT, 42}, {VK_END, 56}, {VK_HOME, 1}, {VK_PRIOR, 7}, {VK_NEXT, 1}};
  for (const Key& key : keys) {
    const size_t before = host.moves.size();
    PressKey(key.vk);
    ASSERT_TRUE(PumpUntil([&] { return host.moves.size() > before; }, host.hwnd())) << key.vk;
    EXPECT_EQ(host.moves.back().second, key.value) << key.vk;
  }

  // Dragging the thumb past the right end: 56, reported on the way.
  POINT from = slider.ThumbCentre();
  ClientToScreen(slider.hwnd(), &from);
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, from);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, {from.x + 150, from.y});
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, {from.x + 500, from.y + 40});
  SendMouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return host.moves.back().second == 56; }));
  EXPECT_EQ(slider.value(), 56);
}

TEST(KitSliderList, RowSlidersReportToTheOwnerAndShowTheirValues) {
  Host host;
  CSliderListCtrlV2 list(&host);
  ASSERT_TRUE(list.Create(host.hwnd(), 20, {20, 20, 500, 80}));
  auto dpi = [](double v) { return std::to_wstring(static_cast<int>(v) * 100); };
  ASSERT_NE(list.AddRow(L"Sensitivity X", 21, 1, 56, 1, 18, dpi), nullptr);
  ASSERT_NE(list.AddRow(L"Sensitivity Y", 22, 1, 56, 1, 18, dpi), nullptr);
  SetFocus(list.slider(1)->hwnd());
  PressKey(VK_END);
  ASSERT_TRUE(PumpUntil([&] { return !host.moves.empty(); }, host.hwnd()));
  EXPECT_EQ(host.moves.back(), (std::pair<int, double>{22, 56}));
  ClickAt(list.slider(0)->hwnd(), list.slider(0)->ThumbCentre());  // on the thumb: no jump, no report
  PressKey(VK_RIGHT);
  ASSERT_TRUE(PumpUntil([&] { return host.moves.size() == 2; }, host.hwnd()));
  EXPECT_EQ(host.moves.back(), (std::pair<int, double>{21, 19}));
}

TEST(KitEdit, TypedTextIsBoundedByTheLimitAtCharacterBoundaries) {
  Host host;
  CBitmapEditCtrl edit;
  ASSERT_TRUE(edit.Create(host.hwnd(), 30, {20, 140, 320, 166}, 5));
  edit.SetText(L"ab\U0001F600cd");  // 5 units would split nothing; 6 are too many
  EXPECT_EQ(edit.Text(), L"ab\U0001F600c");
  edit.SetText(L"");
  ClickCentre(edit.hwnd());
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == edit.edit(); }));
  TypeText(L"Quillfern");
  PumpUntil([&] { return GetWindowTextLengthW(edit.edit()) >= 5; });
  PumpPending();
  EXPECT_EQ(edit.Text(), L"Quill");
}

TEST(KitSkin, TheCaptionFontIsEmbeddedAndChosenByItsName) {
  Skin::Get().Release();
  const HFONT font = Skin::Get().CaptionFont(96);
  EXPECT_TRUE(Skin::Get().caption_font_embedded());
  const quill::win::WindowDc dc(nullptr);
  const quill::win::SelectedObject selected(dc.Get(), font);
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc.Get(), LF_FACESIZE, face);
  EXPECT_STREQ(face, skin::kCaptionFace);
  // Every bitmap of the skin is in the program's resources.
  for (int id : {skin::kButtonNormal, skin::kSliderThumb, skin::kDialogFrame, skin::kDialogTitle, skin::kListPanel,
                 skin::kCheckOn, skin::kArrowDown, skin::kProfileMark}) {
    EXPECT_NE(Skin::Get().Bitmap(id), nullptr) << id;
  }
}

// Creates every finished control once, paints it and destroys it.
void OneOfEach(HWND parent) {
  CHoverButtonV2 button(nullptr, true);
  button.Create(parent, 1, {0, 0, 100, 28}, L"Button");
  CBitmapSliderCtrl slider(nullptr);
  slider.Create(parent, 2, {0, 30, 200, 54});
  CBitmapEditCtrl edit;
  edit.Create(parent, 3, {0, 60, 200, 86}, 20);
  CBackgroundWndV2 panel;
  panel.Create(parent, 4, {210, 0, 400, 100});
  CGWComboBox combo(nullptr);
  combo.Create(parent, 5, {0, 90, 200, 116});
  combo.SetGroups({{L"Macro", {L"Reload", L"Jump"}}, {L"Profile", {L"Gaming"}}});
  for (WPARAM key : {VK_F4, VK_RIGHT}) SendMessageW(combo.hwnd(), WM_KEYDOWN, key, 0);  // both lists open
  CBitmapListCtrlV3 list(nullptr);
  list.Create(parent, 6, {210, 110, 500, 200},
              {{L"", 28, CBitmapListCtrlV3::Kind::kIcon}, {L"Name", 120, CBitmapListCtrlV3::Kind::kText, true, 20},
               {L"Auto", 50, CBitmapListCtrlV3::Kind::kCheck}});
  for (int i = 0; i < 8; ++i) list.AddRow({skin::kProfileMark, {L"", L"Profile", L""}, {false, false, i % 2 == 0}});
  list.BeginEdit(1, 1);
  CBitmapSpinCtrl spin;
  spin.Create(parent, 7, {0, 120, 140, 146}, ValueRange(0, 10, 0.5));
  CSliderListCtrlV2 sliders(nullptr);
  sliders.Create(parent, 9, {210, 210, 500, 270});
  sliders.AddRow(L"Sensitivity", 1, 1, 56, 1, 18, [](double v) { return std::to_wstring(v); });
  CBitmapDelayBarCtrl bar;
  bar.Create(parent, 8, {0, 150, 200, 176});
  bar.SetDelay(300, 1000);
  UpdateWindow(parent);
  RedrawWindow(parent, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
}

// A message box that ends itself as soon as it is shown.
class ClosingBox : public CBitmapMessageBox {
 public:
  using CBitmapMessageBox::CBitmapMessageBox;

 protected:
  bool OnInit() override {
    const bool result = CBitmapMessageBox::OnInit();
    PostMessageW(hwnd(), WM_COMMAND, IDCANCEL, 0);
    return result;
  }
};

TEST(KitGdi, CreatingAndDestroyingEveryControl100TimesLeavesNoGdiObject) {
  Host host;
  auto cycle = [&] {
    OneOfEach(host.hwnd());
    ClosingBox box(L"Delete Profile", L"Are you sure you want to delete this profile?");
    box.SetEdit(L"name", 20);
    box.AddButton(L"Yes", IDYES);
    box.AddButton(L"No", IDNO);
    EXPECT_EQ(box.Show(host.hwnd()), IDNO);
    const int chosen = CSkinMenu::Track(host.hwnd(), {{1, L"Preview"}, {2, L"Delete"}}, {100, 100}, SkinMenuColours(),
                                        [](HWND menu) { PostMessageW(menu, WM_KEYDOWN, VK_ESCAPE, 0); });
    EXPECT_EQ(chosen, 0);
    PumpPending();
  };
  // The skin's bitmaps and fonts are loaded once and kept; the system makes a few objects of
  // its own on the first uses too (three more in the second round under Wine, then none).
  cycle();
  cycle();
  const unsigned before = quill::osd::test::GdiObjectCount();
  ASSERT_GT(before, 0u);
  for (int i = 0; i < 100; ++i) cycle();
  EXPECT_EQ(quill::osd::test::GdiObjectCount(), before);
  Skin::Get().Release();
  EXPECT_LT(quill::osd::test::GdiObjectCount(), before);  // and the skin's own go when released
}

}  // namespace
}  // namespace quill::kit::win::test
