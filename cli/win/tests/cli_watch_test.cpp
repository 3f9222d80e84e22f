// QuillfernCli watch against an emulated mouse: the client pumps messages in its own process
// while this test presses the mouse's buttons through the emulator (which sends the F20 key).
#include <gtest/gtest.h>

#include <string>

#include "cli/win/tests/cli_child.h"
#include "emulator/win/emulator_process.h"
#include "middleware/objects/tests/win/test_support.h"

namespace quill::cli::test {
namespace {

using quill::test::Regsvr32;

constexpr char kWatching[] = "watching the Quillfern's events";

class CliWatchTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Regsvr32(false), 0);
    ASSERT_TRUE(emulator_.ok()) << emulator_.error();
    emulator_.SetEnvironment();
  }
  void TearDown() override { Regsvr32(true); }

  std::string Press(const char* button) {
    const emu::EmulatorProcess::CtlResult r = emulator_.Ctl(std::string("press ") + button);
    EXPECT_EQ(r.exit_code, 0) << r.output;
    return r.output;
  }

  emu::EmulatorProcess emulator_;
};

TEST_F(CliWatchTest, SeesTheDpiButton) {
  ClientProcess watch(L"watch --count 1 --seconds 30");
  ASSERT_TRUE(watch.started());
  ASSERT_TRUE(watch.WaitForOutput(kWatching, 20000)) << watch.output();
  // Stage 3 (1800 DPI) of a new mouse goes up to stage 4, 4000 DPI.
  EXPECT_NE(Press("dpi-up").find("dpi=4000x4000"), std::string::npos);
  EXPECT_EQ(watch.Wait(20000), 0) << watch.output();
  const std::string out = watch.output();
  EXPECT_EQ(out.rfind("time          event    dpi x  dpi y  profile\n", 0), 0u) << out;
  EXPECT_NE(out.find("  dpi       4000   4000\n"), std::string::npos) << out;
}

TEST_F(CliWatchTest, JsonReportsDpiThenProfile) {
  std::string out;
  ASSERT_EQ(RunClient(L"create Second", "", out), 0) << out;
  ClientProcess watch(L"--json watch --count 2 --seconds 30");
  ASSERT_TRUE(watch.WaitForOutput(kWatching, 20000)) << watch.output();
  Press("dpi-down");
  // One press at a time: presses closer than the middleware's 40 ms merge into one event.
  ASSERT_TRUE(watch.WaitForOutput("\"event\":\"dpi\"", 20000)) << watch.output();
  Press("profile");
  EXPECT_EQ(watch.Wait(20000), 0) << watch.output();
  out = watch.output();
  EXPECT_NE(out.find(",\"event\":\"dpi\",\"dpi x\":1200,\"dpi y\":1200}\n"), std::string::npos) << out;
  EXPECT_NE(out.find(",\"event\":\"profile\",\"profile\":2}\n"), std::string::npos) << out;
  EXPECT_LT(out.find("\"dpi\""), out.find("\"profile\":2")) << out;
}

TEST_F(CliWatchTest, EndsWithItsInputOrItsTime) {
  ClientProcess watch(L"watch");
  ASSERT_TRUE(watch.WaitForOutput(kWatching, 20000)) << watch.output();
  watch.Write("anything\n");
  watch.CloseInput();
  EXPECT_EQ(watch.Wait(20000), 0) << watch.output();

  std::string out;
  EXPECT_EQ(RunClient(L"watch --count 1 --seconds 1", "", out), 1) << out;
  EXPECT_NE(out.find("0 of 1 events arrived within 1 s"), std::string::npos) << out;
  EXPECT_EQ(RunClient(L"watch --seconds 1", "", out), 0) << out;
}

}  // namespace
}  // namespace quill::cli::test
