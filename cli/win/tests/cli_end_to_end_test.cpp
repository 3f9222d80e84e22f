// QuillfernCli as a user runs it: the middleware registered with regsvr32, an emulated mouse,
// and the client in a process of its own.
#include <gtest/gtest.h>

#include <string>

#include "emulator/win/emulator_process.h"
#include "middleware/objects/tests/win/test_support.h"

namespace {

using quill::test::ExeDir;
using quill::test::Regsvr32;
using quill::test::RunProcess;

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_EQ(Regsvr32(false), 0); }
  void TearDown() override { Regsvr32(true); }

  int Cli(const std::wstring& args, std::string& output) {
    return RunProcess(L"\"" + ExeDir() + L"\\QuillfernCli.exe\" " + args, &output);
  }
};

TEST_F(CliTest, InfoReportsTheEmulatedMouse) {
  quill::emu::EmulatorProcess emulator;
  ASSERT_TRUE(emulator.ok()) << emulator.error();
  emulator.SetEnvironment();

  std::string out;
  ASSERT_EQ(Cli(L"info", out), 0) << out;
  for (const char* line : {"middleware version : 1020", "driver version     : 1.01",
                           "hardware id        : VID_3A7C&PID_0C31", "connected          : yes",
                           "mouse buttons      : 9", "max macro length   : 500"}) {
    EXPECT_NE(out.find(line), std::string::npos) << line << "\n" << out;
  }
  EXPECT_NE(out.find("firmware version   : "), std::string::npos) << out;

  ASSERT_EQ(Cli(L"--json info", out), 0) << out;
  EXPECT_EQ(out.find('\n'), out.size() - 1) << "one object, one line: " << out;
  EXPECT_EQ(out.rfind("{\"middleware version\":1020,\"driver version\":\"1.01\",", 0), 0u) << out;
  EXPECT_NE(out.find("\"connected\":true"), std::string::npos) << out;
}

TEST_F(CliTest, NoMouseIsAClearFailure) {
  SetEnvironmentVariableW(L"QUILLFERN_EMULATOR", nullptr);
  std::string out;
  EXPECT_EQ(Cli(L"info", out), 1);
  EXPECT_NE(out.find("no Quillfern found (no matching device, 0x80070103)"), std::string::npos) << out;
  EXPECT_NE(out.find("driver version     : 1.01"), std::string::npos) << out;
}

TEST_F(CliTest, UsageErrorsExitWithTwo) {
  std::string out;
  EXPECT_EQ(Cli(L"", out), 2);
  EXPECT_NE(out.find("usage: QuillfernCli"), std::string::npos) << out;
  EXPECT_EQ(Cli(L"frobnicate", out), 2);
  EXPECT_NE(out.find("unknown command 'frobnicate'"), std::string::npos) << out;
  EXPECT_EQ(Cli(L"info extra", out), 2);
}

TEST(CliUnregistered, SaysHowToRegister) {
  Regsvr32(true);
  std::string out;
  EXPECT_EQ(RunProcess(L"\"" + ExeDir() + L"\\QuillfernCli.exe\" info", &out), 1);
  EXPECT_NE(out.find("regsvr32 TorvoMiddlewareServer.dll"), std::string::npos) << out;
}

}  // namespace
