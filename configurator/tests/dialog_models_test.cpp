// The decisions of the main dialog's background machinery: the worker's command word, the
// watchdog's tick, the waiting box and the language commands.
#include <string>
#include <vector>

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "common/file_system.h"
#include "common/memory_file_system.h"
#include "common/translation.h"
#include "common/utf16.h"
#include "configurator/language_command.h"
#include "configurator/waiting_box.h"
#include "configurator/watchdog.h"
#include "configurator/worker_command.h"

namespace quill::cfg {
namespace {

// ---- worker command word ----

TEST(WorkerCommand, OneLookAtTheWord) {
  const struct {
    int32_t word, last;
    WorkerTask task;
    int32_t wordAfter, lastAfter;
  } rows[] = {
      {0, 0, WorkerTask::None, 0, 0},
      {1, 0, WorkerTask::Open, 0, 0},
      {2, 0, WorkerTask::Apply, 20, 20},
      {20, 20, WorkerTask::None, 20, 20},  // finished, waiting for the watchdog
      {2, 20, WorkerTask::Apply, 20, 20},  // the next apply after the watchdog's reset
      {2, 0, WorkerTask::Apply, 20, 20},   // ... also when the worker never saw 20's reset
      {7, 0, WorkerTask::None, 0, 0},      // unknown values below 20 fall back to idle
      {-4, 0, WorkerTask::None, 0, 0},
      {25, 0, WorkerTask::None, 25, 25},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(std::to_string(row.word) + " after " + std::to_string(row.last));
    WorkerCommand command;
    command.Store(row.word);
    WorkerState state{row.last};
    int opened = 0, applied = 0;
    EXPECT_EQ(HandleCommand(command, state, [&] { ++opened; }, [&] { ++applied; }), row.task);
    EXPECT_EQ(opened, row.task == WorkerTask::Open ? 1 : 0);
    EXPECT_EQ(applied, row.task == WorkerTask::Apply ? 1 : 0);
    EXPECT_EQ(command.Load(), row.wordAfter);
    EXPECT_EQ(state.lastHandled, row.lastAfter);
  }
}

TEST(WorkerCommand, ACommandWrittenWhileOpeningIsKept) {
  WorkerCommand command;
  command.Store(kCommandOpen);
  WorkerState state;
  // APPLY pressed while the connection opens: the worker's reset must not wipe it.
  HandleCommand(command, state, [&] { command.Store(kCommandApply); }, nullptr);
  EXPECT_EQ(command.Load(), kCommandApply);
  EXPECT_EQ(HandleCommand(command, state, nullptr, nullptr), WorkerTask::Apply);
  EXPECT_EQ(command.Load(), kCommandApplied);
}

// ---- watchdog ----

class ScriptedPort final : public WatchdogPort, public Clock {
 public:
  bool mainExists = true;
  bool connected = true;
  int probesUnanswered = 0;  // probes that fail before one answers
  std::vector<std::string> calls;

  bool MainDeviceExists() override { return mainExists; }
  bool IsMainConnected() override {
    calls.push_back("IsConnected");
    return connected;
  }
  std::optional<int32_t> GetRate() override {
    calls.push_back("GetRate");
    return 1000;
  }
  bool ProbeDevice() override {
    calls.push_back("Probe");
    if (probesUnanswered > 0) {
      --probesUnanswered;
      return false;
    }
    return true;
  }
  void Sleep(uint32_t ms) override { calls.push_back("Sleep " + std::to_string(ms)); }
};

struct WatchdogFixture {
  SessionFlags flags;
  ScriptedPort port;
  Watchdog watchdog;
  DeviceVersions versions{u"1.05", u"2.01", u"3.10"};

