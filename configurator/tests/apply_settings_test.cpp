// The apply sequence against the recording fake: the exact middleware, tray and clock calls of
// each situation, then what the entries hold afterwards.
#include "configurator/apply_settings.h"

#include <functional>
#include <limits>
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/button_catalogue.h"
#include "configurator/entry_links.h"
#include "configurator/tests/recording_device.h"

namespace quill::cfg {
namespace {

using test::RecordingDevice;
using Calls = std::vector<std::string>;

DpiStages TwoStages() {
  DpiStages stages;
  stages.ulTotalStages = 2;
  stages.lCurrentStage = 1;
  stages.lDefaultStage = 1;
  stages.Sensitivity[0] = {800, 800};
  stages.Sensitivity[1] = {1800, 1800};
  return stages;
}

DpiStages DefaultStages() {
  DpiStages stages;
  stages.ulTotalStages = 5;
  stages.lCurrentStage = 3;
  stages.lDefaultStage = 3;
  const uint32_t dpi[] = {800, 1200, 1800, 4000, 5600};
  for (size_t i = 0; i < 5; ++i) stages.Sensitivity[i] = {dpi[i], dpi[i]};
  return stages;
}

// A connection as the worker leaves it after opening: Base, Work and Games in slots 1 to 3 (Base
// active and selected), and one stored macro, Copy, with identifier 4.
struct Fixture {
  RecordingDevice device;
  SessionFlags flags;
  EntryLists lists;
  ApplyInputs inputs;
  ApplyState state;

  Fixture() {
    StoredProfile(u"Base", 1);
    StoredProfile(u"Work", 2);
    StoredProfile(u"Games", 3);
    MacroEntry& copy = lists.macros.Add(u"Copy");
    copy.lId = 4;
    copy.events.lNumElements = 2;
    copy.events.ausCodes[0] = 0x1D;
    copy.events.ausCodes[1] = 0x801D;
    copy.events.alTimes[1] = 50;
    MacroLinks& links = EnsureLinks(copy);
    links.object = std::make_unique<test::FakeMacro>(4);
    links.stored = true;

    inputs.xSensitivity = 8;
    inputs.ySensitivity = 8;
    inputs.acceleration = 5;
    inputs.accelerationEnabled = true;
    inputs.rate = 500;
    inputs.selectedRow = 0;
    state.rate = 500;
    state.activeIndex = 0;
    device.flags = &flags;
  }

  ProfileEntry& StoredProfile(std::u16string_view name, int32_t slot) {
    ProfileEntry& profile = lists.profiles.Add(name);
    profile.lId = slot;
    profile.ulLedFlags = 7;
    profile.pDpiStages = std::make_unique<DpiStages>(TwoStages());
    profile.pMappings = std::make_unique<MappingSlots>(buttons::DefaultMappings());
    ProfileLinks& links = EnsureLinks(profile);
    links.object = std::make_unique<test::FakeProfile>(slot);
    links.stored = true;
    return profile;
  }

  // A profile made with New: default settings, not in the store.
  ProfileEntry& NewProfile(std::u16string_view name) {
    ProfileEntry& profile = lists.profiles.Add(name);
    profile.ulLedFlags = 7;
    profile.pDpiStages = std::make_unique<DpiStages>(DefaultStages());
    profile.pMappings = std::make_unique<MappingSlots>(buttons::DefaultMappings());
    profile.bModified = 1;
    profile.bCreated = 1;
    return profile;
  }

  ProfileEntry& Profile(size_t position) { return *lists.profiles.At(position); }

