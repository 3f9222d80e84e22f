// QuillfernCli's store commands against the registered middleware: runs of the client in
// processes of their own on the registry store of the Quillfern's device type (cleared around
// every test) and on export files. The store needs no mouse: no emulator runs.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/win/tests/cli_child.h"
#include "middleware/objects/tests/win/test_support.h"

namespace quill::cli::test {
namespace {

using quill::test::Regsvr32;

constexpr wchar_t kDeviceKey[] = L"Software\\Torvo\\TorvoControl_0C31";

struct Step {
  std::wstring args;
  int exit_code;
  std::vector<std::string> shown;
  std::vector<std::string> absent = {};
  std::string input = {};
};

// ASCII text between the test's strings and the client's arguments.
std::wstring Wide(const std::string& text) { return std::wstring(text.begin(), text.end()); }
std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

class CliStoreTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(Regsvr32(false), 0);
    SetEnvironmentVariableW(L"QUILLFERN_EMULATOR", nullptr);
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kDeviceKey);
    wchar_t temp[MAX_PATH];
    GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"qcl-store-" + std::to_wstring(GetCurrentProcessId());
    CreateDirectoryW(folder_.c_str(), nullptr);
  }
  void TearDown() override {
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, kDeviceKey);
    Regsvr32(true);
    for (const std::wstring& name : created_) DeleteFileW(Path(name).c_str());
    RemoveDirectoryW(folder_.c_str());
  }

  std::wstring Path(const std::wstring& name) const { return folder_ + L"\\" + name; }
  std::wstring Quoted(const std::wstring& name) {
    created_.push_back(name);
    return L"\"" + Path(name) + L"\"";
  }
  std::wstring File(const std::wstring& name, const std::string& text) {
    HANDLE file = CreateFileW(Path(name).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    DWORD written = 0;
    WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
    CloseHandle(file);
    return Quoted(name);
  }
  bool Exists(const std::wstring& name) const { return GetFileAttributesW(Path(name).c_str()) != INVALID_FILE_ATTRIBUTES; }

  std::string Client(const std::wstring& args, int expected_code, const std::string& input = {}) {
    std::string out;
    EXPECT_EQ(RunClient(args, input, out), expected_code) << std::string(args.begin(), args.end()) << "\n" << out;
    return out;
  }

  void Run(const std::vector<Step>& steps) {
    for (const Step& step : steps) {
      const std::string what(step.args.begin(), step.args.end());
      const std::string out = Client(step.args, step.exit_code, step.input);
      for (const std::string& text : step.shown)
        EXPECT_NE(out.find(text), std::string::npos) << what << " should show: " << text << "\n" << out;
      for (const std::string& text : step.absent)
        EXPECT_EQ(out.find(text), std::string::npos) << what << " should not show: " << text << "\n" << out;
    }
  }

  bool DeviceKeyExists() const {
    HKEY key = nullptr;
    if (RegOpenKeyExW(HKEY_LOCAL_MACHINE, kDeviceKey, 0, KEY_READ, &key) != ERROR_SUCCESS) return false;
    RegCloseKey(key);
    return true;
  }

  std::wstring folder_;
  std::vector<std::wstring> created_;
};

constexpr char kGreet[] = "down LShift\ndown A\ndelay 50\nup A\nup LShift\nclick left\ndelay 300\n";

