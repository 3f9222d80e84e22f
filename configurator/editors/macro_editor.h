// The "manage macros" page: the key list of the selected macro, the recorder and the key list's
// commands. Time comes from the caller (the tick count of the input message), so the recorder is
// a plain state machine.
//
// The page calls:
//   Select(macro, profile)                 a macro chosen in the list (null: none)
//   StartRecording(now) / StopRecording()  the Record/Stop button
//   RecordKey(flags, now) / RecordMouse(button, release, now)
//                                          input forwarded by the capture control while recording
//   Command(id, selectedRow, now)             commands 27781 to 27805 of the key list's menu
//   EditDelay / EditKey                    the answers of an in-place delay edit or the key box
//   InsertPreset(list, position, selectedRow)
// and reads Rows() to draw the list, Recording() for the button text. Every change is written
// back into the macro (events) and marks it and the profile modified.
//
// Sound behaviour kept on purpose:
//  - The 16-event limit counts the events already in the list, so a recording inserted into a
//    macro stops before any event of the macro would be pushed past the 16th; the event that
//    hits the limit stops the recording and everything captured before it is kept. A press is
//    recorded only with room left for its release and those of the keys still down, so the
//    releases added at the end (below) never cost a captured event.
//  - Insert commands (mouse events, presets) that would go past 16 events insert nothing.
//  - A macro never ends with a key or button held (held_events.h); the list shows the releases
//    that were added.
//  - The two "start recording here" commands insert at their row even right after a recording;
//    only the Record button starts a macro afresh after a recording.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "common/advanced_presets.h"
#include "common/macro_events.h"
#include "common/profile_records.h"

namespace quill::editors {

constexpr int kRecordAtRowCommand = 27781;
constexpr int kRecordAfterRowCommand = 27782;
constexpr int kInsertDelayCommand = 27783;
constexpr int kEditCommand = 27784;
constexpr int kDeleteCommand = 27785;

inline constexpr std::u16string_view kEditKeyTitle = u"Edit Key";
inline constexpr std::u16string_view kEditKeyPrompt = u"Please type new Key";
inline constexpr std::u16string_view kMacroFullText = u"A macro holds at most 16 events.";
// The Media Functions presets: the mouse plays keyboard keys and mouse buttons in a macro, not
// the media controls of a keyboard, so these entries insert nothing and say so.
inline constexpr std::u16string_view kMediaNotPlayableText =
    u"The mouse cannot play media functions in a macro.";

enum class RecordStep { Ignored, Recorded, Stopped };

enum class CommandResult {
  Ignored,    // no macro, or a row the command does not apply to
  Done,       // the list changed (or recording started)
  EditDelay,  // make the delay row editable in place, then call EditDelay
  EditKey,    // open the key box (kEditKeyTitle, kEditKeyPrompt), then call EditKey
  MacroFull,  // nothing inserted: show kMacroFullText
};

struct PresetResult {
  bool inserted = false;
  std::u16string_view message;  // shown when not empty (English key for the translation)
};

class MacroEditor {
 public:
  explicit MacroEditor(std::u16string delayFormat = std::u16string(kDelayRowFormat));

  // The translated delay format ("%.03f sec delay"); rows already shown keep their text.
  void SetDelayFormat(std::u16string format) { delayFormat_ = std::move(format); }
  RecordingDelayOptions& Options() { return options_; }

  void Select(MacroEntry* macro, ProfileEntry* profile);
  const std::vector<MacroRow>& Rows() const { return rows_; }
  MacroEntry* Macro() const { return macro_; }

  bool StartRecording(uint32_t now);
  void StopRecording();
  bool Recording() const { return recording_; }
  int InsertPosition() const { return insertAt_; }
  // Key message flags (high word of lParam of a key message).
  RecordStep RecordKey(uint32_t keyFlags, uint32_t now);
  RecordStep RecordMouse(int buttonIndex, bool release, uint32_t now);

  // now: tick count of the command, the start of a recording it begins.
  CommandResult Command(int command, int selectedRow, uint32_t now);
  // The number typed into a delay row, in whole milliseconds; false keeps the old delay.
  bool EditDelay(int row, std::u16string_view typed);
  // The key pressed in the "Edit Key" box; it replaces the press and its release.
  bool EditKey(int row, uint16_t scanCode, bool extended);
  PresetResult InsertPreset(presets::PresetList list, int position, int selectedRow);

 private:
  RecordStep Record(MacroRow row, bool mouse, uint32_t now);
  bool InsertEvents(const std::vector<uint16_t>& codes, int at);
  void Changed();
  int ClampedRow(int row) const;

  MacroEntry* macro_ = nullptr;
  ProfileEntry* profile_ = nullptr;
  std::vector<MacroRow> rows_;
  std::u16string delayFormat_;
  RecordingDelayOptions options_;
  bool recording_ = false;
  bool replaceOnNextRecording_ = false;
  int insertAt_ = 0;
};

}  // namespace quill::editors
