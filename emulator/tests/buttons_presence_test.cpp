// Buttons on the mouse (with the F20 keystroke) and its presence: paths, unplug, replug.
#include <gtest/gtest.h>

#include "emulator/quillfern_model.h"
#include "emulator/tests/report_helpers.h"

namespace quill::emu {
namespace {

using test::Client;
using test::Read;

class ButtonTest : public ::testing::Test {
 protected:
  void SetUp() override {
    model.SetKeystrokeCallback([this] { ++keystrokes; });
  }
  QuillfernModel model;
  int keystrokes = 0;
};

TEST_F(ButtonTest, DpiButtonsWalkTheStagesAndSendF20) {
  ButtonResult r = model.PressDpiUp();
  EXPECT_TRUE(r.changed);
  EXPECT_EQ(r.performance.current_stage, 4);
  EXPECT_EQ(r.performance.dpi_x_code, 156);
  EXPECT_EQ(keystrokes, 1);
  model.PressDpiUp();
  r = model.PressDpiUp();  // stage 5 is the last
  EXPECT_FALSE(r.changed);
  EXPECT_EQ(r.performance.current_stage, 5);
  EXPECT_EQ(r.performance.dpi_y_code, 220);
  EXPECT_EQ(keystrokes, 2) << "no keystroke without a change";
  for (int i = 0; i < 4; ++i) model.PressDpiDown();
  r = model.PressDpiDown();
  EXPECT_FALSE(r.changed);
  EXPECT_EQ(r.performance.current_stage, 1);
  EXPECT_EQ(r.performance.dpi_x_code, 28);
  EXPECT_EQ(keystrokes, 6);
  // The device reports the change to whoever reads command 0x05 next.
  EXPECT_EQ(model.HandleCommand(Read(kCmdPerformance))[11], 1);
}

TEST_F(ButtonTest, DpiUpStopsAtTheProfilesStageCount) {
  DeviceState s = model.State();
  s.Slot(1).block[kBlockStageCount] = 3;
  s.performance.current_stage = 3;
  model.SetState(s);
  EXPECT_FALSE(model.PressDpiUp().changed);
  EXPECT_EQ(keystrokes, 0);
}

TEST_F(ButtonTest, ProfileSwitchGoesToTheNextOccupiedSlotAtItsDefaultStage) {
  DeviceState s = model.State();
  s.Slot(3).name = ProfileNameFromText(u"Three");
  s.Slot(3).block = DefaultProfileBlock(3);
  s.Slot(3).block[kBlockDefaultStage] = 2;
  s.Slot(3).block[kBlockStages + 2] = 44;
  s.Slot(3).block[kBlockStages + 3] = 68;
  model.SetState(s);

  ButtonResult r = model.PressProfileSwitch();
  EXPECT_TRUE(r.changed);
  EXPECT_EQ(r.performance, (PerformanceRecord{3, 2, 2, 44, 68}));
  r = model.PressProfileSwitch();
  EXPECT_EQ(r.performance, (PerformanceRecord{1, 2, 3, 68, 68}));
  EXPECT_EQ(keystrokes, 2);

  QuillfernModel single;
  EXPECT_FALSE(single.PressProfileSwitch().changed) << "one profile: nothing to switch to";
}

TEST(PresenceTest, PathsHaveTheMouseShapeAndAnyLength) {
  const std::u16string path = QuillfernModel::MakeDevicePath(1);
  EXPECT_EQ(path.rfind(u"\\\\?\\hid#vid_3a7c&pid_0c31", 0), 0u);
  EXPECT_LT(path.size(), 126u);
  for (size_t length : {126u, 127u, 200u, 300u}) EXPECT_EQ(QuillfernModel::MakeDevicePath(1, length).size(), length);
  EXPECT_NE(QuillfernModel::MakeDevicePath(1), QuillfernModel::MakeDevicePath(2));
}

TEST(PresenceTest, UnplugKillsHandlesAndReplugKeepsOrChangesThePath) {
  QuillfernModel model;
  const std::u16string first = model.DevicePath();
  Client old_handle(model);
  ASSERT_TRUE(old_handle.Send(Read(kCmdPerformance)));

  model.Unplug();
  EXPECT_FALSE(model.Plugged());
  EXPECT_FALSE(model.OpenHandle(first));
  FeatureReport reply{};
  EXPECT_FALSE(old_handle.Poll(reply));
  EXPECT_FALSE(old_handle.Reset());
  EXPECT_EQ(model.LogEntries().back().note, "device unplugged");

  model.Replug(false);
  EXPECT_EQ(model.DevicePath(), first);
  EXPECT_FALSE(old_handle.Send(Read(kCmdPerformance))) << "a handle from before the unplug stays dead";
  Client fresh(model);
  EXPECT_EQ(fresh.Exchange(Read(kCmdPerformance))[kStatus], kStatusDone);

  model.Unplug();
  model.Replug(true);
  const std::u16string second = model.DevicePath();
  EXPECT_NE(second, first);
  EXPECT_EQ(second.size(), first.size());
  EXPECT_FALSE(model.OpenHandle(first));
  EXPECT_TRUE(model.OpenHandle(second));
  EXPECT_EQ(model.KnownPaths(), (std::vector<std::u16string>{first, second}));
}

TEST(PresenceTest, OpeningComparesPathsWithoutCaseAndCanBeMadeToFail) {
  QuillfernModel model;
  model.SetDevicePath(QuillfernModel::MakeDevicePath(7, 200));
  std::u16string upper = model.DevicePath();
  for (char16_t& c : upper)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
  EXPECT_TRUE(model.OpenHandle(upper));
  EXPECT_FALSE(model.OpenHandle(upper.substr(0, 125))) << "a cut path names nothing";
  EXPECT_EQ(model.KnownPaths().size(), 1u);
  model.FailNextOpens(2);
  EXPECT_FALSE(model.OpenHandle(model.DevicePath()));
  EXPECT_FALSE(model.OpenHandle(model.DevicePath()));
  EXPECT_TRUE(model.OpenHandle(model.DevicePath()));
}

}  // namespace
}  // namespace quill::emu
