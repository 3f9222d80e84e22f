// The key list of the macro page: one row per recorded event, each of a type (key pressed, key
// released, pause) shown by its mark, with the key's name or the pause in milliseconds. The
// pause of a delay row is edited in place (double click, F2, or a click on the selected row's
// pause): a whole number of milliseconds up to the list's largest pause; anything else keeps
// the old pause. Keyboard navigation and the right-click request are those of the profile list
// (CBitmapListCtrlV3, which draws it). Reports go to the owner's BitmapListCtrlV2Parent.
#pragma once
#include <string>

#include "configurator/kit/win/bitmap_list_v3.h"

namespace quill::kit::win {

class BitmapListCtrlV2Parent {
 public:
  virtual void OnKeyListRowSelected(int id, int row) = 0;
  virtual void OnKeyListDelayEdited(int id, int row, int milliseconds) = 0;
  virtual void OnKeyListContextMenu(int id, int row, POINT screen) = 0;

 protected:
  ~BitmapListCtrlV2Parent() = default;
};

class CBitmapListCtrlV2 : private BitmapListCtrlV3Parent {
 public:
  enum class RowType { kKeyDown, kKeyUp, kDelay };

  explicit CBitmapListCtrlV2(BitmapListCtrlV2Parent* parent) : parent_(parent), list_(this) {}

  // `largest` is the longest pause an edit may give.
  bool Create(HWND parent, int id, const RECT& rect, int largest = 65535);
  HWND hwnd() const { return list_.hwnd(); }
  CBitmapListCtrlV3& list() { return list_; }
  int AddKey(RowType type, const std::wstring& key_name);  // kKeyDown or kKeyUp
  int AddDelay(int milliseconds);
  RowType type(int row) const;
  int delay(int row) const;  // 0 for a key row
  void RemoveRow(int row);

 private:
  void OnListRowSelected(int id, int row) override;
  void OnListCellEdited(int id, int row, int column) override;
  void OnListContextMenu(int id, int row, POINT screen) override;

  BitmapListCtrlV2Parent* parent_;
  CBitmapListCtrlV3 list_;
  int id_ = 0, largest_ = 65535;
  std::vector<int> delays_;  // per row; -1 for key rows
};

}  // namespace quill::kit::win
