#include "configurator/kit/win/combo_box.h"

#include <windowsx.h>

#include <algorithm>

#include "configurator/kit/win/list_keys.h"
#include "configurator/kit/win/skin.h"

namespace quill::kit::win {

namespace {

constexpr int kRowHeight = 22, kListPadding = 3;

std::wstring Wide(const std::u16string& s) { return {reinterpret_cast<const wchar_t*>(s.data()), s.size()}; }
std::u16string Narrow16(const std::wstring& s) { return {reinterpret_cast<const char16_t*>(s.data()), s.size()}; }

}  // namespace

// ---- the list window

bool CComboBoxList::Open(HWND owner, const RECT& r) {
  row_height_ = Scale(kRowHeight, WindowDpi(owner));
  if (!CreateOf(L"QuillKitComboList", WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TOPMOST, WS_POPUP, r.left, r.top,
                r.right - r.left, r.bottom - r.top, owner, nullptr)) {
    return false;
  }
  ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
  return true;
}

void CComboBoxList::Paint(HDC dc, const RECT& r) {
  const int dpi = WindowDpi(hwnd());
  Skin& skin = Skin::Get();
  const ComboChoice& choice = combo_.choice_;
  FillColour(dc, r, skin::kColourPanelRaised);
  skin.DrawBox(dc, skin::kListPanel, skin::kListPanelSlice, r, dpi);
  const ListCursor& cursor = level_ == 1 ? choice.first() : choice.second();
  const int pad = Scale(kListPadding, dpi);
  const HFONT font = skin.TextFont(dpi);
  for (int shown = 0; shown < cursor.visible(); ++shown) {
    const int row = cursor.top() + shown;
    if (row >= cursor.count()) break;
    RECT cell{pad, pad + shown * row_height_, r.right - pad, pad + (shown + 1) * row_height_};
    const bool open_owner = level_ == 1 && choice.level() == 2 && choice.second_owner() == row;
    if (row == cursor.selected() || open_owner) {
      skin.DrawBox(dc, skin::kRowSelected, skin::kRowSelectedSlice, cell, dpi);
    } else if (row == cursor.hot()) {
      skin.DrawBox(dc, skin::kRowHot, skin::kRowHotSlice, cell, dpi);
    }
    const std::u16string& text =
        level_ == 1 ? choice.entries()[row].text : choice.entries()[choice.second_owner()].children[row];
    RECT label{cell.left + Scale(8, dpi), cell.top, cell.right - Scale(20, dpi), cell.bottom};
    DrawTextIn(dc, reinterpret_cast<const wchar_t*>(text.c_str()), static_cast<int>(text.size()), label, font,
               skin::kColourText, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    if (level_ == 1 && !choice.entries()[row].children.empty()) {
      RECT arrow{cell.right - Scale(18, dpi), cell.top, cell.right - Scale(6, dpi), cell.bottom};
      skin.DrawCentred(dc, skin::kArrowRight, arrow, dpi);
    }
  }
  if (cursor.count() > cursor.visible()) {
    // Where the shown rows lie in the whole list: a thin bar along the right edge.
    const int track = r.bottom - 2 * pad;
    const int bar_h = std::max(Scale(12, dpi), track * cursor.visible() / cursor.count());
    const int bar_y = pad + (track - bar_h) * cursor.top() / std::max(1, cursor.max_top());
    FillColour(dc, RECT{r.right - pad - Scale(3, dpi), bar_y, r.right - pad - Scale(1, dpi), bar_y + bar_h},
               skin::kColourLineStrong);
  }
}

LRESULT CComboBoxList::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      return Default(message, wparam, lparam);
  }
}

// ---- the closed box

CBitmapComboBox::~CBitmapComboBox() { CloseLists(); }