  void Apply() {
    ApplyPorts ports{device, device, device, flags};
    ApplySettings(ports, lists, inputs, state);
  }
};

// Same rate: the tray is told to reload and answers a ping.
const Calls kSameRateStart = {"GetRate", "FindTray", "Send UM_TRAY_RELOAD", "Sleep 1000", "Send UM_PING"};
const Calls kFinish = {"SetAcceleration 5", "SetAccelerationControl 1", "SaveProfileFiles", "FindTray",
                       "Send UM_TRAY_RELOAD"};
const std::string kBaseStages = "SetDpiStages 1 total 2 current 1 default 1 [800x800 1800x1800]";

Calls Join(std::initializer_list<Calls> parts) {
  Calls all;
  for (const Calls& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

struct Scenario {
  const char* name;
  std::function<void(Fixture&)> arrange;
  Calls expected;
  std::function<void(Fixture&)> check;
};

TEST(ApplySettings, CallsInOrder) {
  const std::vector<Scenario> scenarios = {
      {"nothing changed: rate read, reload, the selected profile's stages, acceleration, files",
       [](Fixture&) {},
       Join({kSameRateStart, {kBaseStages, "GetActiveProfileNumber"}, kFinish}),
       [](Fixture& f) { EXPECT_TRUE(f.device.macrosWritten.empty()); }},

      {"another rate: tray closed, rate set with the watchdog paused, tray restarted and waited for",
       [](Fixture& f) { f.inputs.rate = 1000; },
       Join({{"GetRate", "FindTray", "Send UM_TRAY_EXIT", "FindTray", "FindTray",
              "SetRate 1000 (watchdog paused)", "GetRate", "FindTray", "LaunchTray", "Sleep 1000", "FindTray",
              "Send UM_PING", kBaseStages, "GetActiveProfileNumber"},
             kFinish}),
       [](Fixture& f) {
         EXPECT_EQ(f.state.rate, 1000);
         EXPECT_TRUE(f.flags.reconnectExpected);
         EXPECT_FALSE(f.flags.watchdogPaused);
       }},

      {"rate unreadable: no tray work at the start",
       [](Fixture& f) { f.device.rate = std::nullopt; },
       Join({{"GetRate", kBaseStages, "GetActiveProfileNumber"}, kFinish}),
       nullptr},

      {"current stage 3 of 2 is clamped to 2 and takes the sliders 17.6 and 17.4",
       [](Fixture& f) {
         f.Profile(0).pDpiStages->lCurrentStage = 3;
         f.Profile(0).pDpiStages->lDefaultStage = 3;
         f.inputs.xSensitivity = 17.6;
         f.inputs.ySensitivity = 17.4;
       },
       Join({kSameRateStart,
             {"SetDpiStages 1 total 2 current 2 default 2 [800x800 1800x1700]", "GetActiveProfileNumber"},
             kFinish}),
       nullptr},

      {"new profile: created, then name, LEDs, stages, mappings",
       [](Fixture& f) { f.NewProfile(u"Aim"); },
       Join({kSameRateStart,
             {kBaseStages, "GetActiveProfileNumber", "CreateProfile -> 4", "GetProfileNumber 4",
              "SetProfileName 4 'Aim'", "SetStatus 4 7",
              "SetDpiStages 4 total 5 current 3 default 3 [800x800 1200x1200 1800x1800 4000x4000 5600x5600]",
              "SetProfileMappings 4"},
             kFinish}),
       [](Fixture& f) {
         ProfileEntry& aim = f.Profile(3);
         EXPECT_EQ(aim.lId, 4);
         EXPECT_TRUE(FindLinks(aim)->stored);
         EXPECT_EQ(aim.bCreated, 0);
         EXPECT_EQ(f.device.mappingsWritten[4], buttons::DefaultMappings());
       }},

      {"deleting the active profile: the first profile is activated before the deletion",
       [](Fixture& f) {
         f.device.activeSlot = 2;
         f.state.activeIndex = 1;
         f.Profile(1).bMarkedForDelete = 1;
       },
       Join({kSameRateStart,
             {kBaseStages, "GetActiveProfileNumber", "SetStatus 1 7", kBaseStages, "SetActiveProfile 1",
              "DeleteProfile 2"},
             kFinish}),
       [](Fixture& f) {
         EXPECT_EQ(f.Profile(1).bDeleted, 1);
         EXPECT_EQ(f.state.activeIndex, 0);
       }},

      {"a refused deletion leaves the profile marked, not deleted, for the next apply",
       [](Fixture& f) {
         f.device.refusedDeletions = {3};
         f.Profile(2).bMarkedForDelete = 1;
       },
       Join({kSameRateStart, {kBaseStages, "GetActiveProfileNumber", "DeleteProfile 3 refused"}, kFinish}),
       [](Fixture& f) {
         EXPECT_EQ(f.Profile(2).bDeleted, 0);
         EXPECT_EQ(f.Profile(2).bMarkedForDelete, 1);
       }},

      {"new macro on button 4: stored first (its held key released at the end), then slot 4 plays it",
       [](Fixture& f) {
         MacroEntry& paste = f.lists.macros.Add(u"Paste");
         paste.events.lNumElements = 1;
         paste.events.ausCodes[0] = 0x2F;
         f.Profile(0).apMacros[3] = &paste;  // file index 3: button 4
         f.Profile(0).bModified = 1;
       },
       Join({kSameRateStart,
             {kBaseStages, "CreateMacro -> 10", "GetMacroId 10", "SetMacroName 10 'Paste'", "SetMacro 10 2 elements",
              "GetActiveProfileNumber", "SetProfileName 1 'Base'", "SetStatus 1 7", kBaseStages,
              "SetActiveProfile 1", "SetProfileMappings 1"},
             kFinish}),
       [](Fixture& f) {
         const buttons::MappingWords expected{buttons::BUTTON_DEFINITION_MOUSE_4, buttons::BUTTON_MAPPING_MACRO,
                                              buttons::BUTTON_ACTION_PRESSED, {10, 1, 0}};
         EXPECT_EQ(f.device.mappingsWritten[1][4], expected);
         EXPECT_EQ(f.lists.macros.At(1)->lId, 10);
         const macro_store::MacroElement& release = f.device.macrosWritten[10].elements[1];
         EXPECT_EQ(release.info[macro_store::kKeyInfoOptions], macro_store::KEYCODE_OPTIONS_BREAK);
         EXPECT_EQ(f.device.macrosWritten[10].elements[0].lDelayMs, 50);
       }},

      {"a macro deleted by the user is removed from the store",
       [](Fixture& f) { f.lists.macros.At(0)->bMarkedForDelete = 1; },
       Join({kSameRateStart, {kBaseStages, "DeleteMacro 4", "GetActiveProfileNumber"}, kFinish}),
       [](Fixture& f) { EXPECT_EQ(f.lists.macros.At(0)->bDeleted, 1); }},

      {"profile-switch button to a profile created in the same apply gets its new slot",
       [](Fixture& f) {
         ProfileEntry& aim = f.NewProfile(u"Aim");
         f.Profile(1).apTargetProfiles[4] = &aim;  // file index 4: button 5
         f.Profile(1).bModified = 1;
       },
       Join({kSameRateStart,
             {kBaseStages, "GetActiveProfileNumber", "SetProfileName 2 'Work'", "SetStatus 2 7",
              "SetDpiStages 2 total 2 current 1 default 1 [800x800 1800x1800]", "CreateProfile -> 4",
              "GetProfileNumber 4", "SetProfileName 4 'Aim'", "SetStatus 4 7",
              "SetDpiStages 4 total 5 current 3 default 3 [800x800 1200x1200 1800x1800 4000x4000 5600x5600]",
              "SetProfileMappings 2", "SetProfileMappings 4"},
             kFinish}),
       [](Fixture& f) {
         const buttons::MappingWords expected{buttons::BUTTON_DEFINITION_MOUSE_5, buttons::BUTTON_MAPPING_DEVICE_ACTION,
                                              0, {buttons::PROPERTY_PROFILE, 0, 4}};
         EXPECT_EQ(f.device.mappingsWritten[2][3], expected);
       }},

      {"the selected row after a deleted profile is the profile after it, in every step",
       [](Fixture& f) {
         f.Profile(1).bMarkedForDelete = 1;
         f.Profile(1).bDeleted = 1;
         f.inputs.selectedRow = 1;  // Games
         f.inputs.xSensitivity = 12;
         f.inputs.ySensitivity = 12;
       },
       Join({kSameRateStart,
             {"SetDpiStages 3 total 2 current 1 default 1 [1200x1200 1800x1800]", "GetActiveProfileNumber",
              "SetStatus 3 7", "SetDpiStages 3 total 2 current 1 default 1 [1200x1200 1800x1800]",
              "SetActiveProfile 3"},
             kFinish}),
       [](Fixture& f) {
         EXPECT_EQ(f.state.activeIndex, 2);
         EXPECT_EQ(f.Profile(1).pDpiStages->Sensitivity[0].ulXSensitivity, 800u);
       }},

      {"the active profile is taken from the slot the mouse reports, so the selected one is activated",
       [](Fixture& f) { f.device.activeSlot = 3; },  // switched on the mouse since the list was read
       Join({kSameRateStart, {kBaseStages, "GetActiveProfileNumber", "SetStatus 1 7", kBaseStages,
                              "SetActiveProfile 1"},
             kFinish}),
       [](Fixture& f) { EXPECT_EQ(f.state.activeIndex, 0); }},

      {"without managers and performance interface only the rate, the stages and the files",
       [](Fixture& f) {
         f.device.profileManager = false;
         f.device.macroManager = false;
         f.device.performance = false;
       },
       Join({kSameRateStart, {kBaseStages, "SaveProfileFiles", "FindTray", "Send UM_TRAY_RELOAD"}}),
       nullptr},
  };

  for (const Scenario& scenario : scenarios) {
    SCOPED_TRACE(scenario.name);
    Fixture f;
    scenario.arrange(f);
    f.Apply();
    EXPECT_THAT(f.device.calls, ::testing::ElementsAreArray(scenario.expected));
    if (scenario.check) scenario.check(f);
  }
}

TEST(ApplySettings, ProfileSettingsAloneWriteNoRateAndNoFiles) {
  Fixture f;
  f.Profile(2).bModified = 1;
  ApplyProfileSettings(f.device, f.lists, f.inputs, f.state);
  EXPECT_THAT(f.device.calls,
              ::testing::ElementsAre(kBaseStages, "GetActiveProfileNumber", "SetProfileName 3 'Games'", "SetStatus 3 7",
                                     "SetDpiStages 3 total 2 current 1 default 1 [800x800 1800x1800]",
                                     "SetProfileMappings 3", "SetAcceleration 5", "SetAccelerationControl 1"));
}

TEST(ApplySettings, SliderAndAccelerationValues) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    double slider;
    uint32_t dpi;
  } sliders[] = {{17.6, 1800}, {17.4, 1700}, {17.51, 1800}, {1, 100}, {56, 5600}, {55.6, 5600},
                 {0, 100},     {-3, 100},    {80, 5600},    {nan, 100}};
  for (const auto& row : sliders) EXPECT_EQ(SliderDpi(row.slider), row.dpi) << row.slider;

  const struct {
    double slider;
    int32_t level;
  } accelerations[] = {{1, 1}, {5.9, 5}, {10, 10}, {0, 1}, {12, 10}, {nan, 1}};
  for (const auto& row : accelerations) EXPECT_EQ(AccelerationLevel(row.slider), row.level) << row.slider;
}

TEST(ApplySettings, ClampStagesComparesUnsigned) {
  const struct {
    uint32_t total;
    int32_t current, def;
    int32_t currentAfter, defAfter;
  } rows[] = {{2, 3, 3, 2, 2}, {5, 3, 1, 3, 1}, {2, -1, 0, 2, 0}, {0, 1, 1, 0, 0}};
  for (const auto& row : rows) {
    DpiStages stages;
    stages.ulTotalStages = row.total;
    stages.lCurrentStage = row.current;
    stages.lDefaultStage = row.def;
    ClampStages(stages);
    EXPECT_EQ(stages.lCurrentStage, row.currentAfter) << row.total << " " << row.current;
    EXPECT_EQ(stages.lDefaultStage, row.defAfter) << row.total << " " << row.def;
  }
}

TEST(EntryLinks, RowsAndSlotsToPositions) {
  EntryLists lists;
  for (int32_t slot : {1, 2, 3, 2}) lists.profiles.Add(u"Same").lId = slot;
  lists.profiles.At(1)->bMarkedForDelete = 1;  // slot 2, deleted by the user, not yet applied
  lists.profiles.At(1)->bDeleted = 1;          // ... and gone from the store; slot 2 reused at 3

  EXPECT_EQ(PositionOfRow(lists.profiles, 0), 0);
  EXPECT_EQ(PositionOfRow(lists.profiles, 1), 2);
  EXPECT_EQ(PositionOfRow(lists.profiles, 2), 3);
  EXPECT_EQ(PositionOfRow(lists.profiles, 3), -1);
  EXPECT_EQ(PositionOfRow(lists.profiles, -1), -1);

  // Every profile is named alike: only the slot tells them apart.
  EXPECT_EQ(PositionOfSlot(lists.profiles, 3), 2);
  EXPECT_EQ(PositionOfSlot(lists.profiles, 2), 3);
  EXPECT_EQ(PositionOfSlot(lists.profiles, 5), -1);
  EXPECT_EQ(PositionOfSlot(lists.profiles, 0), -1);
}

}  // namespace
}  // namespace quill::cfg
