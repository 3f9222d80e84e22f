#include "configurator/kit/win/skin_menu.h"

#include <windowsx.h>

#include <algorithm>

#include "configurator/kit/list_columns.h"
#include "configurator/kit/win/skin.h"

namespace quill::kit::win {

namespace {

constexpr int kItem = 26, kSeparator = 9, kPadding = 4, kMinWidth = 170;

}  // namespace

MenuColours SkinMenuColours() {
  return {skin::kColourPanelRaised, skin::kColourLineStrong, skin::kColourText,  skin::kColourTextDisabled,
          RGB(0x1E, 0x4D, 0x36),     skin::kColourAccent,     RGB(255, 255, 255), skin::kColourLine,
          skin::kColourAccent,       RGB(0x08, 0x09, 0x0B)};
}

int CSkinMenu::ItemHeight(int index) const { return Scale(items_[index].separator ? kSeparator : kItem, dpi_); }

int CSkinMenu::ItemTop(int index) const {
  int top = Scale(kPadding, dpi_);
  for (int i = 0; i < index; ++i) top += ItemHeight(i);
  return top;
}

int CSkinMenu::ItemAt(POINT p) const {
  RECT client;
  GetClientRect(hwnd(), &client);
  if (p.x < 0 || p.x >= client.right) return -1;
  for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
    const int top = ItemTop(i);
    if (p.y >= top && p.y < top + ItemHeight(i)) return i;
  }
  return -1;
}

std::vector<bool> CSkinMenu::Selectable() const {
  std::vector<bool> selectable;
  for (const auto& item : items_) selectable.push_back(item.enabled && !item.separator);
  return selectable;
}

RECT CSkinMenu::ItemRect(HWND menu, int index) {
  auto* self = reinterpret_cast<CSkinMenu*>(GetWindowLongPtrW(menu, GWLP_USERDATA));
  RECT r{};
  if (!self || index < 0 || index >= static_cast<int>(self->items_.size())) return r;
  GetWindowRect(menu, &r);
  const int top = r.top + self->ItemTop(index);
  return {r.left, top, r.right, top + self->ItemHeight(index)};
}

void CSkinMenu::SetHot(int index) {
  if (index >= 0 && !Selectable()[index]) index = -1;
  if (index == hot_) return;
  hot_ = index;
  InvalidateRect(hwnd(), nullptr, FALSE);
}

void CSkinMenu::Paint(HDC dc, const RECT& r) {
  const HFONT font = Skin::Get().TextFont(dpi_);
  FillColour(dc, r, colours_.background);
  FrameColour(dc, r, colours_.border);
  // A darker line along the right and bottom edges gives the menu some depth.
  FillColour(dc, RECT{r.right - 1, 1, r.right, r.bottom}, colours_.shadow);
  FillColour(dc, RECT{1, r.bottom - 1, r.right, r.bottom}, colours_.shadow);
  const int pad = Scale(kPadding, dpi_);
  for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
    const SkinMenuItem& item = items_[i];
    const int top = ItemTop(i), h = ItemHeight(i);
    if (item.separator) {
      FillColour(dc, RECT{pad + Scale(6, dpi_), top + h / 2, r.right - pad - Scale(6, dpi_), top + h / 2 + 1},
                 colours_.separator);
      continue;
    }
    const RECT row{pad, top, r.right - pad, top + h};
    COLORREF text = item.enabled ? colours_.text : colours_.text_disabled;
    if (i == hot_) {
      FillColour(dc, row, colours_.highlight);
      FrameColour(dc, row, colours_.highlight_border);
      FillColour(dc, RECT{row.left, row.top, row.left + Scale(3, dpi_), row.bottom}, colours_.accent);
      text = colours_.highlight_text;
    }
    RECT label{row.left + Scale(14, dpi_), row.top, row.right - Scale(10, dpi_), row.bottom};
    DrawTextIn(dc, item.text.c_str(), static_cast<int>(item.text.size()), label, font, text,
               DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
  }
}

