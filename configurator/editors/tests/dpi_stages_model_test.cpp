// The sensitivity stage settings: opening a profile's stages, the sliders and the toggle, the
// number of stages, and what OK, APPLY and CANCEL leave in the profile.
#include <gtest/gtest.h>

#include "configurator/editors/dpi_stages_model.h"

namespace quill::editors {
namespace {

struct Stages : ::testing::Test {
  EntryLists lists;
  ProfileEntry* profile = &lists.profiles.Add(u"p");
  DpiStagesModel dialog;
  void SetUp() override {
    profile->pDpiStages = std::make_unique<DpiStages>();
    DpiStages& stages = *profile->pDpiStages;
    stages.ulTotalStages = 3;
    stages.lDefaultStage = 3;
    stages.lCurrentStage = 2;
    stages.Sensitivity[0] = {800, 800};
    stages.Sensitivity[1] = {1800, 900};
    stages.Sensitivity[2] = {3200, 3200};
  }
};

TEST_F(Stages, OpensWithTheProfilesStagesAndDefaultsBeyond) {
  dialog.Open(profile, std::nullopt);
  EXPECT_EQ(dialog.StageCount(), 3);
  EXPECT_EQ(dialog.Selected(), 3);
  const struct {
    int32_t x, y;
    bool independent, shown;
    std::u16string xLabel, yLabel;
  } expected[] = {
      {800, 800, false, true, u"800", u""},       {1800, 900, true, true, u"1800", u"900"},
      {3200, 3200, false, true, u"3200", u""},    {2400, 2400, false, false, u"2400", u""},
      {5600, 5600, false, false, u"5600", u""},
  };
  for (int i = 1; i <= 5; ++i) {
    SCOPED_TRACE(i);
    const StageView& stage = dialog.Stage(i);
    EXPECT_EQ(stage.x, expected[i - 1].x);
    EXPECT_EQ(stage.y, expected[i - 1].y);
    EXPECT_EQ(stage.independent, expected[i - 1].independent);
    EXPECT_EQ(stage.shown, expected[i - 1].shown);
    EXPECT_EQ(stage.xLabel, expected[i - 1].xLabel);
    EXPECT_EQ(stage.yLabel, expected[i - 1].yLabel);
  }
  EXPECT_EQ(dialog.XSlider(), 32.0);
  EXPECT_FALSE(dialog.Independent());

  // The current stage takes the performance page's live sliders (rounded to hundreds).
  dialog.Open(profile, LiveSliders{12.6, 7.2});
  EXPECT_EQ(dialog.Stage(2).x, 1300);
  EXPECT_EQ(dialog.Stage(2).y, 700);
}

TEST_F(Stages, HostileStageValuesAreHeldInRange) {
  DpiStages& stages = *profile->pDpiStages;
  stages.ulTotalStages = 99;
  stages.lDefaultStage = -4;
  stages.Sensitivity[0] = {0, 0xFFFFFFFFu};
  stages.Sensitivity[4] = {5650, 5650};
  dialog.Open(profile, std::nullopt);
  EXPECT_EQ(dialog.StageCount(), 5);
  EXPECT_EQ(dialog.Selected(), 1);
  EXPECT_EQ(dialog.Stage(1).x, 100);
  EXPECT_EQ(dialog.Stage(1).y, 5600);
  EXPECT_EQ(dialog.Stage(5).x, 5600);
}

TEST_F(Stages, SlidersTogglesAndStageButtons) {
  dialog.Open(profile, std::nullopt);
  dialog.MoveX(40.4);
  EXPECT_EQ(dialog.YSlider(), 40.4);  // Y follows X on a stage that is not independent
  ASSERT_TRUE(dialog.SelectStage(2));
  EXPECT_EQ(dialog.Stage(3).x, 4000);
  EXPECT_EQ(dialog.Stage(3).y, 4000);
  EXPECT_TRUE(dialog.Independent());
  EXPECT_EQ(dialog.YSlider(), 9.0);
  EXPECT_EQ(profile->bModified, 1);
  EXPECT_FALSE(dialog.SelectStage(4));  // hidden

  dialog.SetIndependent(false);  // off: Y := X
  EXPECT_EQ(dialog.YSlider(), 18.0);
  EXPECT_EQ(dialog.Stage(2).y, 1800);
  EXPECT_EQ(dialog.Stage(2).yLabel, u"");
  dialog.SetIndependent(true);
  dialog.MoveY(25);
  dialog.SelectStage(1);
  EXPECT_EQ(dialog.Stage(2).y, 2500);
  EXPECT_EQ(dialog.Stage(2).yLabel, u"2500");
}

TEST_F(Stages, TheNumberOfStagesStaysWithinTwoToFive) {
  dialog.Open(profile, std::nullopt);
  for (auto [value, shown] : {std::pair{1.0, 2}, {0.0, 2}, {-7.0, 2}, {9.0, 5}, {4.0, 4}, {2.0, 2}}) {
    EXPECT_EQ(dialog.SetStageCount(value), shown);
    EXPECT_EQ(dialog.StageCount(), shown);
  }
  EXPECT_TRUE(dialog.Stage(2).shown);
  EXPECT_FALSE(dialog.Stage(3).shown);
}

TEST_F(Stages, LoweringTheCountMovesTheSelection) {
  dialog.Open(profile, std::nullopt);
  dialog.MoveX(30);  // kept in stage 3 although it is hidden now
  EXPECT_EQ(dialog.SetStageCount(2), 2);
  EXPECT_EQ(dialog.Selected(), 2);
  EXPECT_EQ(dialog.XSlider(), 18.0);
  EXPECT_EQ(dialog.Stage(3).x, 3000);
}

TEST_F(Stages, CommitWritesTheProfileAndAnswersThePage) {
  dialog.Open(profile, std::nullopt);
  dialog.MoveX(20);
  auto page = dialog.Commit();
  DpiStages& stages = *profile->pDpiStages;
  EXPECT_EQ(stages.ulTotalStages, 3u);
  EXPECT_EQ(stages.lDefaultStage, 3);
  EXPECT_EQ(stages.Sensitivity[2], (SensitivityPair{2000, 2000}));
  ASSERT_TRUE(page);  // current stage 2, independent
  EXPECT_EQ(page->xLabel, u"X: 1800");
  EXPECT_EQ(page->yLabel, u"Y: 900");
  EXPECT_TRUE(page->independent);

  // Fewer stages than the current one: current and default come down with it.
  stages.lCurrentStage = 3;
  dialog.Open(profile, std::nullopt);
  dialog.SetStageCount(2);
  page = dialog.Commit();
  EXPECT_EQ(stages.ulTotalStages, 2u);
  EXPECT_EQ(stages.lCurrentStage, 2);
  EXPECT_EQ(stages.lDefaultStage, 2);
  EXPECT_EQ(page->xLabel, u"X: 1800");
}

TEST_F(Stages, CancelAndProfilesWithoutStages) {
  profile->bModified = 0;
  const DpiStages before = *profile->pDpiStages;
  dialog.Open(profile, std::nullopt);
  dialog.SelectStage(1);
  dialog.SetStageCount(5);
  dialog.Cancel();
  EXPECT_EQ(profile->bModified, 0);
  EXPECT_EQ(*profile->pDpiStages, before);

  profile->pDpiStages.reset();
  dialog.Open(profile, std::nullopt);
  EXPECT_EQ(dialog.StageCount(), 5);
  EXPECT_EQ(dialog.Stage(5).x, 5600);
  EXPECT_FALSE(dialog.Commit());  // no current stage: the page keeps its values
  EXPECT_EQ(profile->pDpiStages, nullptr);
}

}  // namespace
}  // namespace quill::editors
