// QuillfernCli's device commands against an emulated mouse: runs of the client in processes of
// their own, their output, and the emulator's state and request log where those show a fault.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/win/tests/cli_device_fixture.h"

namespace quill::cli::test {
namespace {

using CliCommandsTest = CliDeviceTest;

TEST_F(CliCommandsTest, ProfilesAreCreatedRenamedStagedActivatedAndDeleted) {
  StartEmulator();
  Run({
      {L"profiles", 0,
       {"slot  active  name       leds  dpi stages               default stage\n"
        "1     yes     Profile 1  7     800,1200,1800,4000,5600  3\n",
        "slot  button       assignment\n", "1     left         left click\n", "1     dpi-up       dpi up\n"}},
      {L"create Work", 0, {"slot : 2\nname : Work\n"}},
      {L"rename 2 Gaming", 0, {"slot : 2\nname : Gaming\n"}},
      {L"profiles", 0, {"2     no      Gaming     7     800,1200,1800,4000,5600  3\n"}, {"Work"}},
      {L"stages 1 set 400,800,1600 --default 2", 0, {}},
      {L"stages 1", 0,
       {"stage  dpi x  dpi y  default  current\n"
        "1      400    400    no       no\n"
        "2      800    800    yes      no\n"
        "3      1600   1600   no       yes\n"},
       {"4      "}},
      // The active profile stayed on its third stage, which is now 1600 DPI.
      {L"dpi", 0, {"dpi x   : 1600\ndpi y   : 1600\nprofile : 1\nstage   : 3\n"}},
      {L"--json stages 2", 0, {"{\"slot\":2,\"stage\":3,\"dpi x\":1800,\"dpi y\":1800,\"default\":true,\"current\":false}\n"}},
      {L"activate 2", 0, {"active profile : 2\nname           : Gaming\n"}},
      // Activation takes the profile's default stage.
      {L"dpi", 0, {"dpi x   : 1800\n", "profile : 2\n"}},
      {L"delete 2", 1, {"profile 2 is the active profile; activate another first (refused, 0x80070005)"}},
      {L"delete 1", 1, {"profile 1 is the base profile and is never deleted"}},
      {L"activate 1", 0, {"active profile : 1\n"}},
      {L"delete 2", 0, {"deleted profile : 2\n"}},
      {L"rename 2 Again", 1, {"profile slot 2 is empty"}},
      {L"--json profiles", 0,
       {"{\"slot\":1,\"active\":true,\"name\":\"Profile 1\",\"leds\":7,\"dpi stages\":[400,800,1600],"
        "\"default stage\":2,\"buttons\":[{\"button\":\"left\",\"assignment\":\"left click\"},"},
       {"Gaming"}},
  });
  const std::string state = Ctl("state");
  EXPECT_NE(state.find("active-slot = 1\n"), std::string::npos) << state;
  EXPECT_NE(state.find("[profile 2]\nname = empty\n"), std::string::npos) << state;
}

TEST_F(CliCommandsTest, RateLedsAndDpiRoundTrip) {
  StartEmulator();
  Run({
      {L"rate", 0, {"polling rate : 500\nsupported    : 1000,500,125\n"}},
      {L"rate set 1000", 0, {"polling rate : 1000\n"}},
      {L"--json rate", 0, {"{\"polling rate\":1000,\"supported\":[1000,500,125]}\n"}},
      {L"leds 1 set logo=off", 0, {"slot  : 1\nleds  : 5\nwheel : yes\nlogo  : no\ndock  : yes\n"}},
      {L"leds set 2", 0, {"leds  : 2\n"}},
      {L"leds", 0, {"slot  : 1\nleds  : 2\n"}},
      {L"dpi set 1000 1200", 0, {"dpi x   : 1000\ndpi y   : 1200\n"}},
  });
  EXPECT_NE(Ctl("state").find("polling-rate = 1\n"), std::string::npos);
}

TEST_F(CliCommandsTest, RefusedArgumentsSendNothing) {
  StartEmulator();
  const std::wstring bad_macro = TempFile("down A\ndelay 20\nup B C\n");
  const struct {
    std::wstring args;
    const char* message;
  } cases[] = {
      {L"stages 1 set 400,6500", "6500 DPI is out of range (100 to 6475); usage: QuillfernCli stages"},
      {L"stages 1 set 400,800,1200,1600,2000,2400", "more than 5 stages (the mouse holds at most 5)"},
      {L"stages 1 set 410 --default 1", "410 DPI is not a multiple of 25"},
      {L"stages 1 set 400,800 --default 3", "--default 3 names no stage (1 to 2)"},
      {L"stages 6", "profile slot '6' is not 1 to 5"},
      {L"dpi set 7000", "7000 DPI is out of range"},
      {L"rate set 250", "250 Hz is not supported (1000, 500, 125)"},
      {L"leds 1 set glow=on", "'glow=on' is not wheel, logo or dock =on or =off"},
      {L"rename 1 \"A name that is too long\"", "'A name that is too long' is longer than the mouse's 19 characters"},
      {L"create", "create takes one profile name"},
      {L"macro 71", "macro number '71' is not 1 to 70"},
      {L"upload Broken \"" + bad_macro + L"\"", "line 3: usage: up <key or mouse button>"},
      {L"watch --count 0", "--count '0' is not 1 to 1000000"},
  };
  for (const auto& c : cases) {
    Ctl("log-clear");
    const std::string what(c.args.begin(), c.args.end());
    std::string out;
    EXPECT_EQ(RunClient(c.args, "", out), 2) << what << "\n" << out;
    EXPECT_NE(out.find(c.message), std::string::npos) << what << "\n" << out;
    EXPECT_EQ(Ctl("log"), "") << what << " reached the mouse";
  }
}

// The left button plays macro 1, button 5 a key, DPI up a stage: how profiles words them.
constexpr char kMappedState[] =
    "format = 1\n"
    "[profile 1]\n"
    "name = \"Profile 1\"\n"
    "block = 01 07 03 05 1c 1c 2c 2c 44 44 9c 9c dc dc 00 00\n"
    "  00 00 00 00 01 41 00 00 02 02 00 00 03 03 00 00\n"
    "  04 31 04 00 05 05 00 00 06 21 02 00 07 0c 00 00\n"
    "  08 08 00 00 09 09 00 00\n";

TEST_F(CliCommandsTest, UploadedMacrosReadBackAndButtonsNameThem) {
  StartEmulator(kMappedState);
  const std::string text =
      "# greet\n"
      "down LShift\n"
      "down A\n"
      "delay 50\n"
      "up a\n"
      "up shift\n"
      "click left\n"
      "delay 300\n";
  const std::wstring file = TempFile(text);
  Run({
      {L"profiles", 0, {"1     left         macro 1 (missing)\n", "1     button5      key A\n",
                        "1     dpi-up       DPI stage 2\n"}},
      {L"macros", 0, {}, {"number"}},
      {L"upload Greet \"" + file + L"\"", 0,
       {"number   : 1\nname     : Greet\nevents   : 6\nsize     : 65\nreplaced : no\n"}},
      {L"macro 1", 0,
       {"number      : 1\nname        : Greet\nsize        : 65\nevent count : 6\n",
        "step  event        delay ms\n"
        "1     down LShift  0\n"
        "2     down A       50\n"
        "3     up A         0\n"
        "4     up LShift    0\n"
        "5     down left    0\n"
        "6     up left      300\n"}},
      {L"macro 1 --script", 0,
       {"# macro 1: Greet\ndown LShift\ndown A\ndelay 50\nup A\nup LShift\ndown left\nup left\ndelay 300\n"}},
      {L"profiles", 0, {"1     left         macro 1 (Greet)\n"}},
      {L"--json profiles", 0, {"{\"button\":\"left\",\"assignment\":\"macro 1 (Greet)\",\"macro\":1,\"macro name\":\"Greet\"}"}},
      {L"upload Spin -", 0, {"number   : 2\nname     : Spin\nevents   : 2\n"}, {}, "click button5\ndelay 16777215\n"},
      {L"upload Greet -", 0, {"number   : 1\n", "replaced : yes\n"}, {}, "click Enter\n"},
      {L"macros", 0, {"number  name   size\n1       Greet  54\n2       Spin   56\n"}},
      {L"--json macro 2", 0,
       {"{\"number\":2,\"name\":\"Spin\",\"size\":56,\"event count\":2,\"events\":[{\"event\":\"down button5\","
        "\"delay ms\":0},{\"event\":\"up button5\",\"delay ms\":16777215}]}\n"}},
      {L"upload Typo -", 2, {"standard input line 2: unknown key or mouse button \"Entr\""}, {}, "down Enter\nup Entr\n"},
      {L"macro 3", 1, {"the mouse holds no macro 3"}},
  });
}

TEST_F(CliCommandsTest, DeviceFailuresSayWhatFailed) {
  StartEmulator("format = 1\n[device]\ntotal-space = 1\n");  // room for one small macro
  std::string big;
  for (int i = 0; i < 230; ++i) big += "down A\n";  // 510 bytes: more than one 480-byte unit
  Ctl("log-clear");
  Run({{L"upload Big -", 1, {"the macro does not fit in the mouse's remaining memory (out of memory, 0x8007000E)"}, {}, big}});
  // The macro made for the upload is deleted again.
  const std::string log = Ctl("log");
  EXPECT_NE(log.find(" request cmd=0c ok"), std::string::npos) << log;
  Run({{L"macros", 0, {}, {"Big"}}});

  Ctl("fault 06 16 repeat");
  Run({{L"stages 1", 1, {"could not open profile 1 (the device reported a failure, 0x80004005)"}, {"is empty"}}});
  Ctl("fault clear");
  Ctl("unplug");
  Run({{L"profiles", 1, {"no Quillfern found (no matching device, 0x80070103)"}},
       {L"--json dpi", 1, {"{\"error\":\"no Quillfern found (no matching device, 0x80070103)\"}\n"}}});
}

TEST_F(CliCommandsTest, HelpDescribesTheMacroText) {
  Run({
      {L"help upload", 0, {"usage: QuillfernCli [--json] upload <name> <file>|-", "  down <key|button>", "  delay <ms>",
                           "ArrowLeft", "0xNN"}},
      {L"help", 0, {"watch [--count N] [--seconds S]", "QuillfernCli help <command>"}},
      {L"help frobnicate", 2, {"unknown command 'frobnicate'"}},
  });
}

}  // namespace
}  // namespace quill::cli::test
