#include "configurator/kit/win/bitmap_edit.h"

#include <string_view>

#include "configurator/kit/message_layout.h"
#include "configurator/kit/win/skin.h"

namespace quill::kit::win {

namespace {

std::wstring Limited(std::wstring_view text, size_t limit) {
  const std::u16string cut =
      LimitText(std::u16string_view(reinterpret_cast<const char16_t*>(text.data()), text.size()), limit);
  return std::wstring(reinterpret_cast<const wchar_t*>(cut.data()), cut.size());
}

}  // namespace

bool CBitmapEditCtrl::Create(HWND parent, int id, const RECT& r, size_t limit) {
  limit_ = limit;
  if (!CreateOf(L"QuillKitEdit", WS_EX_CONTROLPARENT, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, r.left, r.top,
                r.right - r.left, r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)))) {
    return false;
  }
  edit_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 0, 0, 10, 10, hwnd(),
                          reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleW(nullptr), nullptr);
  if (!edit_) return false;
  SendMessageW(edit_, WM_SETFONT, reinterpret_cast<WPARAM>(Skin::Get().TextFont(WindowDpi(hwnd()))), FALSE);
  SendMessageW(edit_, EM_SETLIMITTEXT, limit, 0);
  PlaceEdit();
  return true;
}

void CBitmapEditCtrl::PlaceEdit() {
  RECT client;
  GetClientRect(hwnd(), &client);
  const int dpi = WindowDpi(hwnd());
  const int pad = Scale(8, dpi);
  const int text_h = Scale(skin::kTextSize + 5, dpi);
  MoveWindow(edit_, pad, (client.bottom - text_h) / 2, std::max<LONG>(1, client.right - 2 * pad), text_h, TRUE);
}

void CBitmapEditCtrl::SetText(const std::wstring& text) { SetWindowTextW(edit_, Limited(text, limit_).c_str()); }

std::wstring CBitmapEditCtrl::Text() const {
  const int length = GetWindowTextLengthW(edit_);
  std::wstring text(static_cast<size_t>(std::max(0, length)) + 1, L'\0');
  const int read = GetWindowTextW(edit_, text.data(), static_cast<int>(text.size()));
  text.resize(static_cast<size_t>(std::max(0, read)));
  return Limited(text, limit_);
}

void CBitmapEditCtrl::Paint(HDC dc, const RECT& r) {
  const int dpi = WindowDpi(hwnd());
  FillColour(dc, r, skin::kColourPanel);
  const int box = !IsWindowEnabled(hwnd()) ? skin::kFieldDisabled
                  : GetFocus() == edit_    ? skin::kFieldFocus
                  : hovered()              ? skin::kFieldHover
                                           : skin::kFieldNormal;
  Skin::Get().DrawBox(dc, box, skin::kFieldNormalSlice, r, dpi);
}

LRESULT CBitmapEditCtrl::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SETFOCUS:
      SetFocus(edit_);
      return 0;
    case WM_CTLCOLOREDIT:
      return EditFieldColours(wparam);
    case WM_COMMAND:
      if (HIWORD(wparam) == EN_SETFOCUS || HIWORD(wparam) == EN_KILLFOCUS) {
        InvalidateRect(hwnd(), nullptr, FALSE);
        return 0;
      }
      // Other notifications go on to the owner, as from the edit control itself.
      return SendMessageW(GetParent(hwnd()), message, wparam, lparam);
    case WM_SETCURSOR:
      SetCursor(LoadCursorW(nullptr, IDC_IBEAM));
      return TRUE;
    case WM_LBUTTONDOWN:
      SetFocus(edit_);
      return 0;
    case WM_ENABLE:
      EnableWindow(edit_, wparam != FALSE);
      InvalidateRect(hwnd(), nullptr, FALSE);
      return 0;
    default:
      return Default(message, wparam, lparam);
  }
}

}  // namespace quill::kit::win
