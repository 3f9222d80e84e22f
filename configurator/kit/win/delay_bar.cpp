#include "configurator/kit/win/delay_bar.h"

#include <string>

#include "configurator/kit/value_range.h"
#include "configurator/kit/win/skin.h"

namespace quill::kit::win {

bool CBitmapDelayBarCtrl::Create(HWND parent, int id, const RECT& r) {
  return CreateOf(L"QuillKitDelayBar", 0, WS_CHILD | WS_VISIBLE, r.left, r.top, r.right - r.left, r.bottom - r.top,
                  parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void CBitmapDelayBarCtrl::SetDelay(int milliseconds, int largest) {
  delay_ = milliseconds < 0 ? 0 : milliseconds;
  largest_ = largest < 1 ? 1 : largest;
  if (hwnd()) InvalidateRect(hwnd(), nullptr, FALSE);
}

void CBitmapDelayBarCtrl::Paint(HDC dc, const RECT& r) {
  const int dpi = WindowDpi(hwnd());
  Skin& skin = Skin::Get();
  FillColour(dc, r, skin::kColourPanel);
  const std::wstring text = std::to_wstring(delay_) + L" ms";
  const int text_w = Scale(64, dpi), bar_h = Scale(skin::kSliderTrackHeight + 2, dpi);
  const RECT track{r.left, (r.bottom - bar_h) / 2, r.right - text_w, (r.bottom - bar_h) / 2 + bar_h};
  skin.DrawBox(dc, skin::kSliderTrack, skin::kSliderTrackSlice, track, dpi);
  const ValueRange range(0, largest_, 0);
  const int end = range.PixelOf(delay_, track.left, track.right - track.left);
  if (end > track.left + bar_h / 2) {
    skin.DrawBox(dc, skin::kSliderFill, skin::kSliderFillSlice, RECT{track.left, track.top, end, track.bottom}, dpi);
  }
  const RECT label{r.right - text_w + Scale(8, dpi), r.top, r.right, r.bottom};
  DrawTextIn(dc, text.c_str(), static_cast<int>(text.size()), label, skin.TextFont(dpi), skin::kColourText,
             DT_LEFT | DT_VCENTER | DT_SINGLELINE);
}

}  // namespace quill::kit::win
