#include <gtest/gtest.h>

#include <vector>

#include "common/advanced_presets.h"
#include "common/key_names.h"

namespace quill::presets {
namespace {

std::vector<std::u16string> Texts(const std::vector<MacroRow>& rows) {
  std::vector<std::u16string> texts;
  for (const MacroRow& row : rows) texts.push_back(row.text);
  return texts;
}

TEST(AdvancedPresets, SwapWindowsGoesAfterTheSelectedEvent) {
  std::vector<MacroRow> rows = {EventRow(0x1E), DelayRow(100), EventRow(0x801E)};
  ASSERT_EQ(InsertPreset(rows, 0, PresetList::Additional, 0), InsertResult::Inserted);
  EXPECT_EQ(Texts(rows),
            (std::vector<std::u16string>{u"A", u"LAlt", u"Tab", u"Tab", u"LAlt", u"0.100 sec delay", u"A"}));
  const MacroEventList events = RowsToEvents(rows);
  ASSERT_EQ(events.lNumElements, 6);
  EXPECT_EQ(events.ausCodes[1], 0x38);
  EXPECT_EQ(events.ausCodes[2], 0x0F);
  EXPECT_EQ(events.ausCodes[3], 0x800F);
  EXPECT_EQ(events.ausCodes[4], 0x8038);
  EXPECT_EQ(events.alTimes[4], 0);
  EXPECT_EQ(events.alTimes[5], 100);
}

TEST(AdvancedPresets, WithoutASelectionAtTheStartAndPastTheEndAtTheEnd) {
  std::vector<MacroRow> rows = {EventRow(0x1E)};
  ASSERT_EQ(InsertPreset(rows, -1, PresetList::Basic, 1), InsertResult::Inserted);  // Copy
  EXPECT_EQ(Texts(rows), (std::vector<std::u16string>{u"LCtrl", u"C", u"C", u"LCtrl", u"A"}));
  ASSERT_EQ(InsertPreset(rows, 99, PresetList::Additional, 6), InsertResult::Inserted);  // Zoom In
  EXPECT_EQ(rows[5].text, u"LCtrl");
  EXPECT_EQ(rows[6].text, u"+=");
  EXPECT_EQ(rows[7].type, RowType::KeyRelease);
}

TEST(AdvancedPresets, EveryPresetNamesKeysOfTheKeyList) {
  for (PresetList list : {PresetList::Basic, PresetList::Additional}) {
    for (const Preset& preset : Presets(list)) {
      SCOPED_TRACE(std::string(preset.text.begin(), preset.text.end()));
      EXPECT_NE(KeyCodeFromName(preset.keyA), 0);
      EXPECT_NE(KeyCodeFromName(preset.keyB), 0);
    }
  }
  EXPECT_EQ(Presets(PresetList::Basic).size(), 9u);
  EXPECT_EQ(Presets(PresetList::Additional).size(), 8u);
  EXPECT_EQ(Presets(PresetList::Media).size(), 7u);
  EXPECT_EQ(ListTitle(PresetList::Media), u"Media Functions");
}

TEST(AdvancedPresets, MediaEntriesAndPositionsOutsideTheListInsertNothing) {
  std::vector<MacroRow> rows = {EventRow(0x1E)};
  EXPECT_EQ(InsertPreset(rows, 0, PresetList::Media, 0), InsertResult::NothingToInsert);
  EXPECT_EQ(InsertPreset(rows, 0, PresetList::Basic, 9), InsertResult::NothingToInsert);
  EXPECT_EQ(InsertPreset(rows, 0, PresetList::Basic, -1), InsertResult::NothingToInsert);
  EXPECT_EQ(rows.size(), 1u);
}

TEST(AdvancedPresets, AMacroWithoutRoomForFourEventsIsLeftAsItIs) {
  std::vector<MacroRow> rows;
  for (int i = 0; i < 13; ++i) {
    rows.push_back(EventRow(0x1E));
    rows.push_back(DelayRow(50));
  }
  const std::vector<MacroRow> before = rows;
  EXPECT_EQ(InsertPreset(rows, 3, PresetList::Basic, 0), InsertResult::MacroFull);
  EXPECT_EQ(Texts(rows), Texts(before));
  rows.resize(24);  // 12 events
  EXPECT_EQ(InsertPreset(rows, 3, PresetList::Basic, 0), InsertResult::Inserted);
  EXPECT_EQ(RowsToEvents(rows).lNumElements, 16);
}

}  // namespace
}  // namespace quill::presets
