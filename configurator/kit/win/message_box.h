// The skinned message box and base of the skinned dialogs: a layered window whose background
// is drawn from the skin (a frame and a title band) with magenta as holes, a title, a message
// wrapped to the box, an optional edit field (the name prompts) and buttons, each with a text,
// a result and optionally its own position. A click ends the dialog with the button's result
// unless a derived class takes the command (OnButton). Enter gives the first button's result,
// Escape the result of a button whose result is IDCANCEL or IDNO, else of the last button.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "configurator/kit/message_layout.h"
#include "configurator/kit/win/bitmap_edit.h"
#include "configurator/kit/win/hover_button.h"
#include "configurator/kit/win/window_base.h"

namespace quill::kit::win {

class CBitmapMessageBox : public Dialog, private HoverButtonV2Parent {
 public:
  CBitmapMessageBox(std::wstring title, std::wstring text) : title_(std::move(title)), text_(std::move(text)) {}

  // `x`, `y` in pixels of the box at 96 DPI; -1 lays the button out in the centred row.
  void AddButton(const std::wstring& text, int result, int x = -1, int y = -1);
  // An edit field of at most `limit` UTF-16 units, filled with `initial`.
  void SetEdit(const std::wstring& initial, size_t limit);
  // The edit field's text when the box ended (at most its limit).
  const std::wstring& edit_text() const { return edit_text_; }

  // Shows the box modally over `owner` (centred on it, or on the screen) and answers the
  // result of the button that ended it; -1 when it could not be shown.
  INT_PTR Show(HWND owner);

  // The buttons as created, for derived classes and tests.
  const std::vector<std::unique_ptr<CHoverButtonV2>>& buttons() const { return button_controls_; }

 protected:
  bool OnInit() override;
  bool HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) override;
  // A button was clicked: true when the derived class handled it (the box stays open).
  virtual bool OnButton(int result) { return false; }

 private:
  void OnHoverButtonClicked(int id) override;
  void Finish(int result);
  void Paint();
  int EscapeResult() const;

  std::wstring title_, text_;
  std::vector<MessageButton> buttons_;
  bool has_edit_ = false;
  std::wstring edit_initial_, edit_text_;
  size_t edit_limit_ = 0;

  MessageLayout layout_;
  int dpi_ = 96;
  std::vector<std::unique_ptr<CHoverButtonV2>> button_controls_;
  CBitmapEditCtrl edit_;
};

}  // namespace quill::kit::win
