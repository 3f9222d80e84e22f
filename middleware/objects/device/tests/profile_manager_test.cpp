// Profile directory, activation, creation, deletion and names against the emulated mouse.
#include "middleware/objects/device/profile_manager.h"

#include <gtest/gtest.h>

#include "middleware/objects/device/tests/device_fixture.h"

namespace quill::device::test {
namespace {

using Strings = std::vector<std::string>;

class ProfileManager : public DeviceTest {
 protected:
  // Occupies exactly the given slots (default block, name "P<n>") and makes `active` active.
  void Occupy(std::initializer_list<int> slots, uint8_t active) {
    Edit([&](emu::DeviceState& s) {
      for (int n = 1; n <= 5; ++n) s.Slot(n).name = emu::EmptyProfileName();
      for (const int n : slots) {
        std::u16string name = u"P0";
        name[1] = static_cast<char16_t>(u'0' + n);
        s.Slot(n).name = emu::ProfileNameFromText(name);
        s.Slot(n).block = emu::DefaultProfileBlock(static_cast<uint8_t>(n));
      }
      s.performance.active_slot = active;
    });
    Forget();
  }
  bool Occupied(int n) const { return State().Slot(n).Occupied(); }
};

TEST_F(ProfileManager, ExistenceAndTheActiveSlot) {
  Occupy({1, 3}, 3);
  EXPECT_EQ(ProfileExists(handler_, 1), kS_OK);
  EXPECT_EQ(ProfileExists(handler_, 2), kE_FAIL);
  EXPECT_EQ(ProfileExists(handler_, 0), kE_INVALIDARG);
  int32_t active = 0;
  ASSERT_EQ(GetActiveProfileNumber(handler_, active), kS_OK);
  EXPECT_EQ(active, 3);
  const std::vector<Exchange> ex = Exchanges();
  ASSERT_EQ(Sequence(), (Strings{"R22", "R22", "R05"}));
  EXPECT_EQ(ex[1].request[9], 2);
  for (size_t i = 10; i <= 49; ++i) EXPECT_EQ(ex[1].request[i], 0) << i;
  EXPECT_EQ(ex[2].request[kLength], 1);
}

TEST_F(ProfileManager, AFailedReadIsNeverAnAnswer) {
  Occupy({1}, 1);
  model_.SetStatusScript(emu::kCmdProfileName, {{9}});
  EXPECT_EQ(ProfileExists(handler_, 2), kE_FAIL);
  model_.FailNextGetFeatures(1);
  EXPECT_EQ(ProfileExists(handler_, 1), kE_ABORT);
}

TEST_F(ProfileManager, IndexesCountTheOccupiedSlots) {
  Occupy({1, 3, 5}, 1);
  struct Case {
    int32_t index;
    HResult hr;
    int32_t slot;
  };
  for (const Case c : {Case{0, kS_OK, 1}, Case{1, kS_OK, 3}, Case{2, kS_OK, 5}, Case{3, kE_FAIL, -1},
                       Case{5, kE_INVALIDARG, -1}, Case{-1, kE_INVALIDARG, -1}}) {
    int32_t slot = -1;
    EXPECT_EQ(GetProfileByIndex(handler_, c.index, slot), c.hr) << c.index;
    EXPECT_EQ(slot, c.slot) << c.index;
  }
  Forget();
  int32_t slot = 0;
  ASSERT_EQ(GetProfileByIndex(handler_, 1, slot), kS_OK);
  EXPECT_EQ(Sequence(), (Strings{"R22", "R22", "R22", "R22", "R06"}));  // 1, 2, 3, then open 3
}

TEST_F(ProfileManager, AnEmptyDeviceGetsProfileOneCreatedAndActivated) {
  Occupy({}, 2);
  int32_t slot = 0;
  ASSERT_EQ(GetProfileByIndex(handler_, 0, slot), kS_OK);
  EXPECT_EQ(slot, 1);
  EXPECT_EQ(Sequence(), (Strings{"R22", "R22", "R22", "R22", "R22",  // nothing exists
                                 "R22", "W06", "W22",                // create in slot 1
                                 "R06", "R05", "R05", "W05"}));      // activate
  const emu::DeviceState s = State();
  EXPECT_EQ(s.Slot(1).block, emu::DefaultProfileBlock(1));
  EXPECT_EQ(emu::ProfileNameText(s.Slot(1).name), u"");
  EXPECT_TRUE(s.Slot(1).Occupied());
  EXPECT_EQ(s.performance.active_slot, 1);
  EXPECT_EQ(s.performance.current_stage, 3);
}

TEST_F(ProfileManager, AReadErrorWhileCountingCreatesNothing) {
  Occupy({}, 1);
  model_.SetStatusScript(emu::kCmdProfileName, {{2, 2, 9}});
  int32_t slot = 0;
  EXPECT_EQ(GetProfileByIndex(handler_, 0, slot), kE_FAIL);
  EXPECT_EQ(Sequence(), (Strings{"R22", "R22", "R22"}));
}

TEST_F(ProfileManager, OpenChecksTheSlotThenReadsItsBlock) {
  Occupy({1, 4}, 1);
  int32_t slot = 0;
  ASSERT_EQ(OpenProfile(handler_, 4, slot), kS_OK);
  EXPECT_EQ(slot, 4);
  EXPECT_EQ(Sequence(), (Strings{"R22", "R06"}));
  EXPECT_EQ(OpenProfile(handler_, 2, slot), kE_FAIL);
  EXPECT_EQ(OpenProfile(handler_, 6, slot), kE_INVALIDARG);
}

TEST_F(ProfileManager, ActivationTakesTheDefaultStageOfTheProfile) {
  Occupy({1, 2}, 1);
  Edit([](emu::DeviceState& s) {
    s.Slot(2).block[emu::kBlockDefaultStage] = 2;
    s.Slot(2).block[emu::kBlockStages + 2] = 44;
    s.Slot(2).block[emu::kBlockStages + 3] = 68;
    s.performance = emu::PerformanceRecord{1, 8, 4, 156, 156};
  });
  Forget();
  ASSERT_EQ(SetActiveProfile(handler_, 2), kS_OK);
  ASSERT_EQ(Sequence(), (Strings{"R06", "R05", "R05", "W05"}));
  const std::vector<Exchange> ex = Exchanges();
  ExpectEchoes(ex[2], ex[3], 5, {9, 11, 12, 13});
  EXPECT_EQ(State().performance, (emu::PerformanceRecord{2, 8, 2, 44, 68}));

  Forget();
  ASSERT_EQ(SetActiveProfile(handler_, 2), kS_OK);  // already active: nothing written
  EXPECT_EQ(Sequence(), (Strings{"R06", "R05"}));
  EXPECT_EQ(SetActiveProfile(handler_, 0), kE_INVALIDARG);
}

TEST_F(ProfileManager, ABlockWithoutADefaultStageKeepsTheCurrentDpi) {
  Occupy({1, 2}, 1);
  Edit([](emu::DeviceState& s) {
    s.Slot(2).block[emu::kBlockDefaultStage] = 0;
    s.performance = emu::PerformanceRecord{1, 2, 4, 156, 150};
  });
  ASSERT_EQ(SetActiveProfile(handler_, 2), kS_OK);
  EXPECT_EQ(State().performance, (emu::PerformanceRecord{2, 2, 4, 156, 150}));
}

TEST_F(ProfileManager, CreateUsesTheFirstFreeSlot) {
  Occupy({1, 2, 4}, 1);
  int32_t slot = 0;
  ASSERT_EQ(CreateProfile(handler_, slot), kS_OK);
  EXPECT_EQ(slot, 3);
  EXPECT_EQ(Sequence(), (Strings{"R22", "R22", "R22", "W06", "W22"}));
  const std::vector<Exchange> ex = Exchanges();
  for (size_t i = 10; i <= 49; ++i) EXPECT_EQ(ex[0].request[i], 0xFF) << i;  // pre-filled read
  EXPECT_EQ(ex[3].request[kLength], 56);
  EXPECT_EQ(ex[4].request[kLength], 41);
  EXPECT_EQ(State().Slot(3).block, emu::DefaultProfileBlock(3));

  Occupy({1, 2, 3, 4, 5}, 1);
  EXPECT_EQ(CreateProfile(handler_, slot), kE_OUTOFMEMORY);
  EXPECT_EQ(Sequence(), (Strings{"R22", "R22", "R22", "R22", "R22"}));
}

TEST_F(ProfileManager, CreateNeverOverwritesASlotItCouldNotRead) {
  Occupy({1, 2}, 1);
  const emu::ProfileSlot two = State().Slot(2);
  // The failed read of slot 2 hands back the request, whose name bytes are all 0xFF.
  model_.SetStatusScript(emu::kCmdProfileName, {{2, 9}});
  int32_t slot = 0;
  ASSERT_EQ(CreateProfile(handler_, slot), kS_OK);
  EXPECT_EQ(slot, 3);
  EXPECT_EQ(State().Slot(2), two);

  Occupy({1}, 1);
  model_.SetStatusScript(emu::kCmdProfileName, {{9}, true});
  EXPECT_EQ(CreateProfile(handler_, slot), kE_FAIL);  // the read error, not "no slot free"
  EXPECT_EQ(Sequence(), (Strings{"R22", "R22", "R22", "R22", "R22"}));
}

TEST_F(ProfileManager, CreateMovesOnWhenASlotCannotBeWritten) {
  Occupy({1}, 1);
  model_.SetStatusScript(emu::kCmdProfile, {{9}});
  int32_t slot = 0;
  ASSERT_EQ(CreateProfile(handler_, slot), kS_OK);
  EXPECT_EQ(slot, 3);
  EXPECT_EQ(Sequence(), (Strings{"R22", "R22", "W06", "R22", "W06", "W22"}));
}

TEST_F(ProfileManager, DeletionRules) {
  Occupy({1, 2, 3}, 3);
  EXPECT_EQ(DeleteProfile(handler_, 1), kE_ACCESSDENIED);
  EXPECT_EQ(DeleteProfile(handler_, kNoNumber), kE_FAIL);
  EXPECT_EQ(DeleteProfile(handler_, 6), kE_INVALIDARG);
  EXPECT_TRUE(Sequence().empty());
  EXPECT_EQ(DeleteProfile(handler_, 3), kE_ACCESSDENIED);
  EXPECT_EQ(Sequence(), (Strings{"R05"}));
  EXPECT_TRUE(Occupied(3));

  Forget();
  ASSERT_EQ(DeleteProfile(handler_, 2), kS_OK);
  ASSERT_EQ(Sequence(), (Strings{"R05", "W07", "W22"}));
  EXPECT_EQ(Exchanges()[1].request[9], 2);
  EXPECT_FALSE(Occupied(2));
  EXPECT_EQ(ProfileExists(handler_, 2), kE_FAIL);
}

TEST_F(ProfileManager, NamesRoundTripAndAreBounded) {
  Occupy({1, 2}, 1);
  ASSERT_EQ(SetProfileName(handler_, 2, u"Nineteen characters"), kS_OK);
  std::u16string name;
  ASSERT_EQ(GetProfileName(handler_, 2, name), kS_OK);
  EXPECT_EQ(name, u"Nineteen characters");
  ASSERT_EQ(GetProfileName(handler_, 4, name), kS_OK);
  EXPECT_EQ(name, u"");  // empty slot
  Forget();
  EXPECT_EQ(SetProfileName(handler_, 2, u"Twenty characters!!!"), kE_FAIL);
  EXPECT_EQ(SetProfileName(handler_, kNoNumber, u"x"), kE_FAIL);
  EXPECT_EQ(GetProfileName(handler_, 9, name), kE_INVALIDARG);
  EXPECT_TRUE(Sequence().empty());

  // A stored name without a terminator ends at the 20 units of its field.
  Edit([](emu::DeviceState& s) {
    for (size_t i = 0; i < s.Slot(2).name.size(); i += 2) {
      s.Slot(2).name[i] = 'A';
      s.Slot(2).name[i + 1] = 0;
    }
  });
  ASSERT_EQ(GetProfileName(handler_, 2, name), kS_OK);
  EXPECT_EQ(name, std::u16string(20, u'A'));
}

}  // namespace
}  // namespace quill::device::test
