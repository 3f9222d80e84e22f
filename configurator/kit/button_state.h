// What a push button shows and when it is clicked: hover, pressed (mouse held or Space held),
// disabled, keyboard focus and, in toggle mode, checked. The window only feeds input in and
// repaints when a call answers that the face changed.
#pragma once

namespace quill::kit {

enum class ButtonFace { kNormal, kHover, kPressed, kDisabled };

struct ButtonChange {
  bool repaint = false;
  bool clicked = false;  // report the click to the owner (after a toggle changed `checked`)
};

class ButtonState {
 public:
  explicit ButtonState(bool toggle = false) : toggle_(toggle) {}

  ButtonChange MouseMove(bool inside);
  ButtonChange MouseLeave();
  ButtonChange MouseDown();               // inside the button; the window captures the mouse
  ButtonChange MouseUp(bool inside);      // a click when it went down on the button and ends inside
  ButtonChange CaptureLost();             // cancels a press without a click
  ButtonChange KeyDown();                 // Space
  ButtonChange KeyUp();                   // Space: a click when it went down here
  ButtonChange Activate();                // Enter or a mnemonic: a click at once
  ButtonChange SetEnabled(bool enabled);  // disabling drops hover and press
  ButtonChange SetChecked(bool checked);  // no click
  ButtonChange SetFocused(bool focused);  // losing the focus cancels a key press

  ButtonFace Face() const;
  bool checked() const { return checked_; }
  bool focused() const { return focused_ && enabled_; }
  bool enabled() const { return enabled_; }
  bool toggle() const { return toggle_; }

 private:
  ButtonChange Click();

  bool toggle_;
  bool enabled_ = true, hover_ = false, mouse_down_ = false, key_down_ = false;
  bool checked_ = false, focused_ = false;
};

}  // namespace quill::kit
