// Owner-drawn pop-up menus in the skin's colours (the lists' context menus): a window of the
// class "fpmMenuClass" (arrow cursor, no background) shown at a point, run modally until an
// item is chosen or the menu is dismissed. Mouse: hover highlights, a click chooses, a click
// elsewhere dismisses. Keyboard: Up/Down (separators and disabled items passed over), Enter
// chooses, Escape or Alt dismisses.
#pragma once
#include <functional>
#include <string>
#include <vector>

#include "configurator/kit/win/painted_window.h"

namespace quill::kit::win {

// The ten colours a menu is drawn in.
struct MenuColours {
  COLORREF background, border, text, text_disabled, highlight, highlight_border, highlight_text, separator, accent,
      shadow;
};
MenuColours SkinMenuColours();

struct SkinMenuItem {
  int id = 0;
  std::wstring text;
  bool enabled = true;
  bool separator = false;
};

class CSkinMenu : public PaintedWindow {
 public:
  // Shows `items` with the top left corner at `screen` (moved to stay on the monitor) and
  // answers the chosen item's identifier, 0 when dismissed. `on_shown` runs once the menu is
  // on the screen; `hot` is the item highlighted at the start (a menu opened from the keyboard
  // starts on its first item), -1 for none.
  static int Track(HWND owner, const std::vector<SkinMenuItem>& items, POINT screen,
                   const MenuColours& colours = SkinMenuColours(), const std::function<void(HWND)>& on_shown = {},
                   int hot = -1);
  // The screen rectangle of item `index` of a shown menu window.
  static RECT ItemRect(HWND menu, int index);

 protected:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  CSkinMenu(const std::vector<SkinMenuItem>& items, const MenuColours& colours) : items_(items), colours_(colours) {}
  int ItemAt(POINT client) const;
  int ItemTop(int index) const;
  int ItemHeight(int index) const;
  void SetHot(int index);
  void Paint(HDC dc, const RECT& r) override;
  std::vector<bool> Selectable() const;

  std::vector<SkinMenuItem> items_;
  MenuColours colours_;
  int hot_ = -1, chosen_ = 0, dpi_ = 96;
  bool done_ = false;
};

}  // namespace quill::kit::win