  WatchdogFixture() {
    flags.opened = true;
    flags.mainConnected = true;
  }
  WatchdogTick Tick() { return watchdog.Tick(flags, versions, port, port); }
};

TEST(Watchdog, VersionLines) {
  const struct {
    bool main, alternate;
    std::u16string driver;
    std::u16string firmwareLine, driverLine;
  } rows[] = {
      {true, true, u"3.10", u"Firmware Version : 1.05", u"Driver Version : 3.10"},
      {false, true, u"3.10", u"Firmware Version : 2.01", u"Driver Version : 3.10"},
      {false, false, u"", u"Firmware Version : 0.00", u"Driver Version : 0.00"},
  };
  for (const auto& row : rows) {
    const VersionLines lines = MakeVersionLines({u"1.05", u"2.01", row.driver}, row.main, row.alternate, nullptr);
    EXPECT_TRUE(lines.firmware == row.firmwareLine);
    EXPECT_TRUE(lines.driver == row.driverLine);
  }
  // A version string longer than the line's field is cut, not overflowed.
  const VersionLines lines = MakeVersionLines({std::u16string(300, u'9'), u"", u""}, true, false, nullptr);
  EXPECT_EQ(lines.firmware.size(), 127u);

  // The format goes through the translation.
  MemoryFileSystem fs;
  fs.WriteFile(u"C:\\Torvo\\de.txt", EncodeUtf16Le(u"Driver Version : %s\r\nTreiberversion : %s\r\n"));
  Translator translator(fs);
  translator.SetSource({u"C:\\Torvo\\", u"de.txt", kTranslationNormal});
  EXPECT_TRUE(MakeVersionLines({u"1.05", u"", u"3.10"}, true, false, &translator).driver == u"Treiberversion : 3.10");
}

TEST(Watchdog, VersionsShownOnceAfterOpening) {
  WatchdogFixture f;
  f.flags.opened = false;
  f.flags.mainConnected = false;
  EXPECT_FALSE(f.Tick().versions);
  f.flags.opened = true;
  f.flags.mainConnected = true;
  const WatchdogTick first = f.Tick();
  ASSERT_TRUE(first.versions);
  EXPECT_TRUE(first.versions->firmware == u"Firmware Version : 1.05");
  EXPECT_FALSE(f.Tick().versions);
}

TEST(Watchdog, ApplyFinish) {
  {
    SCOPED_TRACE("APPLY: one tick skipped, then the finished apply is noticed and the word set to 0");
    WatchdogFixture f;
    f.watchdog.StartApply(f.flags, false);
    EXPECT_EQ(f.flags.command.Load(), kCommandApply);
    f.flags.command.Store(kCommandApplied);  // a quick worker: done before any tick saw 2
    EXPECT_EQ(f.Tick().outcome, WatchdogOutcome::Continue);
    EXPECT_EQ(f.flags.command.Load(), kCommandApplied);  // the skipped tick
    EXPECT_EQ(f.Tick().outcome, WatchdogOutcome::Continue);
    EXPECT_EQ(f.flags.command.Load(), kCommandIdle);
    EXPECT_FALSE(f.watchdog.ApplyUnderWay());
  }
  {
    SCOPED_TRACE("OK: the dialog ends once the apply has finished");
    WatchdogFixture f;
    f.watchdog.StartApply(f.flags, true);
    f.Tick();
    EXPECT_EQ(f.Tick().outcome, WatchdogOutcome::Continue);  // still applying
    f.flags.command.Store(kCommandApplied);
    EXPECT_EQ(f.Tick().outcome, WatchdogOutcome::EndDialogOk);
    EXPECT_EQ(f.flags.command.Load(), kCommandIdle);
  }
  {
    SCOPED_TRACE("a rate change: the finish waits one tick for the reconnection");
    WatchdogFixture f;
    f.watchdog.StartApply(f.flags, true);
    f.Tick();
    f.flags.command.Store(kCommandApplied);
    f.flags.reconnectExpected = true;
    const WatchdogTick tick = f.Tick();
    EXPECT_EQ(tick.outcome, WatchdogOutcome::Continue);
    EXPECT_EQ(tick.rate, 1000);
    EXPECT_FALSE(f.flags.reconnectExpected);
    EXPECT_EQ(f.Tick().outcome, WatchdogOutcome::EndDialogOk);
  }
  {
    SCOPED_TRACE("no device connected: the finish is not taken");
    WatchdogFixture f;
    f.flags.mainConnected = false;
    f.flags.alternateConnected = false;
    f.watchdog.StartApply(f.flags, false);
    f.Tick();
    f.flags.command.Store(kCommandApplied);
    f.Tick();
    EXPECT_EQ(f.flags.command.Load(), kCommandApplied);
  }
}

TEST(Watchdog, MissingMouse) {
  const struct {
    const char* name;
    bool opened, mainConnected, alternateConnected, isConnected;
    int probesUnanswered;
    WatchdogOutcome outcome;
    int probes;
  } rows[] = {
      {"connected: one IsConnected, nothing else", true, true, false, true, 0, WatchdogOutcome::Continue, 0},
      {"unplugged, five silent probes", true, true, false, false, 5, WatchdogOutcome::Unplugged, 5},
      {"unplugged, the third probe answers", true, true, false, false, 2, WatchdogOutcome::Continue, 3},
      {"no device after opening, five silent probes", true, false, false, false, 5, WatchdogOutcome::NoDevice, 5},
      {"no device but the alternate one", true, false, true, false, 5, WatchdogOutcome::Continue, 0},
      {"not opened yet: no probes", false, false, false, false, 5, WatchdogOutcome::Continue, 0},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    WatchdogFixture f;
    f.flags.opened = row.opened;
    f.flags.mainConnected = row.mainConnected;
    f.flags.alternateConnected = row.alternateConnected;
    f.port.connected = row.isConnected;
    f.port.probesUnanswered = row.probesUnanswered;
    EXPECT_EQ(f.Tick().outcome, row.outcome);
    const auto probes = std::count(f.port.calls.begin(), f.port.calls.end(), "Probe");
    EXPECT_EQ(probes, row.probes);
    EXPECT_EQ(std::count(f.port.calls.begin(), f.port.calls.end(), "Sleep 500"), row.probes);
  }
  EXPECT_TRUE(kUnpluggedMessage.button == u"CANCEL");
  EXPECT_TRUE(kNoDeviceMessage.text == u"No Torvo Quillfern Connected. Application will close now.");
}

TEST(Watchdog, PausedDuringRateChange) {
  WatchdogFixture f;
  f.port.connected = false;
  f.flags.watchdogPaused = true;
  EXPECT_EQ(f.Tick().outcome, WatchdogOutcome::Continue);
  EXPECT_TRUE(f.port.calls.empty());
}

// ---- waiting box ----

TEST(WaitingBox, RepaintsWhileBusyAndClosesOnIdle) {
  WaitingBox box;
  std::vector<int> repaints;
  for (int tick = 1; tick <= 400; ++tick)
    if (box.Tick(kCommandApply) == WaitingBoxAction::RepaintOwner) repaints.push_back(tick);
  EXPECT_THAT(repaints, ::testing::ElementsAre(200, 400));
  EXPECT_EQ(box.Tick(kCommandApplied), WaitingBoxAction::None);  // 20 is not idle yet
  EXPECT_EQ(box.Tick(kCommandIdle), WaitingBoxAction::Close);
  EXPECT_EQ(box.ClosingDelayMs(), 2000u);
  EXPECT_EQ(box.Tick(kCommandIdle), WaitingBoxAction::None);  // closes once

  WaitingBox quiet(false);
  for (int tick = 1; tick <= 400; ++tick) EXPECT_NE(quiet.Tick(kCommandOpen), WaitingBoxAction::RepaintOwner);
}

// ---- language commands ----

TEST(LanguageCommand, Decisions) {
  // Rows 0 to 3 in the table, language 1 current.
  const struct {
    int command;
    int32_t highest;
    std::optional<uint32_t> language;
  } rows[] = {
      {22000, 3, 0u}, {22003, 3, 3u}, {22001, 3, std::nullopt}, {22004, 3, std::nullopt},
      {22050, 3, std::nullopt}, {21999, 3, std::nullopt}, {22051, 60, std::nullopt}, {22000, -1, std::nullopt},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.command);
    const std::optional<LanguageSwitch> result = DecideLanguageCommand(row.command, row.highest, 1);
    ASSERT_EQ(result.has_value(), row.language.has_value());
    if (!result) continue;
    EXPECT_EQ(result->language, *row.language);
    EXPECT_EQ(result->trayMessage, tray::UM_TRAY_LANGUAGE);
    EXPECT_EQ(result->trayDelayMs, 1000u);
  }
}

}  // namespace
}  // namespace quill::cfg
