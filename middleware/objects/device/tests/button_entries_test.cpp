// Button entries of the profile block: the table in both directions, and the per-profile
// mapping read and write against the emulated mouse.
#include "middleware/objects/device/button_entries.h"

#include <gtest/gtest.h>

#include "middleware/objects/device/tests/device_fixture.h"

namespace quill::device::test {
namespace {

using namespace quill::layout;
using Strings = std::vector<std::string>;

ButtonMappingRecord Mapping(int32_t button, int32_t type, int32_t action, int32_t i0, int32_t i1,
                            int32_t i2) {
  return ButtonMappingRecord{button, type, action, {i0, i1, i2}};
}

struct EntryCase {
  const char* name;
  ButtonMappingRecord record;
  ButtonEntry entry;
};

// Records as the configuration application builds them; each reads back unchanged.
const EntryCase kEntryCases[] = {
    {"click", Mapping(kButtonLeft, kMappingButtons, kActionPressed, 1, 0, 0), {1, 0x01, 0, 0}},
    {"button off", Mapping(kButtonScrollDown, kMappingButtons, kActionPressed, 0, 0, 0), {9, 0x00, 0, 0}},
    {"stop", Mapping(kButtonMouse4, kMappingButtons, kActionPressed, 14, 0, 0), {5, 0x0E, 0, 0}},
    {"dpi stage", Mapping(kButtonDpiUp, kMappingDeviceAction, kActionClick, kPropertyDpiStage, 0, 3), {6, 0x21, 3, 0}},
    {"profile", Mapping(kButtonMouse5, kMappingDeviceAction, kActionClick, kPropertyProfile, 0, 4), {4, 0x22, 4, 0}},
    {"key", Mapping(kButtonRight, kMappingUserAction, kActionKeycode, 0x1E, 0, 0), {2, 0x31, 0x1E, 0}},
    {"multimedia", Mapping(kButtonCenter, kMappingMultimedia, kActionRawValue, 0xCD, 0x02, 0), {3, 0x32, 0xCD, 0x02}},
    {"advanced", Mapping(kButtonDpiDown, kMappingAdvanced, kActionRawValue, 0x10, 0xFF, 0), {7, 0x33, 0x10, 0xFF}},
    {"macro 1", Mapping(kButtonScrollUp, kMappingMacro, kActionPressed, 1, 1, 0), {8, 0x41, 0, 1}},
    {"macro 70", Mapping(kButtonLeft, kMappingMacro, kActionPressed, 70, 0, 0), {1, 0x41, 69, 0}},
};

TEST(ButtonEntryCodec, EncodesAndDecodesEveryRowOfTheTable) {
  for (const EntryCase& c : kEntryCases) {
    ButtonEntry entry{0xEE, 0xEE, 0xEE, 0xEE};
    EncodeButtonEntry(c.record, entry);
    EXPECT_EQ(entry, c.entry) << c.name;
    EXPECT_EQ(DecodeButtonEntry(c.entry), c.record) << c.name;
  }
}

TEST(ButtonEntryCodec, DeviceActionsAndMacrosIgnoreTheActionTypeWhenEncoding) {
  ButtonEntry entry{};
  EncodeButtonEntry(Mapping(1, kMappingDeviceAction, kActionPropertyChange, kPropertyProfile, 0, 2), entry);
  EXPECT_EQ(entry, (ButtonEntry{1, 0x22, 2, 0}));
  EncodeButtonEntry(Mapping(1, kMappingMacro, kActionClick, 5, 0x1FF, 0), entry);
  EXPECT_EQ(entry, (ButtonEntry{1, 0x41, 4, 0xFF}));
  EncodeButtonEntry(Mapping(1, kMappingMacro, 0, INT32_MIN, 0, 0), entry);  // no overflow
  EXPECT_EQ(entry, (ButtonEntry{1, 0x41, 0xFF, 0}));
}

TEST(ButtonEntryCodec, DisabledClearsTheCodeAndUnmatchedRecordsKeepWhatWasRead) {
  ButtonEntry entry{1, 0x33, 0x44, 0x55};
  EncodeButtonEntry(Mapping(7, kMappingDisabled, 0, 9, 9, 9), entry);
  EXPECT_EQ(entry, (ButtonEntry{7, 0x00, 0x44, 0x55}));

  const ButtonMappingRecord unmatched[] = {
      Mapping(2, kMappingButtons, kActionPressed, 15, 0, 0),      // no such function code
      Mapping(2, kMappingButtons, kActionClick, 1, 0, 0),         // wrong action type
      Mapping(2, kMappingUserAction, kActionClick, 0x1E, 0, 0),
      Mapping(2, kMappingMultimedia, kActionKeycode, 1, 2, 0),
      Mapping(2, kMappingDeviceAction, kActionClick, kClickButton4, 0, 0),  // not a property
      Mapping(2, 99, 0, 0, 0, 0),
  };
  for (const ButtonMappingRecord& record : unmatched) {
    ButtonEntry kept{1, 0x33, 0x44, 0x55};
    EncodeButtonEntry(record, kept);
    EXPECT_EQ(kept, (ButtonEntry{2, 0x33, 0x44, 0x55}));
  }
}

TEST(ButtonEntryCodec, CodesOutsideTheTableReadBackAsDisabled) {
  for (const uint8_t code : {0x0F, 0x20, 0x23, 0x30, 0x34, 0x40, 0x42, 0xFF})
    EXPECT_EQ(DecodeButtonEntry({3, code, 7, 8}), Mapping(3, kMappingDisabled, 0, 0, 0, 0)) << int(code);
}

TEST(ButtonEntryCodec, CheckMappingsRefusesTooManyRecordsAndMacroIdsOffTheDevice) {
  std::vector<ButtonMappingRecord> nine(9, Mapping(1, kMappingButtons, kActionPressed, 1, 0, 0));
  EXPECT_EQ(CheckMappings(nine), kS_OK);
  nine.push_back(nine.back());
  EXPECT_EQ(CheckMappings(nine), kE_INVALIDARG);
  for (const int32_t id : {0, 71, -1})
    EXPECT_EQ(CheckMappings(std::vector{Mapping(1, kMappingMacro, 0, id, 0, 0)}), kE_INVALIDARG);
}

class ProfileMappings : public DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    Edit([](emu::DeviceState& s) {
      MarkedProfileTwo(s, 0xB0);
      s.Slot(2).block[emu::kBlockButtons + 4 * 8 + 2] = 0x5A;  // a parameter of entry 8
    });
    Forget();
  }
};

