// The decisions of a drop-down selection: the closed box, its list, and for an entry that has
// entries of its own a second list beside it. The last level chosen is the choice; an entry
// with a second list is chosen only through one of its own entries.
#pragma once
#include <string>
#include <vector>

#include "configurator/kit/list_cursor.h"

namespace quill::kit {

struct ComboEntry {
  std::u16string text;
  std::vector<std::u16string> children;  // empty: the entry is chosen itself
};

struct ComboPick {
  int entry = -1;
  int child = -1;  // -1: the entry itself
  bool operator==(const ComboPick&) const = default;
};

enum class ComboKey { kUp, kDown, kPageUp, kPageDown, kHome, kEnd, kLeft, kRight, kEnter, kEscape, kOpen };

// The combo key of a list navigation key.
ComboKey ComboKeyOf(ListKey key);

enum class ComboEvent {
  kNone,     // nothing changed
  kRepaint,  // what is shown changed
  kOpened,   // the first list opens
  kSecond,   // a second list opens (or changes) beside the first
  kClosed,   // the lists close without a choice
  kChosen,   // the lists close (if open) with a new choice: report it
};

class ComboChoice {
 public:
  explicit ComboChoice(std::vector<ComboEntry> entries = {}, int visible_rows = 8);

  const std::vector<ComboEntry>& entries() const { return entries_; }
  void SetEntries(std::vector<ComboEntry> entries);  // keeps a choice that still exists
  const ComboPick& pick() const { return pick_; }
  bool SetPick(ComboPick pick);  // no report; false when it names nothing
  std::u16string PickText() const;  // the entry's text, "entry: child" for a child

  int level() const { return level_; }  // 0 closed, 1 first list, 2 second list open
  const ListCursor& first() const { return first_; }
  const ListCursor& second() const { return second_; }
  int second_owner() const { return second_owner_; }  // entry whose second list is open

  ComboEvent Open();
  ComboEvent Close();
  // Keys: closed, Up/Down/Home/End move the choice among entries without children and
  // kOpen (F4, Alt+Down, Space) opens. Open: navigation moves in the deepest list, Right or
  // Enter on an entry with children opens its second list, Left or Escape closes the deepest
  // list, Enter chooses.
  ComboEvent Key(ComboKey key);
  // A click on `row` of list `level` (1 or 2); a click outside the lists closes them.
  ComboEvent Click(int level, int row);
  ComboEvent ClickOutside() { return Close(); }
  // The mouse over `row` of list `level`: hot row; resting on an entry with children opens its
  // second list.
  ComboEvent Hover(int level, int row);
  ComboEvent Wheel(int level, int rows);

 private:
  ComboEvent OpenSecond(int entry);
  ComboEvent Choose(ComboPick pick);
  ComboEvent MoveClosed(int start, int direction);  // the first entry without children from start on

  std::vector<ComboEntry> entries_;
  ComboPick pick_;
  int visible_rows_;
  int level_ = 0;
  ListCursor first_, second_;
  int second_owner_ = -1;
};

}  // namespace quill::kit