LRESULT CSkinMenu::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_MOUSEMOVE:
      SetHot(ItemAt({GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)}));
      return 0;
    case WM_LBUTTONUP: {
      const int item = ItemAt({GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)});
      if (item >= 0 && Selectable()[item]) {
        chosen_ = items_[item].id;
        done_ = true;
      }
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_RBUTTONDOWN:
    case WM_MBUTTONDOWN:
      if (ItemAt({GET_X_LPARAM(lparam), GET_Y_LPARAM(lparam)}) < 0) done_ = true;  // elsewhere: dismissed
      return 0;
    case WM_CAPTURECHANGED:
      done_ = true;
      return 0;
    default:
      return Default(message, wparam, lparam);
  }
}

int CSkinMenu::Track(HWND owner, const std::vector<SkinMenuItem>& items, POINT screen, const MenuColours& colours,
                     const std::function<void(HWND)>& on_shown, int hot) {
  if (items.empty()) return 0;
  CSkinMenu menu(items, colours);
  menu.dpi_ = WindowDpi(owner);
  // The width of the longest text, the height of the items; kept on the monitor.
  const quill::win::WindowDc dc(owner);
  const HFONT font = Skin::Get().TextFont(menu.dpi_);
  int width = Scale(kMinWidth, menu.dpi_);
  for (const auto& item : items) {
    width = std::max(width, TextWidth(dc.Get(), font, item.text.c_str(), static_cast<int>(item.text.size())) +
                                Scale(2 * kPadding + 40, menu.dpi_));
  }
  const int height = menu.ItemTop(static_cast<int>(items.size())) + Scale(kPadding, menu.dpi_);
  MONITORINFO monitor{};
  monitor.cbSize = sizeof monitor;
  GetMonitorInfoW(MonitorFromPoint(screen, MONITOR_DEFAULTTONEAREST), &monitor);
  const RECT& work = monitor.rcWork;
  const int x = std::max<int>(work.left, std::min<int>(screen.x, work.right - width));
  const int y = screen.y + height <= work.bottom ? screen.y : std::max<int>(work.top, screen.y - height);
  if (!menu.CreateOf(L"fpmMenuClass", WS_EX_TOOLWINDOW | WS_EX_TOPMOST | WS_EX_NOACTIVATE, WS_POPUP, x, y, width,
                     height, owner, nullptr, CS_DROPSHADOW)) {
    return 0;
  }
  if (hot >= 0 && hot < static_cast<int>(items.size())) menu.SetHot(hot);
  ShowWindow(menu.hwnd(), SW_SHOWNOACTIVATE);
  UpdateWindow(menu.hwnd());
  SetCapture(menu.hwnd());
  if (on_shown) on_shown(menu.hwnd());

  MSG msg;
  while (!menu.done_ && menu.hwnd()) {
    const BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got <= 0) {
      if (got == 0) PostQuitMessage(static_cast<int>(msg.wParam));  // for the loop outside
      break;
    }
    if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
      switch (msg.wParam) {
        case VK_UP: menu.SetHot(NextSelectable(menu.Selectable(), menu.hot_, -1)); break;
        case VK_DOWN: menu.SetHot(NextSelectable(menu.Selectable(), menu.hot_, +1)); break;
        case VK_RETURN:
          if (menu.hot_ >= 0) {
            menu.chosen_ = menu.items_[menu.hot_].id;
            menu.done_ = true;
          }
          break;
        case VK_ESCAPE:
        case VK_MENU:
          menu.done_ = true;
          break;
        default:
          break;
      }
      continue;  // keys belong to the menu while it is shown
    }
    if (msg.message == WM_CHAR || msg.message == WM_SYSCHAR || msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP) {
      continue;
    }
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  const int chosen = menu.done_ ? menu.chosen_ : 0;
  if (menu.hwnd() && GetCapture() == menu.hwnd()) {
    menu.done_ = true;
    ReleaseCapture();
  }
  menu.Destroy();
  return chosen;
}

}  // namespace quill::kit::win
