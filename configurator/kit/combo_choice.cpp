#include "configurator/kit/combo_choice.h"

#include <utility>

namespace quill::kit {

namespace {

ListKey ToListKey(ComboKey key) {
  switch (key) {
    case ComboKey::kUp: return ListKey::kUp;
    case ComboKey::kPageUp: return ListKey::kPageUp;
    case ComboKey::kPageDown: return ListKey::kPageDown;
    case ComboKey::kHome: return ListKey::kHome;
    case ComboKey::kEnd: return ListKey::kEnd;
    default: return ListKey::kDown;
  }
}

bool IsNavigation(ComboKey key) {
  return key == ComboKey::kUp || key == ComboKey::kDown || key == ComboKey::kPageUp || key == ComboKey::kPageDown ||
         key == ComboKey::kHome || key == ComboKey::kEnd;
}

}  // namespace

ComboKey ComboKeyOf(ListKey key) {
  switch (key) {
    case ListKey::kUp: return ComboKey::kUp;
    case ListKey::kDown: return ComboKey::kDown;
    case ListKey::kPageUp: return ComboKey::kPageUp;
    case ListKey::kPageDown: return ComboKey::kPageDown;
    case ListKey::kHome: return ComboKey::kHome;
    case ListKey::kEnd: return ComboKey::kEnd;
  }
  return ComboKey::kDown;
}

ComboChoice::ComboChoice(std::vector<ComboEntry> entries, int visible_rows)
    : entries_(std::move(entries)), visible_rows_(visible_rows < 1 ? 1 : visible_rows) {}

void ComboChoice::SetEntries(std::vector<ComboEntry> entries) {
  entries_ = std::move(entries);
  Close();
  if (!SetPick(pick_)) pick_ = {};
}

bool ComboChoice::SetPick(ComboPick pick) {
  if (pick.entry == -1 && pick.child == -1) {
    pick_ = pick;
    return true;
  }
  if (pick.entry < 0 || pick.entry >= static_cast<int>(entries_.size())) return false;
  const auto& children = entries_[pick.entry].children;
  if (pick.child < -1 || pick.child >= static_cast<int>(children.size())) return false;
  if (pick.child == -1 && !children.empty()) return false;
  pick_ = pick;
  return true;
}

std::u16string ComboChoice::PickText() const {
  if (pick_.entry < 0) return {};
  const ComboEntry& entry = entries_[pick_.entry];
  if (pick_.child < 0) return entry.text;
  return entry.text + u": " + entry.children[pick_.child];
}

ComboEvent ComboChoice::Open() {
  if (level_ != 0 || entries_.empty()) return ComboEvent::kNone;
  level_ = 1;
  first_ = ListCursor(static_cast<int>(entries_.size()), visible_rows_);
  first_.Select(pick_.entry >= 0 ? pick_.entry : 0);
  second_owner_ = -1;
  return ComboEvent::kOpened;
}

ComboEvent ComboChoice::Close() {
  if (level_ == 0) return ComboEvent::kNone;
  level_ = 0;
  second_owner_ = -1;
  return ComboEvent::kClosed;
}

ComboEvent ComboChoice::OpenSecond(int entry) {
  const auto& children = entries_[entry].children;
  if (children.empty()) return ComboEvent::kNone;
  if (level_ == 2 && second_owner_ == entry) return ComboEvent::kNone;
  second_owner_ = entry;
  second_ = ListCursor(static_cast<int>(children.size()), visible_rows_);
  second_.Select(pick_.entry == entry && pick_.child >= 0 ? pick_.child : 0);
  level_ = 2;
  return ComboEvent::kSecond;
}

ComboEvent ComboChoice::Choose(ComboPick pick) {
  level_ = 0;
  second_owner_ = -1;
  if (pick == pick_) return ComboEvent::kClosed;
  pick_ = pick;
  return ComboEvent::kChosen;
}

ComboEvent ComboChoice::MoveClosed(int start, int direction) {
  // Entries with children are passed over: they are chosen through their second list only.
  const int n = static_cast<int>(entries_.size());
  for (int i = start; i >= 0 && i < n; i += direction) {
    if (!entries_[i].children.empty()) continue;
    if (i == pick_.entry && pick_.child < 0) return ComboEvent::kNone;
    pick_ = {i, -1};
    return ComboEvent::kChosen;
  }
  return ComboEvent::kNone;
}

ComboEvent ComboChoice::Key(ComboKey key) {
  if (level_ == 0) {
    switch (key) {
      case ComboKey::kOpen: return Open();
      case ComboKey::kUp: return pick_.entry > 0 ? MoveClosed(pick_.entry - 1, -1) : ComboEvent::kNone;
      case ComboKey::kDown: return MoveClosed(pick_.entry + 1, +1);
      case ComboKey::kHome: return MoveClosed(0, +1);
      case ComboKey::kEnd: return MoveClosed(static_cast<int>(entries_.size()) - 1, -1);
      default: return ComboEvent::kNone;
    }
  }
  if (IsNavigation(key)) {
    if (level_ == 2) return second_.Navigate(ToListKey(key)) ? ComboEvent::kRepaint : ComboEvent::kNone;
    if (!first_.Navigate(ToListKey(key))) return ComboEvent::kNone;
    // Moving in the first list closes a second list that belonged to another entry.
    if (second_owner_ >= 0 && second_owner_ != first_.selected()) second_owner_ = -1;
    return ComboEvent::kRepaint;
  }
  switch (key) {
    case ComboKey::kRight:
      return level_ == 1 && first_.selected() >= 0 ? OpenSecond(first_.selected()) : ComboEvent::kNone;
    case ComboKey::kLeft:
      if (level_ != 2) return ComboEvent::kNone;
      level_ = 1;
      second_owner_ = -1;
      return ComboEvent::kRepaint;
    case ComboKey::kEscape:
      if (level_ == 2) return Key(ComboKey::kLeft);
      return Close();
    case ComboKey::kEnter:
    case ComboKey::kOpen:
      if (level_ == 2) return Choose({second_owner_, second_.selected()});
      if (first_.selected() < 0) return Close();
      if (!entries_[first_.selected()].children.empty()) return OpenSecond(first_.selected());
      return Choose({first_.selected(), -1});
    default:
      return ComboEvent::kNone;
  }
}

ComboEvent ComboChoice::Click(int level, int row) {
  if (level_ == 0) return ComboEvent::kNone;
  if (level == 2 && level_ == 2 && row >= 0 && row < second_.count()) return Choose({second_owner_, row});
  if (level == 1 && row >= 0 && row < first_.count()) {
    first_.Select(row);
    if (!entries_[row].children.empty()) return OpenSecond(row);
    return Choose({row, -1});
  }
  return ComboEvent::kNone;
}

ComboEvent ComboChoice::Hover(int level, int row) {
  if (level_ == 0) return ComboEvent::kNone;
  if (level == 2 && level_ == 2) return second_.SetHot(row) ? ComboEvent::kRepaint : ComboEvent::kNone;
  if (level != 1) return ComboEvent::kNone;
  const bool changed = first_.SetHot(row);
  if (row >= 0 && row < first_.count() && !entries_[row].children.empty()) {
    first_.Select(row);
    const ComboEvent opened = OpenSecond(row);
    if (opened != ComboEvent::kNone) return opened;
  }
  return changed ? ComboEvent::kRepaint : ComboEvent::kNone;
}

ComboEvent ComboChoice::Wheel(int level, int rows) {
  if (level_ == 0) return ComboEvent::kNone;
  ListCursor& list = level == 2 && level_ == 2 ? second_ : first_;
  return list.ScrollBy(rows) ? ComboEvent::kRepaint : ComboEvent::kNone;
}

}  // namespace quill::kit
