// Skinned push buttons. CHoverButton draws its faces (normal, hover, pressed, disabled) from
// box bitmaps of the skin, with an optional text, a visible keyboard focus, and reports a click
// to `on_click`. CHoverButtonV2 adds the toggle (check) mode and reports to its owner's
// HoverButtonV2Parent. Space, Enter and the mouse click them; Tab reaches them (WS_TABSTOP).
#pragma once
#include <functional>
#include <string>

#include "configurator/kit/button_state.h"
#include "configurator/kit/win/owner_callbacks.h"
#include "configurator/kit/win/painted_window.h"

namespace quill::kit::win {

class CHoverButton : public PaintedWindow {
 public:
  explicit CHoverButton(bool toggle = false) : state_(toggle) {}

  bool Create(HWND parent, int id, const RECT& rect, const std::wstring& text = L"");
  int id() const { return id_; }
  void SetText(const std::wstring& text);
  const std::wstring& text() const { return text_; }
  void SetEnabled(bool enabled);
  bool enabled() const { return state_.enabled(); }
  ButtonFace face() const { return state_.Face(); }

  std::function<void(int id)> on_click;

 protected:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  virtual void Clicked();
  void Apply(ButtonChange change);
  ButtonState state_;

 private:
  void Paint(HDC dc, const RECT& r) override;
  bool Inside(LPARAM lparam) const;

  int id_ = 0;
  std::wstring text_;
};

class CHoverButtonV2 : public CHoverButton {
 public:
  CHoverButtonV2(HoverButtonV2Parent* parent, bool toggle = false) : CHoverButton(toggle), parent_(parent) {}

  void SetChecked(bool checked) { Apply(state_.SetChecked(checked)); }
  bool checked() const { return state_.checked(); }

 protected:
  void Clicked() override;

 private:
  HoverButtonV2Parent* parent_;
};

}  // namespace quill::kit::win