TEST_F(ProfileMappings, WriteEncodesEachRecordIntoItsEntryAndEchoesTheRest) {
  const std::vector<ButtonMappingRecord> records{
      Mapping(kButtonLeft, kMappingMacro, kActionPressed, 3, 1, 0),
      Mapping(kButtonRight, kMappingUserAction, kActionKeycode, 0x2C, 0, 0),
      Mapping(kButtonCenter, kMappingDisabled, 0, 0, 0, 0)};
  ASSERT_EQ(SetProfileMappings(handler_, 2, records), kS_OK);
  ASSERT_EQ(Sequence(), (Strings{"R06", "W06"}));
  const std::vector<Exchange> ex = Exchanges();
  EXPECT_EQ(ex[0].request[9], 2);
  for (size_t i = 10; i <= 64; ++i) EXPECT_EQ(ex[0].request[i], 0) << i;  // read carries the slot only
  std::set<size_t> changed;
  for (size_t i = 29; i < 29 + 12; ++i) changed.insert(i);
  ExpectEchoes(ex[0], ex[1], 0x38, changed);
  const std::vector<uint8_t> entries{1, 0x41, 2, 1, 2, 0x31, 0x2C, 0, 3, 0x00, 0, 0};
  EXPECT_EQ(std::vector<uint8_t>(ex[1].request.begin() + 29, ex[1].request.begin() + 41), entries);
  EXPECT_EQ(State().Slot(2).block[emu::kBlockButtons + 4 * 8 + 2], 0x5A);
}

TEST_F(ProfileMappings, ReadGivesNineRecordsOfTheBlock) {
  std::vector<ButtonMappingRecord> records;
  ASSERT_EQ(GetProfileMappings(handler_, 2, records), kS_OK);
  ASSERT_EQ(records.size(), 9u);
  EXPECT_EQ(records[0], Mapping(1, kMappingButtons, kActionPressed, 1, 0, 0));
  EXPECT_EQ(records[5], Mapping(6, kMappingButtons, kActionPressed, 11, 0, 0));
  EXPECT_EQ(records[6], Mapping(7, kMappingButtons, kActionPressed, 12, 0, 0));
  EXPECT_EQ(Sequence(), (Strings{"R06"}));

  // What was written reads back as written.
  std::vector<ButtonMappingRecord> as_written;
  for (const EntryCase& c : kEntryCases) as_written.push_back(c.record);
  as_written.resize(9);
  ASSERT_EQ(SetProfileMappings(handler_, 2, as_written), kS_OK);
  ASSERT_EQ(GetProfileMappings(handler_, 2, records), kS_OK);
  EXPECT_EQ(records, as_written);
}

TEST_F(ProfileMappings, BadArgumentsAreRefusedWithoutTraffic) {
  const std::vector<ButtonMappingRecord> ten(10, Mapping(1, kMappingButtons, kActionPressed, 1, 0, 0));
  EXPECT_EQ(SetProfileMappings(handler_, 2, ten), kE_INVALIDARG);
  EXPECT_EQ(SetProfileMappings(handler_, 2, std::vector{Mapping(1, kMappingMacro, 5, 0, 0, 0)}), kE_INVALIDARG);
  EXPECT_EQ(SetProfileMappings(handler_, kNoNumber, {}), kE_FAIL);
  EXPECT_EQ(SetProfileMappings(handler_, 6, {}), kE_INVALIDARG);
  std::vector<ButtonMappingRecord> records;
  EXPECT_EQ(GetProfileMappings(handler_, kNoNumber, records), kE_FAIL);
  EXPECT_EQ(GetProfileMappings(handler_, 0, records), kE_INVALIDARG);
  EXPECT_TRUE(Sequence().empty());
}

TEST_F(ProfileMappings, AFailedReadWritesNothing) {
  model_.SetStatusScript(emu::kCmdProfile, {{9}});
  EXPECT_EQ(SetProfileMappings(handler_, 2, std::vector{Mapping(1, kMappingDisabled, 0, 0, 0, 0)}), kE_FAIL);
  EXPECT_EQ(Sequence(), (Strings{"R06"}));
}

TEST_F(ProfileMappings, DefaultLayoutRequests) {
  ASSERT_EQ(WriteDefaultLayout(handler_), kS_OK);
  ASSERT_EQ(ReadDefaultLayout(handler_), kS_OK);
  ASSERT_EQ(Sequence(), (Strings{"W06", "R06"}));
  const std::vector<Exchange> ex = Exchanges();
  const FeatureReport built = BuildDefaultLayoutWrite();
  for (size_t i = 0; i < kChecksum; ++i) EXPECT_EQ(ex[0].request[i], built[i]) << i;
  EXPECT_EQ(ex[0].request[kLength], 0x41);
  EXPECT_EQ(ex[1].request[kLength], 0x01);
  EXPECT_EQ(ex[1].request[9], 3);
}

}  // namespace
}  // namespace quill::device::test
