#include <gtest/gtest.h>

#include <vector>

#include "common/macro_upload.h"
#include "common/tests/tables_fixture.h"

namespace quill::macro_store {
namespace {

using tables_test::Events;

MacroElement Key(int32_t usage, bool release, int32_t delay = 0) {
  MacroElement e;
  e.actionType = BUTTON_ACTION_KEYCODE;
  e.info = {usage, 0, release ? KEYCODE_OPTIONS_BREAK : 0};
  e.lDelayMs = delay;
  return e;
}

MacroElement Click(int32_t type, bool release, int32_t delay = 0) {
  MacroElement e;
  e.actionType = BUTTON_ACTION_CLICK;
  e.info = {type, release ? KEYCODE_OPTIONS_BREAK : 0, 0};
  e.lDelayMs = delay;
  return e;
}

TEST(MacroUpload, KeyElementsCarryHidUsages) {
  EXPECT_EQ(UploadElement(0x0045, 0), Key(0x48, false));  // Pause
  EXPECT_EQ(UploadElement(0x8145, 0), Key(0x53, true));   // Num Lock released
  EXPECT_EQ(UploadElement(0x0137, 7), Key(0x46, false, 7));
  EXPECT_EQ(UploadElement(0x0054, 0), Key(0, false));     // no usage
  EXPECT_EQ(UploadElement(0x0000, 0), Key(0, false));
}

TEST(MacroUpload, MouseElementsInBothFormsGiveTheDeviceClickTypes) {
  struct Case {
    uint16_t written, readBack;
    int32_t clickType;
  };
  const Case cases[] = {
      {0x0200, 0x7E01, MOUSE_CLICK_LCLICK},     {0x0600, 0x7E03, MOUSE_CLICK_RCLICK},
      {0x0400, 0x7E02, MOUSE_CLICK_MCLICK},     {0x0800, 0x7E04, MOUSE_CLICK_BUTTON4CLK},
      {0x0A00, 0x7E05, MOUSE_CLICK_BUTTON5CLK}, {0x0C00, 0x7E06, 5},
      {0x0E00, 0x7E07, 6},                      {0x1000, 0x7E08, 7},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.written);
    EXPECT_EQ(UploadElement(c.written, 0), Click(c.clickType, false));
    EXPECT_EQ(UploadElement(c.readBack, 0), Click(c.clickType, false));
    EXPECT_EQ(UploadElement(c.written | kEventRelease, 0), Click(c.clickType, true));
    EXPECT_EQ(UploadElement(c.readBack | kEventRelease, 0), Click(c.clickType, true));
  }
  // A mouse code that names no button plays as nothing.
  EXPECT_EQ(UploadElement(0x7E00, 0), Key(0, false));
  EXPECT_EQ(UploadElement(0xFE0F, 0), Key(0, true));
}

TEST(MacroUpload, DelaysAreTheGapsToTheNextEvent) {
  const auto upload = BuildUploadForm(Events({{0x1E, 0}, {0x801E, 1234}, {0x0200, 1244}, {0x8200, 1244}}));
  ASSERT_TRUE(upload);
  ASSERT_EQ(upload->lNumElements, 4);
  EXPECT_EQ(upload->elements[0], Key(0x04, false, 1234));
  EXPECT_EQ(upload->elements[1], Key(0x04, true, 10));
  EXPECT_EQ(upload->elements[2], Click(MOUSE_CLICK_LCLICK, false, 0));
  EXPECT_EQ(upload->elements[3], Click(MOUSE_CLICK_LCLICK, true, 0));  // the last has none
  EXPECT_EQ(upload->elements[4], MacroElement{});                      // the rest stays zero

  // Times that go backwards (a damaged file) give no negative delay; a huge gap is cut to 24 bits.
  const auto odd = BuildUploadForm(Events({{0x1E, 500}, {0x801E, 100}, {0x30, 2000000000}, {0x8030, 2000000001}}));
  ASSERT_TRUE(odd);
  EXPECT_EQ(odd->elements[0].lDelayMs, 0);
  EXPECT_EQ(odd->elements[1].lDelayMs, kMaxElementDelayMs);
  EXPECT_EQ(odd->elements[2].lDelayMs, 1);
}

TEST(MacroUpload, CountsOutsideTheRecordAreRefused) {
  MacroEventList events = Events({{0x1E, 0}});
  events.lNumElements = 17;
  EXPECT_FALSE(BuildUploadForm(events));
  events.lNumElements = -1;
  EXPECT_FALSE(BuildUploadForm(events));
  events.lNumElements = 16;
  EXPECT_TRUE(BuildUploadForm(events));
  events.lNumElements = 0;
  ASSERT_TRUE(BuildUploadForm(events));
  EXPECT_EQ(BuildUploadForm(events)->lNumElements, 0);
}

TEST(MacroUpload, ReadBackGivesWrittenFormCodesAndAddedUpTimes) {
  const std::vector<MacroElement> elements = {
      Key(0x48, false, 1234), Key(0x48, true, 10),           Key(0x53, false, 0),  Key(0x58, true, 5),
      Click(MOUSE_CLICK_LCLICK, false, 100), Click(MOUSE_CLICK_RCLICK, true, 0), Click(MOUSE_CLICK_MCLICK, false, 0),
      Click(MOUSE_CLICK_BUTTON4CLK, true, 0), Click(MOUSE_CLICK_BUTTON5CLK, false, 0), Click(11, false, 0),
      Click(40, false, 0), Key(0xE8, false, 0)};
  const ReadBackResult result = ReadBackForm(elements);
  EXPECT_FALSE(result.cut);
  ASSERT_EQ(result.events.lNumElements, 12);
  const std::vector<uint16_t> codes(result.events.ausCodes.begin(), result.events.ausCodes.begin() + 12);
  EXPECT_EQ(codes, (std::vector<uint16_t>{0x0045, 0x8045, 0x0145, 0x811C, 0x0200, 0x8600, 0x0400, 0x8800, 0x0A00,
                                          0x1800 /* bit 2048: button 12 */, 0x0000, 0x0000}));
  EXPECT_EQ(result.events.alTimes[0], 0);
  EXPECT_EQ(result.events.alTimes[1], 1234);
  EXPECT_EQ(result.events.alTimes[2], 1244);
  EXPECT_EQ(result.events.alTimes[4], 1249);
  EXPECT_EQ(result.events.alTimes[5], 1349);

  MacroElement other;
  other.actionType = 4;
  EXPECT_EQ(ReadBackCode(other), 0);
}

TEST(MacroUpload, MoreThanSixteenElementsReadBackAreCut) {
  const std::vector<MacroElement> elements(20, Key(0x04, false, 100));
  const ReadBackResult result = ReadBackForm(elements);
  EXPECT_TRUE(result.cut);
  EXPECT_EQ(result.events.lNumElements, 16);
  EXPECT_EQ(result.events.alTimes[15], 1500);
}

TEST(MacroUpload, EventsRoundTripThroughTheStore) {
  const MacroEventList events = Events({{0x1D, 0}, {0x2E, 120}, {0x802E, 170}, {0x801D, 170}, {0x0800, 2670},
                                        {0x8800, 2720}, {0x145, 61720}, {0x8145, 61770}, {0x0A00, 61771},
                                        {0x8A00, 61772}});
  const auto upload = BuildUploadForm(events);
  ASSERT_TRUE(upload);
  const ReadBackResult back =
      ReadBackForm(std::span<const MacroElement>(upload->elements.data(), static_cast<size_t>(upload->lNumElements)));
  EXPECT_EQ(back.events.lNumElements, events.lNumElements);
  EXPECT_EQ(back.events.ausCodes, events.ausCodes);
  EXPECT_EQ(back.events.alTimes, events.alTimes);
}

TEST(MacroUpload, DeviceMacroNameIsCutToNineteenCharacters) {
  EXPECT_EQ(DeviceMacroName(u"Short"), u"Short");
  EXPECT_EQ(DeviceMacroName(u"ExactlyNineteenChar"), u"ExactlyNineteenChar");
  EXPECT_EQ(DeviceMacroName(u"A name much longer than the device keeps"), u"A name much longer ");
  // A character outside the basic plane is never split.
  const std::u16string withPair = std::u16string(18, u'x') + u"\U0001F600" + u"tail";
  EXPECT_EQ(DeviceMacroName(withPair), std::u16string(18, u'x'));
}

}  // namespace
}  // namespace quill::macro_store
