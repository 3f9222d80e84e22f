// The control command line of the emulator, run against a model.
#include <gtest/gtest.h>

#include "emulator/control_commands.h"
#include "emulator/state_file.h"
#include "emulator/tests/report_helpers.h"

namespace quill::emu {
namespace {

ControlResult Ctl(QuillfernModel& model, const std::string& line) {
  return RunControlCommand(model, SplitControlLine(line));
}

TEST(ControlCommandsTest, ButtonsAndPresence) {
  QuillfernModel model;
  int keys = 0;
  model.SetKeystrokeCallback([&] { ++keys; });
  ControlResult r = Ctl(model, "press dpi-up");
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.output, "changed=1 active-slot=1 polling-rate=2 stage=4 dpi=4000x4000\n");
  EXPECT_EQ(keys, 1);
  EXPECT_EQ(Ctl(model, "press profile").output.rfind("changed=0", 0), 0u);

  EXPECT_EQ(Ctl(model, "unplug").output, "unplugged\n");
  EXPECT_FALSE(model.Plugged());
  const std::string old_path = Utf8(model.DevicePath());
  r = Ctl(model, "replug new-path");
  ASSERT_TRUE(r.ok);
  EXPECT_EQ(r.output, "plugged path=" + Utf8(model.DevicePath()) + "\n");
  EXPECT_NE(r.output.find("pid_0c31"), std::string::npos);
  EXPECT_EQ(r.output.find(old_path), std::string::npos);
  EXPECT_EQ(Ctl(model, "path").output.rfind("plugged path=", 0), 0u);
}

TEST(ControlCommandsTest, FaultsReachTheTransfers) {
  QuillfernModel model;
  ASSERT_TRUE(Ctl(model, "fault 05 5 repeat").ok);
  ASSERT_TRUE(Ctl(model, "busy 2").ok);
  ASSERT_TRUE(Ctl(model, "fail get 1").ok);
  EXPECT_EQ(Ctl(model, "faults").output, "busy-polls 2\nfail set 0 get 1 reset 0 open 0\nscript 05 5 repeat\n");
  test::Client client(model);
  FeatureReport reply{};
  ASSERT_TRUE(client.Send(test::Read(kCmdPerformance)));
  EXPECT_FALSE(client.Poll(reply));
  std::vector<uint8_t> statuses;
  client.Exchange(test::Read(kCmdPerformance), &statuses);
  EXPECT_EQ(statuses, (std::vector<uint8_t>{1, 1, 5}));
  ASSERT_TRUE(Ctl(model, "fault clear").ok);
  EXPECT_EQ(client.Exchange(test::Read(kCmdPerformance))[kStatus], kStatusDone);
  EXPECT_TRUE(Ctl(model, "fault 0x0d 1,1,9").ok);
}

TEST(ControlCommandsTest, StateAndLogDumps) {
  QuillfernModel model;
  const ControlResult state = Ctl(model, "state");
  ASSERT_TRUE(state.ok);
  const StateParseResult parsed = ParseStateText(state.output);
  ASSERT_TRUE(parsed.ok) << parsed.error;
  EXPECT_EQ(parsed.state, model.State());

  test::Client(model, 11).Exchange(test::Read(kCmdDeviceInfo, 1));
  EXPECT_NE(Ctl(model, "log").output.find("client=11 request cmd=02"), std::string::npos);
  EXPECT_EQ(Ctl(model, "log-check").output, "interleave: none\n");
  EXPECT_TRUE(Ctl(model, "log-clear").ok);
  EXPECT_EQ(Ctl(model, "log").output, "");

  model.PressDpiUp();
  EXPECT_TRUE(Ctl(model, "factory-reset").ok);
  EXPECT_EQ(model.State(), DeviceState::Factory());
  EXPECT_TRUE(Ctl(model, "quit").quit);
}

TEST(ControlCommandsTest, BadArgumentsAreExplained) {
  QuillfernModel model;
  const char* lines[] = {"", "jump", "press", "press left", "fault", "fault zz 5", "fault 05 5,x", "fault 05 5 again",
                         "fail", "fail send 1", "fail set -1", "busy", "busy many", "replug old-path", "state now"};
  for (const char* line : lines) {
    const ControlResult r = Ctl(model, line);
    EXPECT_FALSE(r.ok) << line;
    EXPECT_EQ(r.output.rfind("error: ", 0), 0u) << line;
    EXPECT_EQ(r.output.back(), '\n') << line;
  }
  EXPECT_EQ(model.DescribeFaults(), "busy-polls 0\nfail set 0 get 0 reset 0 open 0\n");
}

TEST(ControlCommandsTest, LineSplittingHonoursQuotes) {
  EXPECT_EQ(SplitControlLine("  press   dpi-up \n"), (std::vector<std::string>{"press", "dpi-up"}));
  EXPECT_EQ(SplitControlLine("a \"b c\" \"\""), (std::vector<std::string>{"a", "b c", ""}));
  EXPECT_EQ(Utf8(u"a\u00e9\U0001F42D"), "a\xC3\xA9\xF0\x9F\x90\xAD");
  EXPECT_EQ(Utf8(std::u16string(1, u'\xD800')), "\xEF\xBF\xBD");
}

}  // namespace
}  // namespace quill::emu
