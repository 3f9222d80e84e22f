#include "configurator/kit/win/bitmap_list_v3.h"

#include <windowsx.h>

#include <algorithm>

#include "configurator/kit/list_columns.h"
#include "configurator/kit/message_layout.h"
#include "configurator/kit/win/list_keys.h"
#include "configurator/kit/win/skin.h"

namespace quill::kit::win {

namespace {

constexpr int kHeader = 26, kRow = 24, kScrollbar = 8;

std::wstring Limited(const std::wstring& text, size_t limit) {
  const std::u16string cut = LimitText({reinterpret_cast<const char16_t*>(text.data()), text.size()}, limit);
  return {reinterpret_cast<const wchar_t*>(cut.data()), cut.size()};
}

}  // namespace

bool CBitmapListCtrlV3::Create(HWND parent, int id, const RECT& r, std::vector<Column> columns) {
  id_ = id;
  columns_ = std::move(columns);
  if (!CreateOf(L"QuillKitListV3", 0, WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPCHILDREN, r.left, r.top,
                r.right - r.left, r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)))) {
    return false;
  }
  const int bar = Scale(kScrollbar, WindowDpi(hwnd()));
  if (!scrollbar_.Create(hwnd(), 1, RECT{r.right - r.left - bar - 2, HeaderHeight() + 2, r.right - r.left - 2,
                                         r.bottom - r.top - 2})) {
    return false;
  }
  scrollbar_.on_scroll = [this](int top) {
    EndEdit(true);
    cursor_.ScrollTo(top);
    InvalidateRect(hwnd(), nullptr, FALSE);
  };
  UpdateVisible();
  return true;
}

std::vector<int> CBitmapListCtrlV3::Widths() const {
  const int dpi = WindowDpi(hwnd());
  std::vector<int> widths;
  for (const Column& c : columns_) widths.push_back(Scale(c.width, dpi));
  return widths;
}

int CBitmapListCtrlV3::HeaderHeight() const { return Scale(kHeader, WindowDpi(hwnd())); }
int CBitmapListCtrlV3::RowHeight() const { return Scale(kRow, WindowDpi(hwnd())); }

void CBitmapListCtrlV3::UpdateVisible() {
  RECT client{};
  GetClientRect(hwnd(), &client);
  cursor_.SetCount(static_cast<int>(rows_.size()));
  cursor_.SetVisible(std::max(1, static_cast<int>(client.bottom - HeaderHeight()) / RowHeight()));
}

int CBitmapListCtrlV3::AddRow(Row row) {
  row.text.resize(columns_.size());
  row.checked.resize(columns_.size());
  rows_.push_back(std::move(row));
  UpdateVisible();
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
  return static_cast<int>(rows_.size()) - 1;
}