bool CBitmapComboBox::Create(HWND parent, int id, const RECT& r, int visible_rows) {
  id_ = id;
  visible_rows_ = std::max(1, visible_rows);
  choice_ = ComboChoice({}, visible_rows_);
  return CreateOf(L"QuillKitCombo", 0, WS_CHILD | WS_VISIBLE | WS_TABSTOP, r.left, r.top, r.right - r.left,
                  r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void CBitmapComboBox::SetEntries(std::vector<ComboEntry> entries) {
  CloseLists();
  const ComboPick pick = choice_.pick();
  choice_ = ComboChoice(std::move(entries), visible_rows_);
  choice_.SetPick(pick);
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

bool CBitmapComboBox::SetPick(int entry, int child) {
  if (!choice_.SetPick({entry, child})) return false;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
  return true;
}

HWND CBitmapComboBox::ListWindow(int level) const {
  const auto& list = level == 1 ? first_ : second_;
  return list ? list->hwnd() : nullptr;
}

int CBitmapComboBox::RowHeight() const { return Scale(kRowHeight, WindowDpi(hwnd())); }

void CBitmapComboBox::ShowLists() {
  const int dpi = WindowDpi(hwnd());
  const int row = RowHeight(), pad = Scale(kListPadding, dpi);
  RECT box;
  GetWindowRect(hwnd(), &box);
  HWND top = GetAncestor(hwnd(), GA_ROOT);
  if (choice_.level() >= 1 && !first_) {
    const int rows = std::min(choice_.first().count(), choice_.first().visible());
    const RECT r{box.left, box.bottom + Scale(2, dpi), box.right, box.bottom + Scale(2, dpi) + rows * row + 2 * pad};
    first_ = std::make_unique<CComboBoxList>(*this, 1);
    first_->Open(top, r);
  }
  if (choice_.level() == 2) {
    const int owner_row = choice_.second_owner() - choice_.first().top();
    RECT first_rect;
    GetWindowRect(first_->hwnd(), &first_rect);
    const int rows = std::min(choice_.second().count(), choice_.second().visible());
    const int y = first_rect.top + owner_row * row;
    const RECT r{first_rect.right + Scale(2, dpi), y, first_rect.right + Scale(2, dpi) + (box.right - box.left),
                 y + rows * row + 2 * pad};
    second_ = std::make_unique<CComboBoxList>(*this, 2);
    second_->Open(top, r);
  } else {
    second_.reset();
  }
  if (GetCapture() != hwnd()) SetCapture(hwnd());
}

void CBitmapComboBox::CloseLists() {
  second_.reset();
  first_.reset();
  if (hwnd() && GetCapture() == hwnd()) ReleaseCapture();
}

void CBitmapComboBox::Handle(ComboEvent event) {
  switch (event) {
    case ComboEvent::kNone:
      return;
    case ComboEvent::kOpened:
    case ComboEvent::kSecond:
      second_.reset();
      ShowLists();
      break;
    case ComboEvent::kRepaint:
      if (choice_.level() < 2) second_.reset();
      break;
    case ComboEvent::kClosed:
    case ComboEvent::kChosen:
      CloseLists();
      break;
  }
  InvalidateRect(hwnd(), nullptr, FALSE);
  if (first_) InvalidateRect(first_->hwnd(), nullptr, FALSE);
  if (second_) InvalidateRect(second_->hwnd(), nullptr, FALSE);
  if (event == ComboEvent::kChosen && parent_) parent_->OnComboChosen(id_, choice_.pick().entry, choice_.pick().child);
}

int CBitmapComboBox::ListAt(POINT client, int& row) const {
  row = -1;
  POINT screen = client;
  ClientToScreen(hwnd(), &screen);
  for (const auto* list : {second_.get(), first_.get()}) {
    if (!list) continue;
    RECT r;
    GetWindowRect(list->hwnd(), &r);
    if (!PtInRect(&r, screen)) continue;
    const ListCursor& cursor = list->level() == 1 ? choice_.first() : choice_.second();
    const int pad = Scale(kListPadding, WindowDpi(hwnd()));
    row = cursor.RowAt(screen.y - r.top - pad, list->row_height());
    return list->level();
  }
  return 0;
}

void CBitmapComboBox::Paint(HDC dc, const RECT& r) {
  const int dpi = WindowDpi(hwnd());
  Skin& skin = Skin::Get();
  FillColour(dc, r, skin::kColourPanel);
  const bool enabled = IsWindowEnabled(hwnd()) != FALSE;
  const bool focused = GetFocus() == hwnd();
  const int box = !enabled ? skin::kFieldDisabled
                  : (focused || choice_.level() > 0) ? skin::kFieldFocus
                  : hovered() ? skin::kFieldHover
                           : skin::kFieldNormal;
  skin.DrawBox(dc, box, skin::kFieldNormalSlice, r, dpi);
  const std::wstring text = Wide(choice_.PickText());
  RECT label{r.left + Scale(10, dpi), r.top, r.right - Scale(28, dpi), r.bottom};
  DrawTextIn(dc, text.c_str(), static_cast<int>(text.size()), label, skin.TextFont(dpi),
             enabled ? skin::kColourText : skin::kColourTextDisabled, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  RECT arrow{r.right - Scale(26, dpi), r.top, r.right - Scale(8, dpi), r.bottom};
  skin.DrawCentred(dc, !enabled ? skin::kArrowDownDisabled : choice_.level() > 0 ? skin::kArrowUp : skin::kArrowDown,
                   arrow, dpi);
}

LRESULT CBitmapComboBox::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_MOUSEMOVE: {
      const POINT p{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      if (choice_.level() > 0) {
        int row = -1;
        const int level = ListAt(p, row);
        if (level > 0) Handle(choice_.Hover(level, row));
      }
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK: {
      if (!IsWindowEnabled(hwnd())) return 0;
      const POINT p{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      if (choice_.level() == 0) {
        SetFocus(hwnd());
        Handle(choice_.Open());
        return 0;
      }
      int row = -1;
      const int level = ListAt(p, row);
      if (level > 0) {
        Handle(choice_.Click(level, row));
      } else {
        Handle(choice_.ClickOutside());  // also a click on the box itself closes
      }
      return 0;
    }
    case WM_MOUSEWHEEL: {
      if (choice_.level() == 0) return 0;
      POINT p{GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)};
      ScreenToClient(hwnd(), &p);
      int row = -1;
      const int level = std::max(1, ListAt(p, row));
      const int notches = -GET_WHEEL_DELTA_WPARAM(wparam) / WHEEL_DELTA;
      Handle(choice_.Wheel(level, notches * 3));
      return 0;
    }
    case WM_CAPTURECHANGED:
      if (choice_.level() > 0 && reinterpret_cast<HWND>(lparam) != hwnd()) Handle(choice_.Close());
      return 0;
    case WM_KILLFOCUS:
      Handle(choice_.Close());
      InvalidateRect(hwnd(), nullptr, FALSE);
      return 0;
    case WM_SETFOCUS:
    case WM_ENABLE:
      InvalidateRect(hwnd(), nullptr, FALSE);
      return 0;
    case WM_GETDLGCODE:
      // Open lists take Enter, Escape and the arrows; closed, the arrows only.
      return DLGC_WANTARROWS | (choice_.level() > 0 ? DLGC_WANTALLKEYS : 0);
    case WM_SYSKEYDOWN:
      if (wparam == VK_DOWN || wparam == VK_UP) {
        Handle(choice_.level() == 0 ? choice_.Key(ComboKey::kOpen) : choice_.Close());
        return 0;
      }
      return Default(message, wparam, lparam);
    case WM_KEYDOWN: {
      ListKey navigation;
      if (ListKeyOf(wparam, navigation)) {
        Handle(choice_.Key(ComboKeyOf(navigation)));
        return 0;
      }
      ComboKey key;
      switch (wparam) {
        case VK_LEFT: key = ComboKey::kLeft; break;
        case VK_RIGHT: key = ComboKey::kRight; break;
        case VK_RETURN: key = ComboKey::kEnter; break;
        case VK_ESCAPE: key = ComboKey::kEscape; break;
        case VK_F4: case VK_SPACE: key = ComboKey::kOpen; break;
        default: return 0;
      }
      Handle(choice_.Key(key));
      return 0;
    }
    case WM_DESTROY:
      CloseLists();
      return 0;
    default:
      return Default(message, wparam, lparam);
  }
}

void CGWComboBox::SetGroups(const std::vector<Group>& groups) {
  std::vector<ComboEntry> entries;
  for (const Group& g : groups) {
    ComboEntry entry{Narrow16(g.name), {}};
    for (const auto& m : g.members) entry.children.push_back(Narrow16(m));
    entries.push_back(std::move(entry));
  }
  SetEntries(std::move(entries));
}

}  // namespace quill::kit::win