TEST_F(CliStoreTest, MacrosAndSpellBooksWithTheirReferences) {
  const std::wstring greet = File(L"greet.txt", kGreet);
  Run({
      {L"store list macros", 0, {}, {"name"}},
      {L"store save macro Greet " + greet, 0,
       {"saved    : macro\nname     : Greet\ntype     : keystroke\nmode     : count\nrepeat   : 1\nevents   : 6\n"
        "replaced : no\n"}},
      {L"store save macro Spin - --type macro --mode until-released --repeat 3 --icon spin.ico", 0,
       {"name     : Spin\ntype     : macro\nmode     : until-released\nrepeat   : 3\nevents   : 2\n"},
       {},
       "click button5\n"},
      {L"store save macro Greet -", 0, {"replaced : yes\n"}, {}, kGreet},
      {L"store list macros", 0,
       {"name   type       mode            repeat  events  icon file\n"
        "Greet  keystroke  count           1       6\n"
        "Spin   macro      until-released  3       2       spin.ico\n"}},
      {L"store show macro Greet", 0,
       {"name        : Greet\ntype        : keystroke\nmode        : count\nrepeat      : 1\nicon file   : \n"
        "version     : 0\nevent count : 6\n\n"
        "step  event        delay ms  hold ms\n"
        "1     down LShift  0         0\n"
        "2     down A       50        0\n",
        "6     up left      300       0\n"}},
      {L"store show macro Greet --script", 0,
       {"# stored macro: Greet\ndown LShift\ndown A\ndelay 50\nup A\nup LShift\ndown left\nup left\ndelay 300\n"}},
      {L"--json store show macro Spin", 0,
       {"{\"name\":\"Spin\",\"type\":\"macro\",\"mode\":\"until-released\",\"repeat\":3,"
        "\"icon file\":\"spin.ico\",\"version\":0,\"event count\":2,\"events\":[{\"event\":\"down button5\",\"delay ms\":0,"
        "\"hold ms\":0},"}},
      {L"store save book Tools Spin", 0, {"saved    : book\nname     : Tools\nmacros   : Spin\nreplaced : no\n"}},
      {L"store save book Tools Greet Spin", 0, {"macros   : Greet, Spin\nreplaced : yes\n"}},
      {L"store save book Broken Greet Nope Gone", 1,
       {"no macro 'Nope', 'Gone' in the store; spell book 'Broken' was not saved"}},
      {L"store list books", 0, {"name   macros\nTools  Greet, Spin\n"}, {"Broken"}},
      {L"--json store show book Tools", 0, {"{\"name\":\"Tools\",\"macros\":[\"Greet\",\"Spin\"]}\n"}},
      {L"store delete macro Greet", 1,
       {"macro 'Greet' is still named by a spell book or stored profile (refused by the store, 0x80004005)"}},
      // The failed book save counted nothing: once the one book goes, the macro can go.
      {L"store delete book Tools", 0, {"deleted : book\nname    : Tools\n"}},
      {L"store delete macro Greet", 0, {"deleted : macro\nname    : Greet\n"}},
      {L"store delete macro Greet", 1, {"no macro 'Greet' in the store"}},
      {L"store show book Tools", 1, {"no spell book 'Tools' in the store"}},
      {L"store list macros", 0, {"Spin"}, {"Greet"}},
  });
}

TEST_F(CliStoreTest, UserActionsKeepCodeAndBytes) {
  const std::string longest(255, 'x');
  Run({
      {L"store save action Launch 7 01 02 03", 0,
       {"saved    : action\nname     : Launch\ncode     : 7\nbytes    : 3\ndata     : 01 02 03\nreplaced : no\n"}},
      {L"store show action Launch", 0, {"name  : Launch\ncode  : 7\nbytes : 3\ndata  : 01 02 03\n"}},
      {L"store save action Empty 0x80000000", 0, {"code     : -2147483648\nbytes    : 0\n"}},
      {L"store save action " + Wide(longest) + L" -1 0a0B,ff", 0, {"data     : 0A 0B FF\n"}},
      {L"--json store list actions", 0,
       {"{\"name\":\"Launch\",\"code\":7,\"bytes\":3,\"data\":\"01 02 03\"}\n",
        "{\"name\":\"Empty\",\"code\":-2147483648,\"bytes\":0,\"data\":\"\"}\n",
        "{\"name\":\"" + longest + "\",\"code\":-1,\"bytes\":3,\"data\":\"0A 0B FF\"}\n"}},
      {L"store delete action Launch", 0, {"deleted : action\n"}},
      {L"store show action Launch", 1, {"no user action 'Launch' in the store"}},
  });
}

