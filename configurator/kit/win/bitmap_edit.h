// Skinned edit field: a field box of the skin (normal, hover, focused, disabled) around a
// borderless edit control, with a limit on its length in UTF-16 units.
#pragma once
#include <string>

#include "configurator/kit/win/painted_window.h"
#include "winsupport/handles.h"

namespace quill::kit::win {

class CBitmapEditCtrl : public PaintedWindow {
 public:
  bool Create(HWND parent, int id, const RECT& rect, size_t limit);
  HWND edit() const { return edit_; }
  void SetText(const std::wstring& text);  // cut to the limit at a character boundary
  std::wstring Text() const;               // at most the limit, cut at a character boundary
  size_t limit() const { return limit_; }

 protected:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void Paint(HDC dc, const RECT& r) override;
  void PlaceEdit();

  HWND edit_ = nullptr;
  size_t limit_ = 0;
};

}  // namespace quill::kit::win
