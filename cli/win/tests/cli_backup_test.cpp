// buttons, pointer, backup and restore against an emulated mouse: what the client prints, what
// the mouse then holds, and which requests reached it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/win/tests/cli_device_fixture.h"
#include "emulator/request_log.h"
#include "emulator/state_file.h"

namespace quill::cli::test {
namespace {

using CliBackupTest = CliDeviceTest;

// Requests of the log that write; reads, polls and reset reports are left out.
std::vector<std::string> Writes(const std::string& log) {
  std::vector<std::string> writes;
  size_t start = 0;
  while (start < log.size()) {
    size_t end = log.find('\n', start);
    if (end == std::string::npos) end = log.size();
    const std::string line = log.substr(start, end - start);
    emu::LogLineKind kind;
    if (emu::ReadLogLineKind(line, kind) && kind.write) writes.push_back(line);
    start = end + 1;
  }
  return writes;
}

std::string ReadText(const std::wstring& path) {
  std::string text;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return text;
  char buffer[4096];
  DWORD got = 0;
  while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
  CloseHandle(file);
  return text;
}

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

class Backups : public CliBackupTest {
 protected:
  emu::ProfileBlock Block(int slot) {
    const emu::StateParseResult state = emu::ParseStateText(Ctl("state"));
    EXPECT_TRUE(state.ok) << state.error;
    return state.state.Slot(slot).block;
  }
};

TEST_F(Backups, ButtonsAreSetInOneWriteAndShownByProfiles) {
  StartEmulator();
  Run({{L"create Work", 0, {"slot : 2\n"}},
       {L"upload Greet -", 0, {"number   : 1\n"}, {}, "down A\nup A\n"}});
  Ctl("log-clear");
  Run({{L"buttons 2 set button4=forward dpi-up=macro:Greet", 0,
        {"slot  button       assignment\n", "2     button4      button5\n", "2     dpi-up       macro 1 (Greet)\n",
         "2     left         left click\n"}}});
  const std::vector<std::string> writes = Writes(Ctl("log"));
  ASSERT_EQ(writes.size(), 1u) << Ctl("log");
  EXPECT_NE(writes[0].find(" cmd=06 "), std::string::npos) << writes[0];

  Run({{L"profiles", 0, {"2     button4      button5\n", "2     dpi-up       macro 1 (Greet)\n"}},
       {L"--json buttons 2", 0,
        {"{\"slot\":2,\"buttons\":[", "{\"button\":\"dpi-up\",\"assignment\":\"macro 1 (Greet)\",\"macro\":1,\"macro name\":\"Greet\"}"}},
       {L"buttons 2 set button5=key:F5 dpi-down=profile:1 scroll-up=macro:1 left=double-click right=click", 0,
        {"2     button5      key F5\n", "2     dpi-down     profile 1\n", "2     scroll-up    macro 1 (Greet)\n"}}});
  // The profile block: four bytes per button from byte 20, in button-definition order.
  const emu::ProfileBlock block = Block(2);
  auto entry = [&](int definition) {
    const size_t at = 20 + 4 * static_cast<size_t>(definition - 1);
    return std::vector<int>{block[at], block[at + 1], block[at + 2], block[at + 3]};
  };
  EXPECT_EQ(entry(5), (std::vector<int>{5, 0x04, 0, 0}));     // button 4: forward
  EXPECT_EQ(entry(6), (std::vector<int>{6, 0x41, 0, 1}));     // DPI up: macro 1
  EXPECT_EQ(entry(4), (std::vector<int>{4, 0x31, 0x3E, 0}));  // button 5: key F5
  EXPECT_EQ(entry(7), (std::vector<int>{7, 0x22, 1, 0}));     // DPI down: profile 1
  EXPECT_EQ(entry(1), (std::vector<int>{1, 0x0D, 0, 0}));     // left: double click
  EXPECT_EQ(Block(1)[20 + 4 * 4 + 1], 0x05);                  // profile 1 untouched
}

TEST_F(Backups, RefusedAssignmentsWriteNothing) {
  StartEmulator();
  const struct {
    std::wstring args;
    const char* message;
    bool reads;  // the refusal needs to know what the mouse holds
  } cases[] = {
      {L"buttons 1 set left=off right=menu middle=menu button4=menu button5=menu dpi-up=menu dpi-down=menu",
       "at least one button must stay on click; usage: QuillfernCli buttons", false},
      {L"buttons 1 set left=off", "at least one button must stay on click", true},
      {L"buttons 1 set scroll-up=click", "scroll-up cannot be click (it offers macro, dpi-up", false},
      {L"buttons 1 set left=key:Entr", "unknown key \"Entr\"", false},
      {L"buttons 1 set left=menu left=click", "left is set twice", false},
      {L"buttons 1 set thumb=click", "'thumb' is not a button", false},
      {L"buttons 1 set right=macro:71", "macro number '71' is not 1 to 70", false},
      {L"buttons 1 set right=macro:Nope", "the mouse holds no macro named \"Nope\"", true},
      {L"buttons 1 set right=profile:4", "profile slot 4 is empty", true},
      {L"buttons 6", "profile slot '6' is not 1 to 5", false},
      {L"pointer set speed 21", "speed '21' is not 1 to 20", false},
      {L"pointer set acceleration 0", "acceleration '0' is not off or 1 to 10", false},
      {L"restore", "restore takes a backup file", false},
  };
  for (const auto& c : cases) {
    Ctl("log-clear");
    const std::string what = Narrow(c.args);
    std::string out;
    EXPECT_EQ(RunClient(c.args, "", out), 2) << what << "\n" << out;
    EXPECT_NE(out.find(c.message), std::string::npos) << what << "\n" << out;
    const std::string log = Ctl("log");
    if (c.reads) EXPECT_EQ(Writes(log), std::vector<std::string>{}) << what << "\n" << log;
    else EXPECT_EQ(log, "") << what << " reached the mouse";
  }
  EXPECT_EQ(Block(1)[20 + 1], 0x01);  // left still clicks
}

TEST_F(Backups, RestoreAfterFactoryResetGivesTheSameBackup) {
  StartEmulator();
  Run({{L"create Work", 0, {}},
       {L"upload Greet -", 0, {}, {}, "down LShift\ndown A\ndelay 50\nup A\nup LShift\nclick left\n"},
       {L"upload Spin -", 0, {}, {}, "click button5\ndelay 300\n"},
       {L"buttons 2 set button4=macro:Spin dpi-up=macro:Greet button5=profile:1", 0, {}},
       {L"stages 2 set 400,800 --default 2", 0, {}},
       {L"leds 2 set 3", 0, {}},
       {L"rate set 1000", 0, {}},
       {L"activate 2", 0, {}}});
  const std::wstring first = TempFile(""), second = TempFile("");
  Run({{L"backup \"" + first + L"\"", 0, {"profiles : 2\nmacros   : 2\n"}}});
  const std::string saved = ReadText(first);
  for (const char* line : {"\"polling rate\": 1000,", "\"active profile\": 2,", "\"button4\": \"macro:Spin\",",
                           "\"dpi-up\": \"macro:Greet\",", "\"button5\": \"profile:Profile 1\",",
                           "\"dpi stages\": [400, 800],", "\"name\": \"Greet\","})
    EXPECT_NE(saved.find(line), std::string::npos) << line << "\n" << saved;

  Ctl("factory-reset");
  Ctl("log-clear");
  Run({{L"restore --dry-run \"" + first + L"\"", 0, {"create macro      Greet\n", "create profile    slot 2\n", "set buttons       slot 2: ", "dry run : yes\n"}}});
  EXPECT_EQ(Writes(Ctl("log")), std::vector<std::string>{});
  Run({{L"restore \"" + first + L"\"", 0,
        {"set polling rate  500 Hz to 1000 Hz\n", "create macro      Greet\n", "create profile    slot 2\n",
         "activate profile  slot 2\n", "dry run : no\n"}},
       {L"backup \"" + second + L"\"", 0, {}}});
  EXPECT_EQ(ReadText(second), saved);

  // The mouse holds what the file says: a second restore only reads.
  Ctl("log-clear");
  Run({{L"--json restore \"" + first + L"\"", 0, {"{\"file\":", "\"changes\":0,\"dry run\":false}\n"}, {"\"change\""}}});
  const std::string log = Ctl("log");
  EXPECT_NE(log.find(" request "), std::string::npos);
  EXPECT_EQ(Writes(log), std::vector<std::string>{}) << log;

  // A file naming a macro it does not hold is refused before the mouse is touched.
  std::string broken = saved;
  broken.replace(broken.find("\"macro:Greet\""), 13, "\"macro:Wave\"");
  const std::wstring bad = TempFile(broken);
  const std::string state = Ctl("state");
  Ctl("log-clear");
  Run({{L"restore \"" + bad + L"\"", 2,
        {"profiles[1].buttons.dpi-up: no macro named \"Wave\" in this file (nothing was changed)"}}});
  EXPECT_EQ(Ctl("log"), "");
  EXPECT_EQ(Ctl("state"), state);
}

TEST_F(Backups, RestoreRemovesWhatTheFileDoesNotList) {
  StartEmulator();
  const std::wstring file = TempFile("");
  Run({{L"backup \"" + file + L"\"", 0, {}},
       {L"create Extra", 0, {}},
       {L"create Third", 0, {}},
       {L"activate 3", 0, {}},
       {L"upload Old -", 0, {}, {}, "click Enter\n"},
       {L"rename 1 Changed", 0, {}},
       {L"restore \"" + file + L"\"", 0,
        {"delete macro      1 (Old)\n", "activate profile  slot 1\n", "delete profile    slot 2 (Extra)\n",
         "delete profile    slot 3 (Third)\n", "rename profile    slot 1: \"Changed\" to \"Profile 1\"\n",
         "changes : 5\n"}},
       {L"macros", 0, {}, {"Old"}},
       {L"profiles", 0, {"1     yes     Profile 1"}, {"Extra", "Third"}}});
}

TEST_F(Backups, MacrosBeyondTheMouseMemoryAreRefusedBeforeWriting) {
  StartEmulator("format = 1\n[device]\ntotal-space = 1\n");  // one 480-byte unit
  const std::wstring file = TempFile("");
  Run({{L"backup \"" + file + L"\"", 0, {"macros   : 0\n"}}});
  std::string text = ReadText(file);
  const size_t at = text.find("\"macros\": []");
  ASSERT_NE(at, std::string::npos) << text;
  text.replace(at, 13, "\"macros\": [{\"name\": \"A\", \"events\": [\"click Enter\"]}, "
                       "{\"name\": \"B\", \"events\": [\"click Tab\"]}]");
  const std::wstring two = TempFile(text);
  Ctl("log-clear");
  Run({{L"restore \"" + two + L"\"", 2, {"macros: they need 2 units of 480 bytes, the mouse has 1 (nothing was changed)"}},
       {L"macros", 0, {}, {"A", "B"}}});
  EXPECT_EQ(Writes(Ctl("log")), std::vector<std::string>{});
}

// Windows keeps the pointer settings of the user under HKCU\Control Panel\Mouse.
std::wstring MouseSetting(const wchar_t* name) {
  wchar_t value[64] = {};
  DWORD size = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Mouse", name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS)
    return L"(none)";
  return value;
}

TEST_F(Backups, PointerSettingsReachWindows) {
  int saved_mouse[3] = {};
  UINT saved_speed = 0;
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETMOUSE, 0, saved_mouse, 0));
  ASSERT_TRUE(SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &saved_speed, 0));
  StartEmulator();
  Run({{L"pointer set speed 15 acceleration 3", 0, {"speed              : 15\nacceleration       : yes\nacceleration level : 3\n"}}});
  EXPECT_EQ(MouseSetting(L"MouseSensitivity"), L"15");
  EXPECT_EQ(MouseSetting(L"MouseThreshold1") + L"," + MouseSetting(L"MouseThreshold2") + L"," + MouseSetting(L"MouseSpeed"),
            L"6,0,1");
  Run({{L"--json pointer set acceleration off", 0, {"{\"speed\":15,\"acceleration\":false}\n"}},
       {L"pointer", 0, {"speed        : 15\nacceleration : no\n"}, {"level"}}});
  EXPECT_EQ(MouseSetting(L"MouseSpeed"), L"0");
  // Wine takes the speed from the integer parameter, Windows from the pointer: both carry it.
  SystemParametersInfoW(SPI_SETMOUSESPEED, saved_speed, reinterpret_cast<void*>(static_cast<uintptr_t>(saved_speed)),
                        SPIF_UPDATEINIFILE);
  SystemParametersInfoW(SPI_SETMOUSE, 0, saved_mouse, SPIF_UPDATEINIFILE);
}

}  // namespace
}  // namespace quill::cli::test