TEST_F(CliStoreTest, ExportedMacrosAndBooksComeBackAfterClearing) {
  Run({
      {L"store save macro Greet -", 0, {}, {}, kGreet},
      {L"store save macro Spin - --repeat 2", 0, {}, {}, "click button5\ndelay 20\n"},
      {L"store save macro Quiet -", 0, {}, {}, "click A\n"},
      {L"store save book Tools Greet Spin", 0, {}},
      {L"store save book Solo Quiet", 0, {}},
  });
  const std::string macros = Client(L"--json store list macros", 0);
  const std::string books = Client(L"--json store list books", 0);
  const std::string greet = Client(L"--json store show macro Greet", 0);
  ASSERT_NE(books.find("Solo"), std::string::npos) << books;

  const std::wstring file = Quoted(L"all.xml");
  Run({
      {L"store export macros " + file, 0, {"exported : macros\nfile     : " + Narrow(Path(L"all.xml")) + "\n"}},
      {L"--json store export books " + file, 0, {"{\"exported\":\"books\",\"file\":"}},
      {L"store delete book Tools", 0, {}},
      {L"store delete book Solo", 0, {}},
      {L"store delete macro Greet", 0, {}},
      {L"store delete macro Spin", 0, {}},
      {L"store delete macro Quiet", 0, {}},
      {L"store list macros", 0, {}, {"Greet", "Spin"}},
      // A book's import brings its macros along; importing them again replaces them.
      {L"store import books " + file, 0, {"imported : books\n"}},
      {L"store list macros", 0, {"Greet", "Quiet", "Spin"}},
      {L"store import macros " + file, 0, {"imported : macros\n"}},
  });
  EXPECT_EQ(Client(L"--json store list macros", 0), macros);
  EXPECT_EQ(Client(L"--json store list books", 0), books);
  EXPECT_EQ(Client(L"--json store show macro Greet", 0), greet);
  // The imported book counts its macros again.
  Run({{L"store delete macro Quiet", 1, {"still named by a spell book"}}});

  // One object of a kind: a book brings its macros along.
  const std::wstring one = Quoted(L"one.xml");
  Run({
      {L"store export book Solo " + one, 0, {"exported : book\nname     : Solo\n"}},
      {L"store export macro Nope " + one, 1, {"no macro 'Nope' in the store; nothing exported"}},
      {L"store delete book Solo", 0, {}},
      {L"store delete macro Quiet", 0, {}},
      {L"store import book Other " + one, 1, {"holds no spell book 'Other'"}},
      {L"store import book Solo " + one, 0, {"imported : book\nname     : Solo\n"}},
      {L"store show book Solo", 0, {"macros : Quiet\n"}},
  });

  // A missing file is refused before the middleware would create it; a relative name is taken
  // from the client's current folder.
  created_.push_back(L"missing.xml");
  Run({{L"store import macros " + Quoted(L"missing.xml"), 1, {"does not exist; nothing imported"}}});
  EXPECT_FALSE(Exists(L"missing.xml"));
  wchar_t previous[MAX_PATH];
  GetCurrentDirectoryW(MAX_PATH, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(folder_.c_str()));
  created_.push_back(L"relative.xml");
  const std::string relative = Client(L"store export macro Greet relative.xml", 0);
  SetCurrentDirectoryW(previous);
  EXPECT_TRUE(Exists(L"relative.xml")) << relative;
  EXPECT_NE(relative.find("file     : " + Narrow(Path(L"relative.xml"))),
            std::string::npos)
      << relative;
}

// An export file as the middleware writes one: a macro, a profile whose fifth button plays it,
// and a group of that profile.
constexpr char kProfileFile[] =
    "\xEF\xBB\xBF<?xml version=\"1.0\" encoding=\"utf-8\" ?>\r\n\r\n"
    "<TorvoControl_0C31>\r\n"
    "\t<ProfileGroup name=\"Games\">\r\n"
    "\t\t<ProfilePtr ptr=\"Shooter\"></ProfilePtr>\r\n"
    "\t</ProfileGroup>\r\n"
    "\t<Profile name=\"Shooter\">\r\n"
    "\t\t<Key value=\"Version\" type=\"DWORD\" data=\"0\"></Key>\r\n"
    "\t\t<Key value=\"NumMappings\" type=\"DWORD\" data=\"2\"></Key>\r\n"
    "\t\t<Key value=\"0000\" type=\"BINARY\" data=\"010000000600000000000000010000000000000000000000\"></Key>\r\n"
    "\t\t<Key value=\"0001\" type=\"BINARY\" data=\"040000000200000000000000000000000000000000000000"
    "470072006500650074000000\"></Key>\r\n"
    "\t</Profile>\r\n"
    "\t<Macro name=\"Greet\">\r\n"
    "\t\t<Key value=\"Version\" type=\"DWORD\" data=\"0\"></Key>\r\n"
    "\t\t<Key value=\"Options\" type=\"DWORD\" data=\"0\"></Key>\r\n"
    "\t\t<Key value=\"Type\" type=\"DWORD\" data=\"1\"></Key>\r\n"
    "\t\t<Key value=\"Repeat\" type=\"DWORD\" data=\"1\"></Key>\r\n"
    "\t\t<Key value=\"IconFile\" type=\"STRING\" data=\"\"></Key>\r\n"
    "\t\t<Key value=\"NumElements\" type=\"DWORD\" data=\"2\"></Key>\r\n"
    "\t\t<Key value=\"0000\" type=\"BINARY\" data=\"010000000400000000000000000000001400000000000000\"></Key>\r\n"
    "\t\t<Key value=\"0001\" type=\"BINARY\" data=\"010000000400000000000000020000000000000000000000\"></Key>\r\n"
    "\t</Macro>\r\n"
    "</TorvoControl_0C31>\r\n\r\n";

