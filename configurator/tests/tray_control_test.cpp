// The tray waits over the recording fake: how many looks, pings and pauses each makes.
#include "configurator/tray_control.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "configurator/tests/recording_device.h"

namespace quill::cfg {
namespace {

using test::RecordingDevice;

TEST(TrayControl, WaitsStopAtTheirLimits) {
  {
    SCOPED_TRACE("no tray: 1001 looks 5 ms apart");
    RecordingDevice tray;
    tray.trayRunning = false;
    EXPECT_EQ(LookForTray(tray, tray), 0u);
    EXPECT_EQ(tray.Count("FindTray"), 1001);
    EXPECT_EQ(tray.Count("Sleep 5"), 1000);
  }
  {
    SCOPED_TRACE("a tray that never goes: 1001 looks");
    RecordingDevice tray;
    EXPECT_FALSE(LookUntilTrayGone(tray, tray));
    EXPECT_EQ(tray.Count("FindTray"), 1001);
  }
  {
    SCOPED_TRACE("a tray that never answers: 3001 pings in all");
    RecordingDevice tray;
    tray.pingsUnanswered = 1 << 20;
    EXPECT_FALSE(WaitForTrayAnswer(tray, tray, tray.FindTray()));
    EXPECT_EQ(tray.Count("Send UM_PING"), 3001);
    EXPECT_EQ(tray.Count("Sleep 5"), 3000);
  }
  {
    SCOPED_TRACE("a hung tray after UM_TRAY_EXIT: 21 looks 500 ms apart");
    RecordingDevice tray;
    tray.trayIgnoresExit = true;
    EXPECT_FALSE(CloseTray(tray, tray));
    EXPECT_EQ(tray.Count("Send UM_TRAY_EXIT"), 1);
    EXPECT_EQ(tray.Count("FindTray"), 1 + 21);
    EXPECT_EQ(tray.sleptMs, 21u * 500u);
  }
  {
    SCOPED_TRACE("no tray at all while the rate stays: looks, then the shared budget of looks, no message");
    RecordingDevice tray;
    tray.trayRunning = false;
    ReloadTrayAndWait(tray, tray);
    EXPECT_EQ(tray.Count("FindTray"), 1001 + 3001);
    EXPECT_EQ(tray.Count("Send UM_TRAY_RELOAD") + tray.Count("Send UM_PING"), 0);
  }
}

TEST(TrayControl, LooksAndPingsShareOneBudget) {
  // The window shows at the 4th look and the tray answers the 3rd ping.
  RecordingDevice tray;
  tray.looksUntilTrayShows = 3;
  tray.pingsUnanswered = 2;
  EXPECT_TRUE(WaitForTrayAnswer(tray, tray, 0));
  EXPECT_THAT(tray.calls, ::testing::ElementsAre("FindTray", "Sleep 5", "FindTray", "Sleep 5", "FindTray", "Sleep 5",
                                                 "FindTray", "Sleep 5", "Send UM_PING", "Sleep 5", "Send UM_PING",
                                                 "Sleep 5", "Send UM_PING"));
}

TEST(TrayControl, CloseAndStart) {
  {
    RecordingDevice tray;
    EXPECT_TRUE(CloseTray(tray, tray));
    EXPECT_THAT(tray.calls, ::testing::ElementsAre("FindTray", "Send UM_TRAY_EXIT", "FindTray"));
  }
  {
    RecordingDevice tray;
    tray.trayRunning = false;
    EXPECT_TRUE(CloseTray(tray, tray));
    StartTrayIfMissing(tray, tray);
    EXPECT_THAT(tray.calls, ::testing::ElementsAre("FindTray", "FindTray", "LaunchTray", "Sleep 1000"));
  }
  {
    RecordingDevice tray;
    StartTrayIfMissing(tray, tray);
    NotifyTray(tray, 0x400 + 16);
    EXPECT_THAT(tray.calls, ::testing::ElementsAre("FindTray", "FindTray", "Send UM_TRAY_LANGUAGE"));
  }
}

TEST(TrayControl, ProgramPath) {
  const struct {
    std::u16string installFolder;
    std::u16string program;
    std::u16string folderAfter;
  } rows[] = {
      {u"C:\\Program Files\\Torvo\\", u"C:\\Program Files\\Torvo\\TorvoQuillfernTray.exe", u"C:\\Program Files\\Torvo\\"},
      {u"", u"C:\\work\\TorvoQuillfernTray.exe", u"C:\\work"},
      {u"D:\\Torvo", u"D:\\Torvo\\TorvoQuillfernTray.exe", u"D:\\Torvo"},
  };
  for (const auto& row : rows) {
    std::u16string folder = row.installFolder;
    const TrayLaunch launch = TrayProgramLaunch(folder, u"C:\\work");
    EXPECT_TRUE(launch.program == row.program);
    EXPECT_TRUE(launch.workingFolder == row.folderAfter);
    EXPECT_TRUE(folder == row.folderAfter);
  }
}

}  // namespace
}  // namespace quill::cfg
