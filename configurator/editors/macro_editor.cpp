#include "configurator/editors/macro_editor.h"

#include "common/key_names.h"
#include "configurator/editors/held_events.h"

namespace quill::editors {
namespace {

bool IsKeyRow(const MacroRow& row) { return row.type == RowType::KeyPress || row.type == RowType::KeyRelease; }

// Key code (scan code and extended bit) of a key row: its own code while its text still names
// it, else the code of its text.
uint16_t RowKeyCode(const MacroRow& row) {
  if (row.code != 0 && EventRowText(row.code) == row.text) return row.code & kKeyCodeMask;
  return KeyCodeFromName(row.text);
}

// Whole milliseconds typed into a delay row: digits with blanks around, at most the longest delay.
bool ParseDelayMs(std::u16string_view text, int32_t& ms) {
  while (!text.empty() && text.front() == u' ') text.remove_prefix(1);
  while (!text.empty() && text.back() == u' ') text.remove_suffix(1);
  if (text.empty() || text.size() > 5) return false;
  int32_t value = 0;
  for (char16_t c : text) {
    if (c < u'0' || c > u'9') return false;
    value = value * 10 + (c - u'0');
  }
  if (value > kMaxRowDelayMs) return false;
  ms = value;
  return true;
}

}  // namespace

MacroEditor::MacroEditor(std::u16string delayFormat) : delayFormat_(std::move(delayFormat)) {}

void MacroEditor::Select(MacroEntry* macro, ProfileEntry* profile) {
  if (recording_) StopRecording();
  macro_ = macro;
  profile_ = profile;
  rows_ = macro ? EventsToRows(macro->events, delayFormat_) : std::vector<MacroRow>{};
  replaceOnNextRecording_ = false;
  insertAt_ = static_cast<int>(rows_.size());
}

int MacroEditor::ClampedRow(int row) const {
  const int size = static_cast<int>(rows_.size());
  return row < 0 || row > size ? size : row;
}

void MacroEditor::Changed() {
  if (!macro_) return;
  macro_->bModified = 1;
  if (profile_) profile_->bModified = 1;
  MacroEventList events = RowsToEvents(rows_);
  // While recording, the releases of the keys still down are yet to come.
  if (!recording_ && ReleaseHeldEvents(events)) rows_ = EventsToRows(events, delayFormat_);
  macro_->events = events;
}

bool MacroEditor::StartRecording(uint32_t now) {
  if (!macro_ || recording_) return false;
  if (replaceOnNextRecording_) {
    rows_.clear();
    insertAt_ = 0;
    replaceOnNextRecording_ = false;
  }
  insertAt_ = ClampedRow(insertAt_);
  recording_ = true;
  macro_->ulLastEventTick = now;
  Changed();
  return true;
}

void MacroEditor::StopRecording() {
  if (!recording_) return;
  recording_ = false;
  replaceOnNextRecording_ = true;
  insertAt_ = 0;
  Changed();
}

RecordStep MacroEditor::Record(MacroRow row, bool mouse, uint32_t now) {
  if (!recording_ || !macro_) return RecordStep::Ignored;
  const int32_t held = CountEventRows(rows_);
  // A press needs room for itself and the releases of every key down with it, so a recording
  // that stops while keys are held never has to give up a captured press to release them.
  const bool press = row.type == RowType::KeyPress || (mouse && !IsReleaseEvent(row.code));
  const int32_t needed = press ? 2 + CountHeldEvents(RowsToEvents(rows_)) : 1;
  if (held + needed > kMaxMacroEvents) {
    StopRecording();
    return RecordStep::Stopped;
  }
  const uint32_t elapsed = now - macro_->ulLastEventTick;  // the tick count wraps after 49 days
  if (std::optional<MacroRow> delay = RecordedDelayRow(elapsed, mouse, held == 0, options_, delayFormat_)) {
    rows_.insert(rows_.begin() + insertAt_++, std::move(*delay));
  }
  rows_.insert(rows_.begin() + insertAt_++, std::move(row));
  macro_->ulLastEventTick = now;
  Changed();
  return RecordStep::Recorded;
}

RecordStep MacroEditor::RecordKey(uint32_t keyFlags, uint32_t now) {
  const std::optional<uint16_t> code = KeyEventFromFlags(keyFlags);
  if (!code) return RecordStep::Ignored;
  return Record(EventRow(*code), false, now);
}

RecordStep MacroEditor::RecordMouse(int buttonIndex, bool release, uint32_t now) {
  const uint16_t code = MouseEventCode(buttonIndex, release);
  if (code == 0) return RecordStep::Ignored;
  return Record(EventRow(code), true, now);
}

bool MacroEditor::InsertEvents(const std::vector<uint16_t>& codes, int at) {
  if (CountEventRows(rows_) + static_cast<int32_t>(codes.size()) > kMaxMacroEvents) return false;
  at = ClampedRow(at);
  for (uint16_t code : codes) rows_.insert(rows_.begin() + at++, EventRow(code));
  return true;
}

CommandResult MacroEditor::Command(int command, int selectedRow, uint32_t now) {
  if (!macro_ || recording_) return CommandResult::Ignored;
  const bool onRow = selectedRow >= 0 && selectedRow < static_cast<int>(rows_.size());
  switch (command) {
    case kRecordAtRowCommand:
    case kRecordAfterRowCommand:
      replaceOnNextRecording_ = false;
      insertAt_ = ClampedRow(onRow && command == kRecordAfterRowCommand ? selectedRow + 1 : selectedRow);
      return StartRecording(now) ? CommandResult::Done : CommandResult::Ignored;
    case kInsertDelayCommand:
      rows_.insert(rows_.begin() + ClampedRow(selectedRow), DelayRow(kInsertedDelayMs, delayFormat_));
      Changed();
      return CommandResult::Done;
    case kEditCommand:
      if (!onRow) return CommandResult::Ignored;
      if (rows_[selectedRow].type == RowType::Delay) return CommandResult::EditDelay;
      return IsKeyRow(rows_[selectedRow]) ? CommandResult::EditKey : CommandResult::Ignored;
    case kDeleteCommand:
      if (!onRow) return CommandResult::Ignored;
      rows_.erase(rows_.begin() + selectedRow);
      Changed();
      return CommandResult::Done;
    default: {
      const std::vector<uint16_t> codes = MouseInsertCommandEvents(command);
      if (codes.empty()) return CommandResult::Ignored;
      if (!InsertEvents(codes, selectedRow)) return CommandResult::MacroFull;
      Changed();
      return CommandResult::Done;
    }
  }
}

bool MacroEditor::EditDelay(int row, std::u16string_view typed) {
  int32_t ms = 0;
  if (!macro_ || row < 0 || row >= static_cast<int>(rows_.size()) || rows_[row].type != RowType::Delay ||
      !ParseDelayMs(typed, ms))
    return false;
  rows_[row] = DelayRow(ms, delayFormat_);
  Changed();
  return true;
}

bool MacroEditor::EditKey(int row, uint16_t scanCode, bool extended) {
  if (!macro_ || row < 0 || row >= static_cast<int>(rows_.size()) || !IsKeyRow(rows_[row])) return false;
  const uint16_t key = static_cast<uint16_t>((scanCode & kKeyScanMask) | (extended ? kKeyExtended : 0));
  if (!HasKeyName(key)) return false;
  const uint16_t old = RowKeyCode(rows_[row]);
  const bool press = rows_[row].type == RowType::KeyPress;
  // The partner: the next release of the key after its press, or the press before its release.
  int partner = -1;
  const int step = press ? 1 : -1;
  const RowType wanted = press ? RowType::KeyRelease : RowType::KeyPress;
  for (int i = row + step; i >= 0 && i < static_cast<int>(rows_.size()); i += step) {
    if (!IsKeyRow(rows_[i]) || RowKeyCode(rows_[i]) != old) continue;
    if (rows_[i].type == wanted) partner = i;
    break;
  }
  const auto rowOf = [&](int i) {
    return EventRow(rows_[i].type == RowType::KeyPress ? key : static_cast<uint16_t>(key | kEventRelease));
  };
  rows_[row] = rowOf(row);
  if (partner >= 0) rows_[partner] = rowOf(partner);
  Changed();
  return true;
}

PresetResult MacroEditor::InsertPreset(presets::PresetList list, int position, int selectedRow) {
  if (!macro_ || recording_) return {};
  if (list == presets::PresetList::Media) {
    const bool listed = position >= 0 && position < static_cast<int>(presets::Presets(list).size());
    return {false, listed ? kMediaNotPlayableText : std::u16string_view{}};
  }
  switch (presets::InsertPreset(rows_, selectedRow, list, position)) {
    case presets::InsertResult::Inserted:
      Changed();
      return {true, {}};
    case presets::InsertResult::MacroFull:
      return {false, kMacroFullText};
    case presets::InsertResult::NothingToInsert:
      break;
  }
  return {};
}

}  // namespace quill::editors
