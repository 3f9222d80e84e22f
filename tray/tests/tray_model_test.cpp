// The tray's decisions without Windows: the timer cycle and countdowns, display texts, the menu,
// the command line, and which profile is activated.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tray/command_line.h"
#include "tray/display_text.h"
#include "tray/profile_switching.h"
#include "tray/tick_cycle.h"
#include "tray/tray_menu.h"

namespace quill::tray {
namespace {

TEST(TickCycle, ApplicationCheckOnTickFiveDeviceCheckOnWrapOnceEveryTwentyOneTicks) {
  TickCycle cycle;
  std::vector<int> app, device;
  for (int tick = 1; tick <= 63; ++tick) {
    TickWork w = cycle.Advance();
    if (w.applicationCheck) app.push_back(tick);
    if (w.deviceCheck) device.push_back(tick);
  }
  // The 6th tick sees counter 5; the 21st wraps. 7.5 s (15 ticks) lie between the two checks.
  EXPECT_EQ(app, (std::vector<int>{6, 27, 48}));
  EXPECT_EQ(device, (std::vector<int>{21, 42, 63}));
  EXPECT_EQ(cycle.counter(), 0);
}

TEST(DisplayCountdowns, HideTenTicksAfterShowRestartOnNewEventStopAtOnce) {
  DisplayCountdowns c;
  c.Start(kXDisplay);
  c.Start(kProfileDisplay);
  for (int i = 0; i < 9; ++i) {
    auto hide = c.Step();
    EXPECT_FALSE(hide[kXDisplay] || hide[kProfileDisplay] || hide[kYDisplay]) << i;
    if (i == 4) c.Start(kProfileDisplay);  // a new event while shown restarts the count
  }
  auto hide = c.Step();
  EXPECT_TRUE(hide[kXDisplay]);
  EXPECT_FALSE(hide[kProfileDisplay]);
  EXPECT_EQ(c.ticks(kProfileDisplay), 5);
  c.Stop(kProfileDisplay);
  for (int i = 0; i < 12; ++i) {
    hide = c.Step();
    EXPECT_FALSE(hide[kXDisplay] || hide[kProfileDisplay] || hide[kYDisplay]) << "hidden only once";
  }
}

TEST(DisplayText, ProfileNameEndsInColumnNineteen) {
  EXPECT_EQ(ProfileDisplayText(u"%s%s", u"Games"), std::u16string(14, u' ') + u"Games");
  EXPECT_EQ(ProfileDisplayText(u"%s%s", u"ABCDEFGHIJKLMNOPQRS"), u"ABCDEFGHIJKLMNOPQRS");
  EXPECT_EQ(ProfileDisplayText(u"%s%s", u"A profile name of 25 ch"), u"A profile name of 25 ch");
  EXPECT_EQ(ProfileDisplayText(u"%s%s", u""), std::u16string(19, u' '));
  // A translated format with its own text; a broken one keeps what it cannot fill.
  EXPECT_EQ(ProfileDisplayText(u"P:%s%s!", u"abc"), u"P:" + std::u16string(16, u' ') + u"abc!");
  EXPECT_EQ(ProfileDisplayText(u"%d %s 100%%", u"x"), u"%d " + std::u16string(18, u' ') + u" 100%");
}

TEST(DisplayText, DpiTextAndBitmap) {
  EXPECT_EQ(DpiDisplayText(u"X:%d Y:%d", 1600, 800), u"X:1600 Y:800");
  EXPECT_EQ(DpiDisplayText(u"%s X:%d", 1600, 800), u"%s X:1600");
  EXPECT_EQ(DpiBitmapId(800), 5008);
  EXPECT_EQ(DpiBitmapId(1650), 5016);
  EXPECT_EQ(DpiBitmapId(5600), kLastDpiBitmap);
  EXPECT_EQ(DpiBitmapId(100), kFirstDpiBitmap);
}

ProfileList MakeProfiles(const std::vector<std::u16string>& names) {
  ProfileList list;
  int32_t slot = 0;
  for (const auto& n : names) list.Add(n).lId = ++slot;
  return list;
}

TEST(TrayMenu, ZeroTwoAndMoreThanFiveProfiles) {
  const std::u16string open = u"Open", close = u"Close";
  EXPECT_EQ(DescribeMenu(BuildTrayMenu(ProfileList{}, open, close)), u"40014 Close\n");
  EXPECT_EQ(DescribeMenu(BuildTrayMenu(MakeProfiles({u"A", u"B&C"}), open, close)),
            u"40016 Open\n---\n40008 A\n40009 B&C\n---\n40014 Close\n");
  EXPECT_EQ(DescribeMenu(BuildTrayMenu(MakeProfiles({u"1", u"2", u"3", u"4", u"5", u"6"}), open, close)),
            u"40016 Open\n---\n40008 1\n40009 2\n40010 3\n40011 4\n40012 5\n---\n40014 Close\n");
  struct Case { uint32_t command; MenuAction action; int32_t index; };
  for (Case c : {Case{40016, MenuAction::kOpenConfigurator, -1}, Case{40008, MenuAction::kActivateProfile, 0},
                 Case{40012, MenuAction::kActivateProfile, 4}, Case{40013, MenuAction::kNothing, -1},
                 Case{40014, MenuAction::kCloseTray, -1}, Case{0, MenuAction::kNothing, -1}}) {
    MenuChoice choice = InterpretMenuCommand(c.command);
    EXPECT_EQ(choice.action, c.action) << c.command;
    EXPECT_EQ(choice.profileIndex, c.index) << c.command;
  }
}

TEST(CommandLine, ParsesLikeAtoi) {
  struct Case { std::u16string text; int32_t action; };
  for (const Case& c : {Case{u"", kNoAction}, Case{u"   ", kNoAction}, Case{u"3", 3}, Case{u" 10 ", 10},
                        Case{u"+6x", 6}, Case{u"-2", -2}, Case{u"abc", 0}, Case{u"0", 0},
                        Case{u"99999999999999", 2147483647}}) {
    EXPECT_EQ(ParseCommandLineAction(c.text), c.action) << std::string(c.text.begin(), c.text.end());
  }
}

TEST(CommandLine, PlansEachActionAtStartAndInItsOwnWindow) {
  struct Case { int32_t action; bool tray; bool own; ActionStep step; int32_t index; int32_t after; };
  const Case cases[] = {
      {kNoAction, false, false, ActionStep::kNothing, -1, kNoAction},
      {0, true, false, ActionStep::kSendOpenConfig, -1, 0},
      {0, false, false, ActionStep::kNothing, -1, 10},       // becomes 10 ...
      {10, true, true, ActionStep::kSendOpenConfig, -1, 10},  // ... which opens through its own window
      {10, false, false, ActionStep::kOpenConfigurator, -1, 10},
      {3, true, false, ActionStep::kHandOver, -1, 3},         // a running tray takes it over
      {3, false, false, ActionStep::kNothing, -1, 3},         // no profiles yet
      {3, true, true, ActionStep::kActivateProfile, 2, 3},
      {6, true, true, ActionStep::kActivateProfile, 5, 6},
      {9, false, false, ActionStep::kCloseAll, -1, 9},
      {7, true, false, ActionStep::kNothing, -1, 7},
      {-5, true, true, ActionStep::kNothing, -1, -5},
  };
  for (const Case& c : cases) {
    ActionPlan p = PlanCommandLineAction(c.action, c.tray, c.own);
    EXPECT_EQ(p.step, c.step) << c.action << " " << c.tray << c.own;
    EXPECT_EQ(p.profileIndex, c.index) << c.action;
    EXPECT_EQ(p.action, c.after) << c.action;
  }
  EXPECT_TRUE(StartEndsAtOnce(3, true));
  EXPECT_TRUE(StartEndsAtOnce(9, false));
  EXPECT_FALSE(StartEndsAtOnce(0, false));
}

TEST(ProfileChoice, PositionClampsToLastAndSlotFindsTheProfileNumberNotThePosition) {
  ProfileList list = MakeProfiles({u"One", u"Two", u"Four"});
  list.At(2)->lId = 4;  // slot 3 was deleted: the list skips it
  EXPECT_EQ(ProfileAtOrLast(list, 0)->szName, u"One");
  EXPECT_EQ(ProfileAtOrLast(list, 5)->szName, u"Four");
  EXPECT_EQ(ProfileAtOrLast(list, -1), nullptr);
  EXPECT_EQ(ProfileAtOrLast(ProfileList{}, 0), nullptr);
  EXPECT_EQ(ProfileInSlot(list, 4)->szName, u"Four");
  EXPECT_EQ(ProfileInSlot(list, 3), nullptr);
  EXPECT_EQ(ProfileInSlot(list, 0), nullptr);
}

TEST(ProfileChoice, DisplayFollowsTheSwitchesBeforeTheCall) {
  ProfileList list = MakeProfiles({u"Quiet"});
  ProfileEntry& p = *list.At(0);
  p.bOtfsOsd = 1;
  p.bProfileOsd = 0;
  p.szExecutable = u"game.exe";
  Activation a = PlanActivation(p, true, OsdSwitches{0, 1});
  EXPECT_EQ(a.display, ProfileDisplayStep::kShow);
  EXPECT_EQ(a.switches.bOtfsOsd, 1);
  EXPECT_EQ(a.switches.bProfileOsd, 0);
  EXPECT_EQ(a.lastExecutable, u"game.exe");
  EXPECT_EQ(PlanActivation(p, true, a.switches).display, ProfileDisplayStep::kHide);
  EXPECT_EQ(PlanActivation(p, false, OsdSwitches{1, 1}).display, ProfileDisplayStep::kNone);
}

TEST(ApplicationCheck, FirstMatchInListOrderAndTheLastSwitchedRule) {
  ProfileList list = MakeProfiles({u"Base", u"Game", u"Game 2", u"Paint"});
  list.At(0)->szExecutable = u"<kein>";
  list.At(1)->szExecutable = u"game.exe";
  list.At(1)->bAutoLoad = 1;
  list.At(2)->szExecutable = u"game.exe";
  list.At(2)->bAutoLoad = 1;
  list.At(3)->szExecutable = u"paint.exe";  // no automatic loading

  ApplicationSwitch s = CheckApplication(list, u"game.exe", u"", u"<kein>");
  EXPECT_EQ(s.index, 1);
  EXPECT_TRUE(s.activate);
  EXPECT_EQ(s.lastExecutable, u"game.exe");
  EXPECT_EQ(CheckApplication(list, u"game.exe", u"game.exe", u"<kein>").profile, nullptr);

  s = CheckApplication(list, u"paint.exe", u"game.exe", u"<kein>");
  EXPECT_EQ(s.index, 3);
  EXPECT_FALSE(s.activate);  // remembered, not activated
  EXPECT_EQ(s.lastExecutable, u"paint.exe");

  for (std::u16string_view none : {u"Game.exe", u"", u"<kein>", u"game"})
    EXPECT_EQ(CheckApplication(list, none, u"", u"<kein>").profile, nullptr);
}

TEST(ApplicationCheck, LongExecutableNamesCompareInTheirKeptForm) {
  const std::u16string longName = std::u16string(70, u'a') + u".exe";
  ProfileList list = MakeProfiles({u"Long"});
  list.At(0)->szExecutable = longName;
  list.At(0)->bAutoLoad = 1;
  ApplicationSwitch s = CheckApplication(list, longName, u"", u"<none>");
  ASSERT_NE(s.profile, nullptr);
  EXPECT_EQ(s.lastExecutable.size(), kLastExecutableUnits);
  // The next check with the same application in front does nothing.
  EXPECT_EQ(CheckApplication(list, longName, s.lastExecutable, u"<none>").profile, nullptr);
  // A cut never splits a surrogate pair.
  const std::u16string pairAtCut = std::u16string(62, u'b') + u"\U0001F600.exe";
  EXPECT_EQ(LastExecutableOf(pairAtCut), std::u16string(62, u'b'));
}

}  // namespace
}  // namespace quill::tray
