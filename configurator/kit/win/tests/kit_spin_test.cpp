// The number fields on the screen (Wine, Xvfb) driven by real input: typed numbers kept in the
// range with two decimals, text that is no number refused, arrows that step and repeat while
// held, keys and the wheel.
#include <gtest/gtest.h>

#include "configurator/kit/win/spin_controls.h"
#include "configurator/kit/win/tests/kit_test_support.h"

namespace quill::kit::win::test {
namespace {

TEST(KitSpin, TypedNumbersArrowsKeysAndWheel) {
  Host host;
  CBitmapSpinCtrl spin;
  ASSERT_TRUE(spin.Create(host.hwnd(), 60, {20, 20, 160, 46}, ValueRange(1, 10, 0.5)));
  std::vector<double> changes;
  spin.on_change = [&](double value) { changes.push_back(value); };
  spin.SetValue(5);
  EXPECT_EQ(spin.field().Text(), L"5.00");
  EXPECT_TRUE(changes.empty());  // set by the owner: not reported

  // Typed: snapped into the range on Enter; a text that is no number gives the old value back.
  ClickCentre(spin.field().edit());
  ASSERT_TRUE(PumpUntil([&] { return GetFocus() == spin.field().edit(); }));
  SendMessageW(spin.field().edit(), EM_SETSEL, 0, -1);
  TypeText(L"7,3");
  PressKey(VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return !changes.empty(); }, host.hwnd()));
  EXPECT_EQ(changes.back(), 7.5);
  EXPECT_EQ(spin.field().Text(), L"7.50");
  SendMessageW(spin.field().edit(), EM_SETSEL, 0, -1);
  TypeText(L"lots");
  PressKey(VK_RETURN);
  ASSERT_TRUE(PumpUntil([&] { return spin.field().Text() == L"7.50"; }, host.hwnd()));
  EXPECT_EQ(changes.size(), 1u);

  // Keys and the wheel in the field.
  struct Key { WORD vk; double value; } keys[] = {{VK_UP, 8}, {VK_DOWN, 7.5}, {VK_PRIOR, 8.5}, {VK_NEXT, 7.5}};
  for (const Key& key : keys) {
    const size_t before = changes.size();
    PressKey(key.vk);
    ASSERT_TRUE(PumpUntil([&] { return changes.size() > before; }, host.hwnd())) << key.vk;
    EXPECT_EQ(changes.back(), key.value) << key.vk;
  }
  INPUT wheel{};
  wheel.type = INPUT_MOUSE;
  wheel.mi.dwFlags = MOUSEEVENTF_WHEEL;
  wheel.mi.mouseData = static_cast<DWORD>(-2 * WHEEL_DELTA);
  SendInput(1, &wheel, sizeof wheel);
  ASSERT_TRUE(PumpUntil([&] { return changes.back() == 6.5; }, host.hwnd()));

  // A click on the up arrow steps once.
  const size_t before_click = changes.size();
  ClickCentre(spin.arrows().up());
  ASSERT_TRUE(PumpUntil([&] { return changes.size() > before_click; }));
  EXPECT_EQ(spin.value(), 7);
}

TEST(KitSpin, AnArrowHeldRepeatsUntilReleasedAndStopsAtTheEnd) {
  Host host;
  CBitmapSpinCtrl spin;
  ASSERT_TRUE(spin.Create(host.hwnd(), 60, {20, 20, 160, 46}, ValueRange(0, 100, 1)));
  spin.SetValue(10);
  RECT r;
  GetWindowRect(spin.arrows().down(), &r);
  SendMouse(MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE, {(r.left + r.right) / 2, (r.top + r.bottom) / 2});
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(PumpUntil([&] { return spin.value() <= 6; }));  // the first step and repeats
  SendMouse(MOUSEEVENTF_LEFTUP);
  ASSERT_TRUE(PumpUntil([&] { return GetCapture() == nullptr; }));
  const double released = spin.value();
  PumpPending();
  EXPECT_EQ(spin.value(), released);  // no step after the release

  // Held long enough at the low end, it stays at 0.
  spin.SetValue(2);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  ASSERT_TRUE(PumpUntil([&] { return spin.value() == 0; }));
  PumpPending();
  SendMouse(MOUSEEVENTF_LEFTUP);
  PumpPending();
  EXPECT_EQ(spin.value(), 0);
}

}  // namespace
}  // namespace quill::kit::win::test
