#include "configurator/kit/win/slider_list.h"

#include "configurator/kit/win/skin.h"

namespace quill::kit::win {

namespace {

constexpr int kLabelShare = 30, kValueWidth = 86;  // per cent of the width; pixels at 96 DPI

}  // namespace

bool CSliderListCtrlV2::Create(HWND parent, int id, const RECT& r, int row_height) {
  row_height_ = row_height;
  return CreateOf(L"QuillKitSliderList", WS_EX_CONTROLPARENT, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, r.left, r.top,
                  r.right - r.left, r.bottom - r.top, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

CBitmapSliderCtrl* CSliderListCtrlV2::AddRow(const std::wstring& label, int slider_id, double min, double max,
                                             double step, double value, Format format) {
  RECT client;
  GetClientRect(hwnd(), &client);
  const int dpi = WindowDpi(hwnd());
  const int h = Scale(row_height_, dpi), top = static_cast<int>(rows_.size()) * h;
  const int left = client.right * kLabelShare / 100, right = client.right - Scale(kValueWidth, dpi);
  Row row{label, std::move(format), std::make_unique<CBitmapSliderCtrl>(static_cast<CSliderCtrlParent*>(this))};
  if (!row.slider->Create(hwnd(), slider_id, RECT{left, top + (h - Scale(24, dpi)) / 2, right, top + (h + Scale(24, dpi)) / 2})) {
    return nullptr;
  }
  row.slider->SetRange(min, max, step);
  row.slider->SetValue(value);
  rows_.push_back(std::move(row));
  InvalidateRect(hwnd(), nullptr, FALSE);
  return rows_.back().slider.get();
}

void CSliderListCtrlV2::OnSliderMoved(CBitmapSliderCtrl& slider, double value) {
  InvalidateRect(hwnd(), nullptr, FALSE);
  if (parent_) parent_->OnSliderMoved(slider, value);
}

void CSliderListCtrlV2::Paint(HDC dc, const RECT& r) {
  const int dpi = WindowDpi(hwnd());
  Skin& skin = Skin::Get();
  FillColour(dc, r, skin::kColourPanel);
  const HFONT font = skin.TextFont(dpi), value_font = skin.TextFont(dpi, true);
  const int h = Scale(row_height_, dpi);
  for (size_t i = 0; i < rows_.size(); ++i) {
    const Row& row = rows_[i];
    const int top = static_cast<int>(i) * h;
    const bool enabled = IsWindowEnabled(row.slider->hwnd()) != FALSE;
    RECT label{0, top, r.right * kLabelShare / 100 - Scale(8, dpi), top + h};
    DrawTextIn(dc, row.label.c_str(), static_cast<int>(row.label.size()), label, font,
               enabled ? skin::kColourText : skin::kColourTextDisabled, DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
    const std::wstring value = row.format ? row.format(row.slider->value()) : std::wstring();
    RECT value_box{r.right - Scale(kValueWidth, dpi) + Scale(10, dpi), top, r.right, top + h};
    DrawTextIn(dc, value.c_str(), static_cast<int>(value.size()), value_box, value_font,
               enabled ? skin::kColourAccent : skin::kColourTextDisabled, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    if (i + 1 < rows_.size()) FillColour(dc, RECT{0, top + h - 1, r.right, top + h}, skin::kColourLine);
  }
}

}  // namespace quill::kit::win
