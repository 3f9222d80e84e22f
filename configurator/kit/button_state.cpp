#include "configurator/kit/button_state.h"

namespace quill::kit {

namespace {

ButtonChange Repaint(bool changed) { return {changed, false}; }

}  // namespace

ButtonFace ButtonState::Face() const {
  if (!enabled_) return ButtonFace::kDisabled;
  if ((mouse_down_ && hover_) || key_down_) return ButtonFace::kPressed;
  if (hover_) return ButtonFace::kHover;
  return ButtonFace::kNormal;
}

ButtonChange ButtonState::Click() {
  if (toggle_) checked_ = !checked_;
  return {true, true};
}

ButtonChange ButtonState::MouseMove(bool inside) {
  if (!enabled_ || hover_ == inside) return {};
  hover_ = inside;
  return Repaint(true);
}

ButtonChange ButtonState::MouseLeave() {
  // While the mouse is held the capture keeps reporting moves; a leave only drops the hover.
  return MouseMove(false);
}

ButtonChange ButtonState::MouseDown() {
  if (!enabled_) return {};
  const bool changed = !mouse_down_ || !hover_;
  mouse_down_ = hover_ = true;
  return Repaint(changed);
}

ButtonChange ButtonState::MouseUp(bool inside) {
  if (!mouse_down_) return {};
  mouse_down_ = false;
  hover_ = inside;
  if (enabled_ && inside) return Click();
  return Repaint(true);
}

ButtonChange ButtonState::CaptureLost() {
  if (!mouse_down_) return {};
  mouse_down_ = false;
  return Repaint(true);
}

ButtonChange ButtonState::KeyDown() {
  if (!enabled_ || key_down_) return {};
  key_down_ = true;
  return Repaint(true);
}

ButtonChange ButtonState::KeyUp() {
  if (!key_down_) return {};
  key_down_ = false;
  return enabled_ ? Click() : Repaint(true);
}

ButtonChange ButtonState::Activate() { return enabled_ ? Click() : ButtonChange{}; }

ButtonChange ButtonState::SetEnabled(bool enabled) {
  if (enabled_ == enabled) return {};
  enabled_ = enabled;
  if (!enabled) hover_ = mouse_down_ = key_down_ = false;
  return Repaint(true);
}

ButtonChange ButtonState::SetChecked(bool checked) {
  if (checked_ == checked) return {};
  checked_ = checked;
  return Repaint(true);
}

ButtonChange ButtonState::SetFocused(bool focused) {
  if (focused_ == focused) return {};
  focused_ = focused;
  if (!focused) key_down_ = false;
  return Repaint(true);
}

}  // namespace quill::kit