void CBitmapListCtrlV3::RemoveRow(int row) {
  if (row < 0 || row >= row_count()) return;
  if (editing() && edit_row_ == row) EndEdit(false);
  rows_.erase(rows_.begin() + row);
  const int selected = cursor_.selected();
  UpdateVisible();
  if (selected > row) cursor_.Select(selected - 1);
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void CBitmapListCtrlV3::SetText(int row, int column, const std::wstring& text) {
  if (row < 0 || row >= row_count() || column < 0 || column >= static_cast<int>(columns_.size())) return;
  rows_[row].text[column] = text;
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void CBitmapListCtrlV3::SetChecked(int row, int column, bool checked) {
  if (row < 0 || row >= row_count() || column < 0 || column >= static_cast<int>(columns_.size())) return;
  rows_[row].checked[column] = checked;
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void CBitmapListCtrlV3::Select(int row) {
  if (cursor_.Select(row)) InvalidateRect(hwnd(), nullptr, FALSE);
}

void CBitmapListCtrlV3::SelectAndReport(int row) {
  if (row < 0 || row >= row_count()) return;
  const bool changed = cursor_.Select(row);
  InvalidateRect(hwnd(), nullptr, FALSE);
  if (changed && parent_) parent_->OnListRowSelected(id_, cursor_.selected());
}

void CBitmapListCtrlV3::Toggle(int row, int column) {
  rows_[row].checked[column] = !rows_[row].checked[column];
  InvalidateRect(hwnd(), nullptr, FALSE);
  if (parent_) parent_->OnListCellEdited(id_, row, column);
}

int CBitmapListCtrlV3::FirstColumnOf(Kind kind, bool editable) const {
  for (size_t i = 0; i < columns_.size(); ++i) {
    if (columns_[i].kind == kind && (!editable || columns_[i].editable)) return static_cast<int>(i);
  }
  return -1;
}

bool CBitmapListCtrlV3::Editable(int row, int column) const {
  if (row < 0 || row >= row_count() || column < 0 || column >= static_cast<int>(columns_.size())) return false;
  return columns_[column].kind == Kind::kText && columns_[column].editable && !rows_[row].fixed;
}

RECT CBitmapListCtrlV3::CellRect(int row, int column) const {
  const std::vector<int> widths = Widths();
  const int left = ColumnLeft(widths, column);
  const int top = HeaderHeight() + (row - cursor_.top()) * RowHeight();
  return {left, top, left + (column < static_cast<int>(widths.size()) ? widths[column] : 0), top + RowHeight()};
}

bool CBitmapListCtrlV3::BeginEdit(int row, int column) {
  if (!Editable(row, column)) return false;
  EndEdit(true);
  cursor_.Select(row);
  edit_row_ = row;
  edit_column_ = column;
  const RECT cell = CellRect(row, column);
  const int pad = Scale(4, WindowDpi(hwnd()));
  editor_ = CreateWindowExW(0, L"EDIT", rows_[row].text[column].c_str(), WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL,
                            cell.left + pad, cell.top + pad, cell.right - cell.left - 2 * pad,
                            cell.bottom - cell.top - 2 * pad, hwnd(), nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!editor_) return false;
  SendMessageW(editor_, WM_SETFONT, reinterpret_cast<WPARAM>(Skin::Get().TextFont(WindowDpi(hwnd()))), FALSE);
  SendMessageW(editor_, EM_SETLIMITTEXT, columns_[column].limit, 0);
  SendMessageW(editor_, EM_SETSEL, 0, -1);
  editor_subclass_.Attach(editor_, [this](HWND, UINT message, WPARAM wparam, LPARAM, bool& handled) -> LRESULT {
    if (message == WM_GETDLGCODE) {
      handled = true;
      return DLGC_WANTALLKEYS | DLGC_HASSETSEL | DLGC_WANTCHARS;
    }
    if (message == WM_KEYDOWN && (wparam == VK_RETURN || wparam == VK_ESCAPE)) {
      handled = true;
      EndEdit(wparam == VK_RETURN);
      return 0;
    }
    if (message == WM_CHAR && (wparam == L'\r' || wparam == 27)) {
      handled = true;  // no beep
      return 0;
    }
    if (message == WM_KILLFOCUS) {
      // Leaving the field keeps the text; done after the focus change settles.
      PostMessageW(hwnd(), WM_APP + 1, 0, 0);
    }
    return 0;
  });
  SetFocus(editor_);
  InvalidateRect(hwnd(), nullptr, FALSE);
  return true;
}

void CBitmapListCtrlV3::EndEdit(bool keep) {
  if (!editor_) return;
  const HWND editor = std::exchange(editor_, nullptr);
  const int row = edit_row_, column = edit_column_;
  std::wstring text;
  if (keep) {
    const int length = GetWindowTextLengthW(editor);
    text.assign(static_cast<size_t>(std::max(0, length)) + 1, L'\0');
    text.resize(static_cast<size_t>(std::max(0, GetWindowTextW(editor, text.data(), static_cast<int>(text.size())))));
    text = Limited(text, columns_[column].limit);
  }
  const bool had_focus = GetFocus() == editor;
  editor_subclass_.Detach();
  DestroyWindow(editor);
  if (had_focus) SetFocus(hwnd());
  InvalidateRect(hwnd(), nullptr, FALSE);
  if (keep && row < row_count() && rows_[row].text[column] != text) {
    rows_[row].text[column] = text;
    if (parent_) parent_->OnListCellEdited(id_, row, column);
  }
}

void CBitmapListCtrlV3::Paint(HDC dc, const RECT& r) {
  scrollbar_.SetRows(cursor_.count(), cursor_.visible(), cursor_.top());
  const int dpi = WindowDpi(hwnd());
  Skin& skin = Skin::Get();
  FillColour(dc, r, skin::kColourPanelRaised);
  const std::vector<int> widths = Widths();
  const int header = HeaderHeight(), row_h = RowHeight();
  const HFONT heading = skin.CaptionFont(dpi, 13), text = skin.TextFont(dpi);
  const bool focused = GetFocus() == hwnd();
  // Header: titles over a line.
  FillColour(dc, RECT{0, 0, r.right, header}, skin::kColourPanel);
  for (size_t c = 0; c < columns_.size(); ++c) {
    const int left = ColumnLeft(widths, static_cast<int>(c));
    RECT cell{left + Scale(8, dpi), 0, left + widths[c] - Scale(4, dpi), header};
    const UINT align = columns_[c].kind == Kind::kText ? DT_LEFT : DT_CENTER;
    DrawTextIn(dc, columns_[c].title.c_str(), static_cast<int>(columns_[c].title.size()), cell, heading,
               skin::kColourTextDim, align | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  }
  FillColour(dc, RECT{0, header - 1, r.right, header}, skin::kColourAccentDeep);
  for (int shown = 0; shown < cursor_.visible(); ++shown) {
    const int index = cursor_.top() + shown;
    if (index >= row_count()) break;
    const Row& row = rows_[index];
    const RECT line{Scale(2, dpi), header + shown * row_h + 1, r.right - Scale(kScrollbar + 4, dpi),
                    header + (shown + 1) * row_h};
    if (index == cursor_.selected()) {
      skin.DrawBox(dc, skin::kRowSelected, skin::kRowSelectedSlice, line, dpi);
      if (!focused) FillColour(dc, RECT{line.left, line.top, line.left + Scale(3, dpi), line.bottom}, skin::kColourAccent);
    } else if (index == cursor_.hot()) {
      skin.DrawBox(dc, skin::kRowHot, skin::kRowHotSlice, line, dpi);
    } else {
      FillColour(dc, RECT{line.left, line.bottom - 1, line.right, line.bottom}, skin::kColourLine);
    }
    for (size_t c = 0; c < columns_.size(); ++c) {
      const int left = ColumnLeft(widths, static_cast<int>(c));
      const RECT cell{left, line.top, left + widths[c], line.bottom};
      switch (columns_[c].kind) {
        case Kind::kIcon:
          if (row.icon) skin.DrawCentred(dc, row.icon, cell, dpi);
          break;
        case Kind::kCheck: {
          const int size = Scale(skin::kCheckOnWidth, dpi);
          const RECT box{(cell.left + cell.right - size) / 2, (cell.top + cell.bottom - size) / 2,
                         (cell.left + cell.right + size) / 2, (cell.top + cell.bottom + size) / 2};
          skin.DrawBox(dc, row.checked[c] ? skin::kCheckOn : skin::kCheckOff, skin::kCheckOnSlice, box, dpi);
          if (row.checked[c]) skin.DrawCentred(dc, skin::kCheck, box, dpi);
          break;
        }
        case Kind::kText: {
          RECT label{cell.left + Scale(8, dpi), cell.top, cell.right - Scale(4, dpi), cell.bottom};
          DrawTextIn(dc, row.text[c].c_str(), static_cast<int>(row.text[c].size()), label, text, skin::kColourText,
                     DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
          break;
        }
      }
    }
  }
  if (focused) {
    FrameColour(dc, r, skin::kColourAccent);  // the keyboard focus: the list's outline in the accent
  }
}

LRESULT CBitmapListCtrlV3::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_SIZE:
      UpdateVisible();
      return 0;
    case WM_CTLCOLOREDIT:
      return EditFieldColours(wparam);
    case WM_APP + 1:
      if (editor_ && GetFocus() != editor_) EndEdit(true);
      return 0;
    case WM_MOUSEMOVE: {
      const int row = cursor_.RowAt(GET_Y_LPARAM(lparam) - HeaderHeight(), RowHeight());
      if (cursor_.SetHot(row)) InvalidateRect(hwnd(), nullptr, FALSE);
      return 0;
    }
    case WM_MOUSELEAVE:
      if (cursor_.SetHot(-1)) InvalidateRect(hwnd(), nullptr, FALSE);
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: {
      const int row = cursor_.RowAt(GET_Y_LPARAM(lparam) - HeaderHeight(), RowHeight());
      const int column = ColumnAt(Widths(), GET_X_LPARAM(lparam));
      const bool was_selected = row >= 0 && row == cursor_.selected();
      EndEdit(true);
      SetFocus(hwnd());
      if (row < 0) return 0;
      SelectAndReport(row);
      if (message == WM_RBUTTONDOWN) {
        POINT screen{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
        ClientToScreen(hwnd(), &screen);
        if (parent_) parent_->OnListContextMenu(id_, row, screen);
        return 0;
      }
      if (column < 0) return 0;
      if (columns_[column].kind == Kind::kCheck) {
        Toggle(row, column);
      } else if (message == WM_LBUTTONDBLCLK || was_selected) {
        BeginEdit(row, column);
      }
      return 0;
    }
    case WM_MOUSEWHEEL:
      if (cursor_.ScrollBy(-GET_WHEEL_DELTA_WPARAM(wparam) / WHEEL_DELTA)) {
        EndEdit(true);
        InvalidateRect(hwnd(), nullptr, FALSE);
      }
      return 0;
    case WM_KEYDOWN: {
      ListKey key;
      if (!ListKeyOf(wparam, key)) {
        switch (wparam) {
          case VK_F2:
            BeginEdit(cursor_.selected(), FirstColumnOf(Kind::kText, true));
            return 0;
          case VK_SPACE: {
            const int column = FirstColumnOf(Kind::kCheck, false);
            if (cursor_.selected() >= 0 && column >= 0) Toggle(cursor_.selected(), column);
            return 0;
          }
          case VK_APPS:
            if (cursor_.selected() >= 0 && parent_) {
              const RECT cell = CellRect(cursor_.selected(), 0);
              POINT screen{cell.left + RowHeight(), cell.bottom};
              ClientToScreen(hwnd(), &screen);
              parent_->OnListContextMenu(id_, cursor_.selected(), screen);
            }
            return 0;
          default:
            return 0;
        }
      }
      const int before = cursor_.selected();
      cursor_.Navigate(key);
      InvalidateRect(hwnd(), nullptr, FALSE);
      if (cursor_.selected() != before && parent_) parent_->OnListRowSelected(id_, cursor_.selected());
      return 0;
    }
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS;
    case WM_SETFOCUS:
    case WM_KILLFOCUS:
      InvalidateRect(hwnd(), nullptr, FALSE);
      return 0;
    case WM_DESTROY:
      editor_subclass_.Detach();
      editor_ = nullptr;
      return 0;
    default:
      return Default(message, wparam, lparam);
  }
}

}  // namespace quill::kit::win
