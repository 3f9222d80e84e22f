// Skinned drop-down selection. CBitmapComboBox is the closed box (the choice, an arrow; hover,
// pressed, focus and disabled faces); opening it shows a CComboBoxList window below it, and an
// entry with entries of its own opens a second CComboBoxList beside the first. The mouse (also
// the wheel) and the keyboard work as in ComboChoice; a new choice is reported to the owner's
// ComboBoxParent. CGWComboBox is the kind filled with groups, each entry of the first list
// leading to its own second list.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "configurator/kit/combo_choice.h"
#include "configurator/kit/win/owner_callbacks.h"
#include "configurator/kit/win/painted_window.h"

namespace quill::kit::win {

class CBitmapComboBox;

// One drop-down list (level 1 or 2): draws the rows of its level; the combo box holds the
// mouse capture while open and tells the list what to show.
class CComboBoxList : public PaintedWindow {
 public:
  CComboBoxList(CBitmapComboBox& combo, int level) : combo_(combo), level_(level) {}
  bool Open(HWND owner, const RECT& screen_rect);
  int level() const { return level_; }
  int row_height() const { return row_height_; }

 protected:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  void Paint(HDC dc, const RECT& r) override;

  CBitmapComboBox& combo_;
  int level_;
  int row_height_ = 22;
};

class CBitmapComboBox : public PaintedWindow {
 public:
  explicit CBitmapComboBox(ComboBoxParent* parent) : parent_(parent) {}
  ~CBitmapComboBox() override;

  bool Create(HWND parent, int id, const RECT& rect, int visible_rows = 8);
  int id() const { return id_; }
  void SetEntries(std::vector<ComboEntry> entries);
  bool SetPick(int entry, int child = -1);  // not reported; false when it names nothing
  const ComboChoice& choice() const { return choice_; }
  void SetEnabled(bool enabled) { EnableWindow(hwnd(), enabled); }

  // The open lists, for tests: level 1 or 2, null when not shown.
  HWND ListWindow(int level) const;
  int RowHeight() const;

 protected:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  friend class CComboBoxList;
  void Handle(ComboEvent event);
  void ShowLists();
  void CloseLists();
  // The list under a point of this window's client area, and the row there (-1 outside rows).
  int ListAt(POINT client, int& row) const;
  void Paint(HDC dc, const RECT& r) override;

  ComboBoxParent* parent_;
  int id_ = 0;
  int visible_rows_ = 8;
  ComboChoice choice_;
  std::unique_ptr<CComboBoxList> first_, second_;
};

class CGWComboBox : public CBitmapComboBox {
 public:
  using CBitmapComboBox::CBitmapComboBox;
  struct Group {
    std::wstring name;
    std::vector<std::wstring> members;
  };
  void SetGroups(const std::vector<Group>& groups);
};

}  // namespace quill::kit::win
