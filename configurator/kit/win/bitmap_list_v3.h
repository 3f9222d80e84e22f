// The skinned list of the profile page: a header, rows with an icon column, text columns that
// can be edited in place, and a check box column; a context menu request on right click.
// Mouse: a click selects (on a check box it also toggles it), a double click or a click on the
// selected row's editable cell edits it. Keyboard: arrows, Page Up/Down, Home/End select; F2
// edits the first editable column; Space toggles the first check box column. While editing,
// Enter or leaving the field keeps the text, Escape drops it. Reports go to the owner's
// BitmapListCtrlV3Parent. A CBitmapScrollbar along the right edge scrolls the rows.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "configurator/kit/list_cursor.h"
#include "configurator/kit/win/bitmap_scrollbar.h"
#include "configurator/kit/win/painted_window.h"
#include "winsupport/handles.h"

namespace quill::kit::win {

class BitmapListCtrlV3Parent {
 public:
  virtual void OnListRowSelected(int id, int row) = 0;
  // A text cell was edited or a check box toggled (the list already holds the new state).
  virtual void OnListCellEdited(int id, int row, int column) = 0;
  // Right click on a row (already selected) at a screen position.
  virtual void OnListContextMenu(int id, int row, POINT screen) = 0;

 protected:
  ~BitmapListCtrlV3Parent() = default;
};

class CBitmapListCtrlV3 : public PaintedWindow {
 public:
  enum class Kind { kIcon, kText, kCheck };
  struct Column {
    std::wstring title;
    int width = 100;  // at 96 DPI
    Kind kind = Kind::kText;
    bool editable = false;
    size_t limit = 260;  // UTF-16 units an edit may hold
  };
  struct Row {
    int icon = 0;                    // skin bitmap of the icon column, 0: none
    std::vector<std::wstring> text;  // per column (icon and check columns ignore theirs)
    std::vector<bool> checked;       // per column
    bool fixed = false;              // true: no cell of this row is edited in place
  };

  explicit CBitmapListCtrlV3(BitmapListCtrlV3Parent* parent) : parent_(parent) {}

  bool Create(HWND parent, int id, const RECT& rect, std::vector<Column> columns);
  int id() const { return id_; }
  int AddRow(Row row);
  void RemoveRow(int row);
  int row_count() const { return static_cast<int>(rows_.size()); }
  const Row& row(int index) const { return rows_[static_cast<size_t>(index)]; }
  void SetText(int row, int column, const std::wstring& text);
  void SetChecked(int row, int column, bool checked);
  void Select(int row);  // not reported
  int selected() const { return cursor_.selected(); }
  int top() const { return cursor_.top(); }  // first row on view
  HWND scrollbar() const { return scrollbar_.hwnd(); }

  bool editing() const { return editor_ != nullptr; }
  // Starts editing an editable text cell; false when it is none.
  bool BeginEdit(int row, int column);
  // Ends an open edit keeping its text (reported) or dropping it.
  void EndEdit(bool keep = true);
  HWND editor() const { return editor_; }

  // The rectangle of a cell in client pixels (tests and the owner's menus).
  RECT CellRect(int row, int column) const;

 protected:
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam) override;

 private:
  std::vector<int> Widths() const;
  int HeaderHeight() const;
  int RowHeight() const;
  void UpdateVisible();
  void SelectAndReport(int row);
  void Toggle(int row, int column);
  void Paint(HDC dc, const RECT& r) override;
  int FirstColumnOf(Kind kind, bool editable) const;
  bool Editable(int row, int column) const;

  BitmapListCtrlV3Parent* parent_;
  int id_ = 0;
  std::vector<Column> columns_;
  std::vector<Row> rows_;
  ListCursor cursor_;
  HWND editor_ = nullptr;
  int edit_row_ = -1, edit_column_ = -1;
  Subclass editor_subclass_;
  CBitmapScrollbar scrollbar_;
};

}  // namespace quill::kit::win
