// The macro key list: the recorder over a fake clock, the list's commands, the presets and the
// rule that no macro ends with a key held.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "common/key_names.h"
#include "common/macro_upload.h"
#include "configurator/editors/held_events.h"
#include "configurator/editors/macro_editor.h"

namespace quill::editors {
namespace {

constexpr uint32_t kDown = 0x0000, kRepeat = 0x4000, kUp = 0xC000;
constexpr uint16_t kA = 0x1E, kB = 0x30, kLShift = 0x2A;

std::vector<std::u16string> Texts(const std::vector<MacroRow>& rows) {
  std::vector<std::u16string> texts;
  for (const MacroRow& row : rows) texts.push_back(row.text);
  return texts;
}

MacroEventList Events(std::initializer_list<std::pair<uint16_t, int32_t>> events) {
  MacroEventList list;
  for (auto [code, time] : events) {
    list.ausCodes[list.lNumElements] = code;
    list.alTimes[list.lNumElements++] = time;
  }
  return list;
}

struct Editor : ::testing::Test {
  EntryLists lists;
  ProfileEntry* profile = &lists.profiles.Add(u"p");
  MacroEntry* macro = &lists.macros.Add(u"m");
  MacroEditor editor;
  void SetUp() override { editor.Select(macro, profile); }
  void Tap(uint16_t scan, uint32_t at, uint32_t hold = 100) {
    editor.RecordKey(scan | kDown, at);
    editor.RecordKey(scan | kUp, at + hold);
  }
};

TEST_F(Editor, RecordsKeysWithMeasuredDelays) {
  ASSERT_TRUE(editor.StartRecording(500));
  EXPECT_EQ(editor.RecordKey(kA | kDown, 1000), RecordStep::Recorded);
  EXPECT_EQ(editor.RecordKey(kA | kRepeat, 1030), RecordStep::Ignored);  // a held key repeats
  editor.RecordKey(kA | kUp, 2234);
  editor.RecordKey(kB | kDown, 2244);
  editor.RecordMouse(kMouseButtonLeft, false, 2245);
  editor.RecordMouse(kMouseButtonLeft, true, 0xFFFFFFF0u);  // far off: held to 59 s
  editor.RecordKey(kB | kUp, 0x10);                          // the tick count wrapped: 32 ms
  editor.StopRecording();
  EXPECT_EQ(Texts(editor.Rows()),
            (std::vector<std::u16string>{u"A", u"1.234 sec delay", u"A", u"0.050 sec delay", u"B",
                                         u"0.001 sec delay", u"Left Button Down", u"59.000 sec delay",
                                         u"Left Button Up", u"0.050 sec delay", u"B"}));
  EXPECT_EQ(editor.Rows()[2].type, RowType::KeyRelease);
  EXPECT_EQ(macro->events.lNumElements, 6);
  EXPECT_EQ(macro->events.alTimes[1], 1234);
  EXPECT_EQ(macro->bModified, 1);
  EXPECT_EQ(profile->bModified, 1);
  EXPECT_FALSE(editor.Recording());
}

TEST_F(Editor, DelayOptions) {
  const struct {
    bool ignore, useDefault;
    int32_t defaultMs;
    std::vector<std::u16string> rows;
  } cases[] = {
      {true, false, 0, {u"A", u"A"}},
      {false, true, 300, {u"A", u"0.300 sec delay", u"A"}},
      {false, true, 10, {u"A", u"0.050 sec delay", u"A"}},
      {true, true, 300, {u"A", u"A"}},
  };
  for (const auto& c : cases) {
    editor.Select(macro, profile);
    macro->events = {};
    editor.Select(macro, profile);
    editor.Options() = {c.ignore, c.useDefault, c.defaultMs};
    editor.StartRecording(0);
    Tap(kA, 10, 5000);
    editor.StopRecording();
    EXPECT_EQ(Texts(editor.Rows()), c.rows);
  }
}

TEST_F(Editor, TheSeventeenthEventStopsAndKeepsTheFirstSixteen) {
  editor.StartRecording(0);
  for (int i = 0; i < 8; ++i) Tap(kA, 1000 * (i + 1));
  EXPECT_EQ(editor.RecordKey(kB | kDown, 20000), RecordStep::Stopped);
  EXPECT_FALSE(editor.Recording());
  EXPECT_EQ(macro->events.lNumElements, 16);
  EXPECT_EQ(macro->events.ausCodes[15], kA | kEventRelease);
  // The next Record starts afresh.
  editor.StartRecording(30000);
  EXPECT_TRUE(editor.Rows().empty());
}

TEST_F(Editor, RecordingIntoAMacroNeverPushesItsEventsOut) {
  macro->events = Events({{kLShift, 0}, {kB, 100}, {kB | kEventRelease, 200}, {kLShift | kEventRelease, 300}});
  editor.Select(macro, profile);
  // Recording at row 0 (before the LShift press): six taps fill the macro, the 13th event stops.
  ASSERT_EQ(editor.Command(kRecordAtRowCommand, 0, 0), CommandResult::Done);
  for (int i = 0; i < 6; ++i) Tap(kA, 1000 * (i + 1));
  EXPECT_EQ(editor.RecordKey(kA | kDown, 9000), RecordStep::Stopped);
  ASSERT_EQ(macro->events.lNumElements, 16);
  EXPECT_EQ(macro->events.ausCodes[12], kLShift);
  EXPECT_EQ(macro->events.ausCodes[15], kLShift | kEventRelease);
  // The recording commands insert where asked also right after a recording.
  ASSERT_EQ(editor.Command(kRecordAfterRowCommand, 0, 10000), CommandResult::Done);
  EXPECT_EQ(editor.Rows().size(), 31u);
  EXPECT_EQ(editor.InsertPosition(), 1);
}

TEST(HeldEvents, EveryPressIsReleasedByTheEnd) {
  const uint16_t r = kEventRelease, left = MouseEventCode(kMouseButtonLeft, false);
  const struct {
    const char* what;
    MacroEventList in, out;
  } cases[] = {
      {"balanced stays", Events({{kA, 0}, {kA | r, 50}}), Events({{kA, 0}, {kA | r, 50}})},
      {"releases added, last pressed first", Events({{kLShift, 0}, {left, 10}, {kA, 70}, {kA | r, 90}}),
       Events({{kLShift, 0}, {left, 10}, {kA, 70}, {kA | r, 90}, {left | r, 140}, {kLShift | r, 190}})},
      {"a stray release holds nothing", Events({{kA | r, 0}, {0, 10}}), Events({{kA | r, 0}, {0, 10}})},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    MacroEventList events = c.in;
    ReleaseHeldEvents(events);
    EXPECT_EQ(events.lNumElements, c.out.lNumElements);
    EXPECT_EQ(events.ausCodes, c.out.ausCodes);
    EXPECT_EQ(events.alTimes, c.out.alTimes);
  }
  // No room: 14 taps' worth of released events stay, the two presses after them cannot both be
  // released, so the later one is dropped and the earlier one released.
  MacroEventList full;
  for (int i = 0; i < 7; ++i) {
    full.ausCodes[full.lNumElements] = static_cast<uint16_t>(2 + i);
    full.alTimes[full.lNumElements++] = i * 100;
    full.ausCodes[full.lNumElements] = static_cast<uint16_t>((2 + i) | r);
    full.alTimes[full.lNumElements++] = i * 100 + 50;
  }
  full.ausCodes[14] = kA, full.alTimes[14] = 800;
  full.ausCodes[15] = kB, full.alTimes[15] = 900;
  full.lNumElements = 16;
  EXPECT_TRUE(ReleaseHeldEvents(full));
  EXPECT_EQ(full.lNumElements, 16);
  EXPECT_EQ(full.ausCodes[14], kA);
  EXPECT_EQ(full.ausCodes[15], kA | r);
  // Sixteen presses: half are kept, each released.
  MacroEventList presses;
  for (int i = 0; i < 16; ++i) presses.ausCodes[presses.lNumElements++] = static_cast<uint16_t>(2 + i);
  ReleaseHeldEvents(presses);
  EXPECT_EQ(presses.lNumElements, 16);
  EXPECT_EQ(presses.ausCodes[8], (2 + 7) | r);
  EXPECT_EQ(presses.ausCodes[15], 2 | r);
}

TEST_F(Editor, StoppedWhileAKeyIsDownTheMacroReleasesIt) {
  editor.StartRecording(0);
  editor.RecordKey(kLShift | kDown, 0);
  Tap(kA, 200);
  editor.StopRecording();
  EXPECT_EQ(Texts(editor.Rows()), (std::vector<std::u16string>{u"LShift", u"0.200 sec delay", u"A",
                                                               u"0.100 sec delay", u"A", u"0.050 sec delay",
                                                               u"LShift"}));
  EXPECT_EQ(editor.Rows().back().type, RowType::KeyRelease);
  const auto upload = macro_store::BuildUploadForm(macro->events);
  ASSERT_TRUE(upload);
  EXPECT_EQ(upload->elements[3].info[macro_store::kKeyInfoOptions], macro_store::KEYCODE_OPTIONS_BREAK);
  // Deleting a release row by hand brings it back at the end.
  editor.Command(kDeleteCommand, 4, 0);
  EXPECT_EQ(macro->events.ausCodes[macro->events.lNumElements - 1], kA | kEventRelease);
}

TEST_F(Editor, HeldKeysKeepRoomForTheirReleases) {
  // Recording with LShift held: the press that would leave no room for the releases stops it,
  // and the 15 captured events get LShift's release as the 16th.
  editor.StartRecording(0);
  editor.RecordKey(kLShift | kDown, 0);
  for (int i = 0; i < 7; ++i) Tap(kA, 1000 * (i + 1));
  EXPECT_EQ(editor.RecordKey(kB | kDown, 9000), RecordStep::Stopped);
  ASSERT_EQ(macro->events.lNumElements, 16);
  EXPECT_EQ(macro->events.ausCodes[0], kLShift);
  EXPECT_EQ(macro->events.ausCodes[14], kA | kEventRelease);
  EXPECT_EQ(macro->events.ausCodes[15], kLShift | kEventRelease);
}

TEST_F(Editor, ListCommands) {
  macro->events = Events({{kA, 0}, {kA | kEventRelease, 100}});
  editor.Select(macro, profile);  // A, 0.100 sec delay, A
  EXPECT_EQ(editor.Command(kInsertDelayCommand, 1, 0), CommandResult::Done);
  EXPECT_EQ(editor.Rows()[1].text, u"0.500 sec delay");
  EXPECT_EQ(macro->events.alTimes[1], 600);

  ASSERT_EQ(editor.Command(kEditCommand, 1, 0), CommandResult::EditDelay);
  EXPECT_TRUE(editor.EditDelay(1, u"1234"));
  EXPECT_EQ(editor.Rows()[1].text, u"1.234 sec delay");
  for (std::u16string_view bad : {u"", u"1.5", u"-3", u"59001", u"12a", u"999999999999"}) {
    EXPECT_FALSE(editor.EditDelay(1, bad));
  }
  EXPECT_FALSE(editor.EditDelay(0, u"100"));  // not a delay row
  EXPECT_EQ(editor.Rows()[1].text, u"1.234 sec delay");

  // Editing the release row changes the press with it.
  ASSERT_EQ(editor.Command(kEditCommand, 3, 0), CommandResult::EditKey);
  EXPECT_FALSE(editor.EditKey(3, 84, false));  // a key without a name
  EXPECT_TRUE(editor.EditKey(3, 0x48, true));
  EXPECT_EQ(Texts(editor.Rows()),
            (std::vector<std::u16string>{u"Up", u"1.234 sec delay", u"0.100 sec delay", u"Up"}));
  EXPECT_EQ(macro->events.ausCodes[0], 0x148);
  EXPECT_EQ(macro->events.ausCodes[1], 0x148 | kEventRelease);

  EXPECT_EQ(editor.Command(kDeleteCommand, 2, 0), CommandResult::Done);
  EXPECT_EQ(editor.Command(kDeleteCommand, 9, 0), CommandResult::Ignored);
  EXPECT_EQ(macro->events.alTimes[1], 1234);

  // A left click after the first row.
  EXPECT_EQ(editor.Command(27794, 1, 0), CommandResult::Done);
  EXPECT_EQ(editor.Rows()[1].text, u"Left Button Down");
  EXPECT_EQ(editor.Rows()[2].text, u"Left Button Up");
  EXPECT_EQ(macro->events.lNumElements, 4);
  // Inserts past 16 events insert nothing.
  for (int i = 0; i < 5; ++i) ASSERT_EQ(editor.Command(27794, 0, 0), CommandResult::Done);
  EXPECT_EQ(editor.Command(27792, 0, 0), CommandResult::Done);
  EXPECT_EQ(editor.Command(27794, 0, 0), CommandResult::MacroFull);
  EXPECT_EQ(macro->events.lNumElements, 15);
}

TEST_F(Editor, PresetsGoAfterTheSelectedEvent) {
  macro->events = Events({{kA, 0}, {kA | kEventRelease, 0}});
  editor.Select(macro, profile);
  PresetResult result = editor.InsertPreset(presets::PresetList::Additional, 0, 0);  // Swap Windows
  EXPECT_TRUE(result.inserted);
  EXPECT_EQ(Texts(editor.Rows()), (std::vector<std::u16string>{u"A", u"LAlt", u"Tab", u"Tab", u"LAlt", u"A"}));
  EXPECT_EQ(macro->events.ausCodes[1], KeyCodeFromName(u"LAlt"));
  EXPECT_EQ(macro->events.ausCodes[4], KeyCodeFromName(u"LAlt") | kEventRelease);

  result = editor.InsertPreset(presets::PresetList::Media, 0, 0);
  EXPECT_FALSE(result.inserted);
  EXPECT_EQ(result.message, kMediaNotPlayableText);
  EXPECT_TRUE(editor.InsertPreset(presets::PresetList::Media, 7, 0).message.empty());
  EXPECT_FALSE(editor.InsertPreset(presets::PresetList::Basic, 9, 0).inserted);

  for (int i = 0; i < 2; ++i) ASSERT_TRUE(editor.InsertPreset(presets::PresetList::Basic, 1, -1).inserted);
  EXPECT_EQ(editor.Rows().front().text, u"LCtrl");
  result = editor.InsertPreset(presets::PresetList::Basic, 1, -1);
  EXPECT_EQ(result.message, kMacroFullText);
  EXPECT_EQ(macro->events.lNumElements, 14);
}

TEST_F(Editor, AMacroFromTheStoreEditsAndGoesBackUnchanged) {
  using macro_store::MacroElement;
  const MacroElement elements[] = {
      {macro_store::BUTTON_ACTION_CLICK, {macro_store::MOUSE_CLICK_BUTTON4CLK, 0, 0}, 100, 0},
      {macro_store::BUTTON_ACTION_KEYCODE, {0x04, 0, 0}, 200, 0},  // A
      {macro_store::BUTTON_ACTION_KEYCODE, {0x04, 0, macro_store::KEYCODE_OPTIONS_BREAK}, 300, 0},
      {macro_store::BUTTON_ACTION_CLICK, {macro_store::MOUSE_CLICK_BUTTON4CLK, macro_store::KEYCODE_OPTIONS_BREAK, 0}, 0, 0},
  };
  macro->events = macro_store::ReadBackForm(elements).events;
  editor.Select(macro, profile);
  EXPECT_EQ(Texts(editor.Rows()),
            (std::vector<std::u16string>{u"Side Button 1 Down", u"0.100 sec delay", u"A", u"0.200 sec delay", u"A",
                                         u"0.300 sec delay", u"Side Button 1 Up"}));
  ASSERT_EQ(editor.Command(kInsertDelayCommand, 1, 0), CommandResult::Done);
  ASSERT_EQ(editor.Command(kDeleteCommand, 1, 0), CommandResult::Done);
  const auto upload = macro_store::BuildUploadForm(macro->events);
  ASSERT_TRUE(upload);
  ASSERT_EQ(upload->lNumElements, 4);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(upload->elements[i], elements[i]) << i;
}

TEST_F(Editor, NothingWithoutAMacro) {
  editor.Select(nullptr, profile);
  EXPECT_FALSE(editor.StartRecording(0));
  EXPECT_EQ(editor.RecordKey(kA, 0), RecordStep::Ignored);
  EXPECT_EQ(editor.Command(kInsertDelayCommand, 0, 0), CommandResult::Ignored);
  EXPECT_FALSE(editor.InsertPreset(presets::PresetList::Basic, 0, 0).inserted);
  EXPECT_EQ(profile->bModified, 0);
}

}  // namespace
}  // namespace quill::editors
