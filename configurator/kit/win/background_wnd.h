// Skinned panels that carry other controls: CBackgroundWnd fills itself with the panel colour,
// CBackgroundWndV2 draws the dialog frame box around it. Both hand the commands and
// notifications of their children on to their own parent, so a panel between a control and
// its owner changes nothing for the owner.
#pragma once
#include "configurator/kit/win/painted_window.h"

namespace quill::kit::win {

class CBackgroundWnd : public PaintedWindow {
 public:
  bool Create(HWND parent, int id, const RECT& rect);

 protected:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;
  void Paint(HDC dc, const RECT& client) override;
};

class CBackgroundWndV2 : public CBackgroundWnd {
 protected:
  void Paint(HDC dc, const RECT& client) override;
};

}  // namespace quill::kit::win
