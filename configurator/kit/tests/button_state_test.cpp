#include "configurator/kit/button_state.h"

#include <gtest/gtest.h>

namespace quill::kit {
namespace {

TEST(ButtonState, MouseClickOnlyWhenPressedAndReleasedInside) {
  ButtonState b;
  EXPECT_TRUE(b.MouseMove(true).repaint);
  EXPECT_FALSE(b.MouseMove(true).repaint);  // no repaint without a change
  EXPECT_EQ(b.Face(), ButtonFace::kHover);
  b.MouseDown();
  EXPECT_EQ(b.Face(), ButtonFace::kPressed);
  b.MouseMove(false);  // dragged off: shown raised, no click on release outside
  EXPECT_EQ(b.Face(), ButtonFace::kNormal);
  EXPECT_FALSE(b.MouseUp(false).clicked);
  b.MouseDown();
  EXPECT_TRUE(b.MouseUp(true).clicked);
  EXPECT_EQ(b.Face(), ButtonFace::kHover);
  EXPECT_FALSE(b.MouseUp(true).clicked);  // a release without a press
  b.MouseDown();
  b.CaptureLost();
  EXPECT_FALSE(b.MouseUp(true).clicked);
}

TEST(ButtonState, KeyboardSpaceAndEnterAndFocusLoss) {
  ButtonState b;
  b.SetFocused(true);
  EXPECT_TRUE(b.focused());
  b.KeyDown();
  EXPECT_EQ(b.Face(), ButtonFace::kPressed);
  EXPECT_TRUE(b.KeyUp().clicked);
  b.KeyDown();
  b.SetFocused(false);  // focus moved away while Space was held: no click
  EXPECT_FALSE(b.KeyUp().clicked);
  EXPECT_TRUE(b.Activate().clicked);
}

TEST(ButtonState, DisabledShowsDisabledAndNeverClicks) {
  ButtonState b;
  b.MouseMove(true);
  b.MouseDown();
  b.SetEnabled(false);
  EXPECT_EQ(b.Face(), ButtonFace::kDisabled);
  EXPECT_FALSE(b.MouseUp(true).clicked);
  EXPECT_FALSE(b.MouseDown().repaint);
  EXPECT_FALSE(b.KeyDown().repaint);
  EXPECT_FALSE(b.Activate().clicked);
  b.SetFocused(true);
  EXPECT_FALSE(b.focused());  // no focus ring on a disabled button
  b.SetEnabled(true);
  EXPECT_EQ(b.Face(), ButtonFace::kNormal);  // no hover left over from before
}

TEST(ButtonState, ToggleFlipsCheckedBeforeReportingTheClick) {
  ButtonState t(true);
  t.MouseDown();
  EXPECT_TRUE(t.MouseUp(true).clicked);
  EXPECT_TRUE(t.checked());
  t.KeyDown();
  t.KeyUp();
  EXPECT_FALSE(t.checked());
  EXPECT_FALSE(t.SetChecked(true).clicked);  // set by the owner: not reported back
  EXPECT_TRUE(t.checked());
  ButtonState plain;
  plain.Activate();
  EXPECT_FALSE(plain.checked());
}

}  // namespace
}  // namespace quill::kit
