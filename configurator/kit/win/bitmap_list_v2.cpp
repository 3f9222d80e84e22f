#include "configurator/kit/win/bitmap_list_v2.h"

#include <cmath>

#include "configurator/kit/value_range.h"
#include "configurator/kit/win/skin.h"

namespace quill::kit::win {

namespace {

constexpr int kTextColumn = 1;

std::wstring DelayText(int milliseconds) { return std::to_wstring(milliseconds) + L" ms"; }

}  // namespace

bool CBitmapListCtrlV2::Create(HWND parent, int id, const RECT& rect, int largest) {
  id_ = id;
  largest_ = largest < 0 ? 0 : largest;
  using Column = CBitmapListCtrlV3::Column;
  using Kind = CBitmapListCtrlV3::Kind;
  const int text_width = (rect.right - rect.left) * 96 / WindowDpi(parent) - 28 - 16;
  return list_.Create(parent, id, rect, {Column{L"", 28, Kind::kIcon}, Column{L"Event", text_width, Kind::kText, true, 8}});
}

int CBitmapListCtrlV2::AddKey(RowType type, const std::wstring& key_name) {
  delays_.push_back(-1);
  return list_.AddRow({type == RowType::kKeyDown ? skin::kKeyDown : skin::kKeyUp, {L"", key_name}, {}, true});
}

int CBitmapListCtrlV2::AddDelay(int milliseconds) {
  milliseconds = milliseconds < 0 ? 0 : std::min(milliseconds, largest_);
  delays_.push_back(milliseconds);
  return list_.AddRow({skin::kDelay, {L"", DelayText(milliseconds)}, {}, false});
}

void CBitmapListCtrlV2::RemoveRow(int row) {
  if (row < 0 || row >= static_cast<int>(delays_.size())) return;
  delays_.erase(delays_.begin() + row);
  list_.RemoveRow(row);
}

CBitmapListCtrlV2::RowType CBitmapListCtrlV2::type(int row) const {
  if (list_.row(row).icon == skin::kKeyDown) return RowType::kKeyDown;
  if (list_.row(row).icon == skin::kKeyUp) return RowType::kKeyUp;
  return RowType::kDelay;
}

int CBitmapListCtrlV2::delay(int row) const {
  return row >= 0 && row < static_cast<int>(delays_.size()) && delays_[row] > 0 ? delays_[row] : 0;
}

void CBitmapListCtrlV2::OnListRowSelected(int, int row) {
  if (parent_) parent_->OnKeyListRowSelected(id_, row);
}

void CBitmapListCtrlV2::OnListCellEdited(int, int row, int column) {
  if (column != kTextColumn || row < 0 || row >= static_cast<int>(delays_.size()) || delays_[row] < 0) return;
  // The edit holds what was typed: "120", "120 ms" or anything else.
  std::wstring typed = list_.row(row).text[column];
  if (typed.size() > 2 && typed.compare(typed.size() - 2, 2, L"ms") == 0) typed.resize(typed.size() - 2);
  double value = 0;
  const bool number = ParseDecimal({reinterpret_cast<const char16_t*>(typed.data()), typed.size()}, value) &&
                      value >= 0 && value == std::floor(value) && value <= largest_;
  if (number) delays_[row] = static_cast<int>(value);
  list_.SetText(row, column, DelayText(delays_[row]));
  if (number && parent_) parent_->OnKeyListDelayEdited(id_, row, delays_[row]);
}

void CBitmapListCtrlV2::OnListContextMenu(int, int row, POINT screen) {
  if (parent_) parent_->OnKeyListContextMenu(id_, row, screen);
}

}  // namespace quill::kit::win