TEST_F(CliStoreTest, ProfileGroupsRoundTripThroughExportFiles) {
  const std::wstring file = File(L"profiles.xml", kProfileFile);
  const std::wstring again = Quoted(L"again.xml");
  const std::vector<Step> stored_state = {
      {L"store list groups", 0, {"name   profiles\nGames  Shooter\n"}},
      {L"store list profiles", 0, {"name     mappings  groups\nShooter  2         Games\n"}},
      {L"store show profile Shooter", 0,
       {"name     : Shooter\nversion  : 0\nmappings : 2\n",
        "index  button   assignment\n0000   left     left click\n0001   button5  macro Greet\n"}},
      {L"store show macro Greet --script", 0, {"down A\ndelay 20\nup A\n"}},
  };
  Run({
      {L"store list profiles", 0, {}, {"name"}},
      // The group brings its profile, and the profile the macro it names.
      {L"store import group Games " + file, 0, {"imported : group\nname     : Games\n"}},
  });
  Run(stored_state);
  Run({
      {L"--json store show profile Shooter", 0,
       {"{\"name\":\"Shooter\",\"version\":0,\"mappings\":2,\"buttons\":[{\"index\":\"0000\",\"button\":\"left\","
        "\"assignment\":\"left click\"},{\"index\":\"0001\",\"button\":\"button5\",\"assignment\":\"macro Greet\"}]}\n"}},
      {L"store delete macro Greet", 1, {"macro 'Greet' is still named by a spell book or stored profile"}},
      {L"store delete profile Shooter", 1, {"stored profile 'Shooter' is still a member of a profile group"}},
      {L"store save group Duo Shooter Nope", 1, {"no stored profile 'Nope' in the store; profile group 'Duo' was not saved"}},
      {L"store save group Duo Shooter", 0, {"saved    : group\nname     : Duo\nprofiles : Shooter\nreplaced : no\n"}},
      {L"store list profiles", 0, {"Shooter  2         Duo, Games\n"}},
      {L"store delete group Duo", 0, {}},
      // A group's export holds its profiles and the macros they name.
      {L"store export group Games " + again, 0, {"exported : group\n"}},
      {L"store delete group Games", 0, {}},
      {L"store delete profile Shooter", 0, {"deleted : profile\nname    : Shooter\n"}},
      {L"store delete macro Greet", 0, {}},
      {L"store list profiles", 0, {}, {"Shooter"}},
      {L"store import groups " + again, 0, {"imported : groups\n"}},
  });
  Run(stored_state);
}

TEST_F(CliStoreTest, RefusedArgumentsNeverReachTheStore) {
  const std::wstring script = File(L"ok.txt", "click A\n");
  const struct {
    std::wstring args;
    int exit_code;
    const char* message;
  } cases[] = {
      {L"store save action " + std::wstring(256, L'n') + L" 1", 2, "is longer than the store's 255 characters"},
      {L"store save macro back\\slash " + script, 2, "holds \\ (the store keeps no names with \\, \", < or >)"},
      {L"store show macro \"say \\\"hi\\\"\"", 2, "holds \""},
      {L"store delete book a<b", 2, "holds <"},
      {L"store save book Tools ok b>c", 2, "holds >"},
      {L"store export macro \"\" " + script, 2, "the name is empty"},
      {L"store save action A twelve", 2, "code 'twelve' is not a 32-bit number"},
      {L"store save action A 1 01 0g", 2, "data: '0g' is not a byte in hexadecimal"},
      {L"store save action A 4294967296", 2, "is not a 32-bit number"},
      {L"store save macro M " + script + L" --repeat 70000", 2, "--repeat '70000' is not 0 to 65535"},
      {L"store save macro M " + script + L" --type fast", 2, "--type 'fast' is not action, keystroke or macro"},
      {L"store save macro M " + script + L" --mode", 2, "--mode needs a value"},
      {L"store save macro M -", 2, "standard input line 1: unknown key or mouse button \"Entr\""},
      {L"store save profile P", 2, "stored profiles are not saved from the command line"},
      {L"store show macros", 2, "store show acts on one object: macro, not macros"},
      {L"store list widgets", 2, "'widgets' is not group(s), profile(s), book(s), macro(s) or action(s)"},
      {L"store frob macros", 2, "'frob' is not list, show, save, delete, export or import"},
      {L"store export macros", 2, "store export macros takes a file"},
      {L"store import macro Greet", 2, "store import macro takes a name and a file"},
      {L"store", 2, "usage: QuillfernCli store"},
  };
  for (const auto& c : cases) {
    const std::string what(c.args.begin(), c.args.end());
    std::string out;
    EXPECT_EQ(RunClient(c.args, "click Entr\n", out), c.exit_code) << what << "\n" << out;
    EXPECT_NE(out.find(c.message), std::string::npos) << what << "\n" << out;
    EXPECT_FALSE(DeviceKeyExists()) << what << " reached the store";
  }
  Run({
      {L"--json store show macro a<b", 2, {"{\"error\":\"the name 'a<b' holds <"}},
      {L"help store", 0, {"store save action <name> <code> [<hex bytes>...]", "store import <kinds> <file>"}},
  });
}

}  // namespace
}  // namespace quill::cli::test
