// QuillfernCli: a command-line client of the middleware, as any third-party COM client uses it.
//   QuillfernCli [--json] <command> [arguments]
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/button_assignment.h"
#include "cli/record_output.h"
#include "cli/win/commands.h"

namespace quill::cli {

void Output::Write(const std::string& text) {
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

void Output::Print(const Record& record) { Write(json_ ? record.ToJson() : record.ToLines()); }

void Output::PrintTable(const std::vector<Record>& rows) {
  if (!json_) return Write(FormatTable(rows));
  std::string lines;
  for (const Record& row : rows) lines += row.ToJson();
  Write(lines);
}

void Output::PrintWithParts(Record head, const std::string& field, const std::vector<Record>& parts,
                            const std::vector<Record>& table) {
  if (json_) {
    head.Records(field, parts);
    return Print(head);
  }
  Print(head);
  if (table.empty()) return;
  Gap();
  PrintTable(table);
}

void Output::Gap() {
  if (!json_) Write("\n");
}

void Output::Error(const std::string& message) {
  if (json_) {
    Record r;
    r.Text("error", message);
    Print(r);
  }
  std::fprintf(stderr, "QuillfernCli: %s\n", message.c_str());
}

namespace {

constexpr char kProfilesHelp[] =
    "Prints a table of the profiles (slot, active, name, LED bits, DPI stages, default stage)\n"
    "and a table of their button assignments (slot, button, assignment). Buttons: left, right,\n"
    "middle, button4, button5, dpi-up, dpi-down, scroll-up, scroll-down. An assignment that\n"
    "plays a macro names it: macro 3 (Greet). With --json: one object per profile, the\n"
    "stages as a list of DPI values and the buttons as a list of objects.\n";

constexpr char kStagesHelp[] =
    "Without set: one row per stage (stage, dpi x, dpi y, default, current; current only on\n"
    "the active profile). set takes 1 to 5 comma-separated DPI values, each a multiple of 25\n"
    "from 100 to 6475; --default names the stage the profile starts with (without it the\n"
    "current default stays when it still exists, else stage 1). Bad values are refused with\n"
    "exit code 2 before anything is sent to the mouse.\n";

constexpr char kLedsHelp[] =
    "The LED bits of a profile (the active one when no slot is given): bit 0 (1) the scroll\n"
    "wheel, bit 1 (2) the logo, bit 2 (4) the charging dock. set takes the bits as a number\n"
    "0 to 255, or switches: wheel=on logo=off dock=on (the others stay).\n";

constexpr char kUploadHelp[] =
    "Stores a macro in the mouse under <name> (at most 19 characters); a macro of that name\n"
    "is replaced and keeps its number, so buttons that play it stay assigned. The text holds\n"
    "one event per line:\n"
    "  down <key|button>    press a key or mouse button\n"
    "  up <key|button>      release it\n"
    "  click <key|button>   press and release\n"
    "  delay <ms>           wait after the event before (delays in a row add up; at most\n"
    "                       16777215 ms)\n"
    "  # ...                a comment; blank lines are skipped\n"
    "Mouse buttons: left, right, middle, button4, button5. Keys: A to Z, 0 to 9, F1 to F24,\n"
    "Enter, Esc, Backspace, Tab, Space, Minus, Equals, LeftBracket, RightBracket, Backslash,\n"
    "Semicolon, Quote, Grave, Comma, Period, Slash, CapsLock, PrintScreen, ScrollLock, Pause,\n"
    "Insert, Home, PageUp, Delete, End, PageDown, ArrowLeft, ArrowRight, ArrowUp, ArrowDown,\n"
    "NumLock, NumDivide, NumMultiply, NumMinus, NumPlus, NumEnter, Num0 to Num9, NumPeriod,\n"
    "Menu, LCtrl, LShift, LAlt, LWin, RCtrl, RShift, RAlt, RWin (Ctrl, Shift, Alt, Win are the\n"
    "left ones), or 0xNN for any USB keyboard usage. Words are case-insensitive. A mouse button\n"
    "goes down only while up and up only while down. Example:\n"
    "  down A\n  delay 50\n  up A\n  click left\n  delay 100\n"
    "An error names the line and exits with code 2; nothing is sent then.\n"
    "QuillfernCli macro <number> --script prints a stored macro in this form.\n";

constexpr char kWatchHelp[] =
    "Prints one row per event as it arrives (time, event, dpi x, dpi y, profile):\n"
    "  dpi       the current DPI changed (DPI buttons)\n"
    "  profile   another profile became active (profile button)\n"
    "Runs until N events (--count), S seconds (--seconds) or Ctrl+C; without either option\n"
    "also until standard input ends when that is a pipe. With both, fewer than N events in\n"
    "S seconds is a failure (exit 1).\n"
    "A line on standard error says when watching has begun.\n";

const char* ButtonsHelp() {
  static const std::string text =
      "Without set: the profile's nine buttons and what each does, as profiles lists them.\n"
      "set takes one or more <button>=<function>, e.g. button4=forward dpi-up=macro:Greet\n"
      "button5=key:Enter right=profile:2; the others stay. All nine are written in one go.\n" +
      AssignmentHelp() +
      "At least one button must stay on click. A bad button, function, key, macro or profile is\n"
      "refused with exit code 2 before anything is written to the mouse.\n";
  return text.c_str();
}

constexpr char kPointerHelp[] =
    "The Windows pointer settings of the logged-on user (they apply to every mouse):\n"
    "  speed          1 (slowest) to 20 (fastest)\n"
    "  acceleration   off, or a level from 1 (little) to 10 (much)\n"
    "Without set: the speed, whether acceleration is on and its level. The middleware offers\n"
    "these settings once it has found the mouse.\n";

constexpr char kBackupHelp[] =
    "backup writes the whole mouse into one JSON file (UTF-8): the polling rate, the active\n"
    "profile, every profile (slot, name, LEDs, DPI stages, default stage, the nine buttons)\n"
    "and every macro (name, events as upload's macro text lines). Buttons that play a macro or\n"
    "switch to a profile name it.\n"
    "restore checks the whole file first (its form, the mouse's limits, that every macro and\n"
    "profile it names is in it) and refuses a faulty one with exit code 2, naming the place,\n"
    "e.g. profiles[2].buttons.button4: no macro named \"Greet\" in this file. Then it makes\n"
    "the mouse hold exactly that: profiles and macros the file does not list are deleted, and\n"
    "only what differs is written. It lists each change; --dry-run lists them without making\n"
    "them.\n";

constexpr char kStoreHelp[] =
    "The middleware's store of named objects in the registry (it needs no mouse):\n"
    "  group    a profile group: a list of stored profiles\n"
    "  profile  a stored profile: a set of button mappings (made by importing an export file)\n"
    "  book     a spell book: a list of stored macros\n"
    "  macro    a stored macro: events, type, repeat mode and count, icon file\n"
    "  action   a user action: a code and data bytes\n"
    "The plural (groups, profiles, books, macros, actions) means every object of the kind.\n"
    "\n"
    "  store list <kind>                    one row per object\n"
    "  store show <kind> <name>             one object (macro: its events; --script: as text)\n"
    "  store save macro <name> <file>|- [--type action|keystroke|macro]\n"
    "        [--mode count|until-same|until-released] [--repeat N] [--icon FILE]\n"
    "                                       from macro text as upload reads it (help upload);\n"
    "                                       defaults: keystroke, count, 1\n"
    "  store save book <name> <macro>...    the macros must be stored\n"
    "  store save group <name> <profile>... the profiles must be stored\n"
    "  store save action <name> <code> [<hex bytes>...]   e.g. 7 01 02 03 or 0x10 0A0B\n"
    "  store delete <kind> <name>\n"
    "  store export <kind> <name> <file>    one object (a group with its profiles, a book with\n"
    "  store export <kinds> <file>          its macros, a profile with the macros and user\n"
    "                                       actions it names), or all of a kind\n"
    "  store import <kind> <name> <file>    the same from a file; the file must exist\n"
    "  store import <kinds> <file>\n"
    "\n"
    "Exporting into an existing file replaces objects of the same kind and name and keeps the\n"
    "rest. An export of profiles (one, a group, all) also holds the macros and user actions\n"
    "their mappings name, and an import of profiles brings those in first; without them in the\n"
    "file they must already be stored.\n"
    "A macro or user action still named by a spell book or stored profile, and a profile still\n"
    "in a group, cannot be deleted. Stored profiles have no list of their own: list and show\n"
    "read them back from an export into a temporary file. Names are at most 255 characters\n"
    "without \\, \", < or >; the store compares them ignoring case, export files case by case.\n"
    "A relative file name is taken from the current folder.\n";

}  // namespace

const std::vector<Command>& AllCommands() {
  static const std::vector<Command> commands = {
      {"info", "info", "driver, firmware, serial number, capabilities, hardware ID, connection", RunInfo},
      {"profiles", "profiles", "the on-board profiles: names, LEDs, DPI stages, buttons, the active one",
       RunProfiles, kProfilesHelp},
      {"activate", "activate <slot>", "make a profile the active one (its default DPI stage applies)", RunActivate},
      {"create", "create <name>", "a new profile in the first free slot (printed)", RunCreate},
      {"delete", "delete <slot>", "delete a profile (not slot 1, not the active one)", RunDelete},
      {"rename", "rename <slot> <name>", "rename a profile (at most 19 characters)", RunRename},
      {"stages", "stages <slot> [set <dpi,...> [--default N]]", "a profile's DPI stages, or set them", RunStages,
       kStagesHelp},
      {"dpi", "dpi [set <dpi> [<y-dpi>]]", "the current DPI, or set it", RunDpi},
      {"rate", "rate [set <Hz>]", "the polling rate, or set it (1000, 500, 125)", RunRate},
      {"leds", "leds [<slot>] [set <bits>|<led>=on|off...]", "a profile's LED switches, or set them", RunLeds,
       kLedsHelp},
      {"macros", "macros", "the macros in the mouse: number, name, size", RunMacros},
      {"macro", "macro <number> [--script]", "one macro's events (--script: as upload text)", RunMacro},
      {"upload", "upload <name> <file>|-", "store a macro written as text (- reads standard input)", RunUpload,
       kUploadHelp},
      {"buttons", "buttons <slot> [set <button>=<function>...]", "a profile's button assignments, or set them",
       RunButtons, ButtonsHelp()},
      {"pointer", "pointer [set [speed <1-20>] [acceleration off|<1-10>]]",
       "the Windows pointer speed and acceleration, or set them", RunPointer, kPointerHelp},
      {"backup", "backup <file>", "the whole mouse into a file: polling rate, profiles, macros", RunBackup,
       kBackupHelp},
      {"restore", "restore <file> [--dry-run]", "make the mouse hold what a backup file says", RunRestore,
       kBackupHelp},
      {"watch", "watch [--count N] [--seconds S]", "print the mouse's events as they arrive", RunWatch, kWatchHelp},
      {"store", "store list|show|save|delete|export|import <kind> ...",
       "the middleware's store: profile groups, stored profiles, spell books, macros, user actions", RunStore,
       kStoreHelp},
  };
  return commands;
}

namespace {

void PrintUsage(FILE* to) {
  std::fprintf(to, "usage: QuillfernCli [--json] <command> [arguments]\n\ncommands:\n");
  for (const Command& c : AllCommands()) std::fprintf(to, "  %s\n      %s\n", c.usage, c.summary);
  std::fprintf(to,
               "\nQuillfernCli help <command> tells more about one command.\n"
               "--json prints one JSON object per line. Exit codes: 0 done, 1 failed, 2 usage.\n"
               "Set QUILLFERN_EMULATOR to an emulator's pipe name to use an emulated Quillfern.\n");
}

int PrintCommandHelp(const std::string& name) {
  const Command* c = FindCommand(name);
  if (!c) {
    std::fprintf(stderr, "QuillfernCli: unknown command '%s' (QuillfernCli help lists them)\n", name.c_str());
    return kExitUsage;
  }
  std::printf("usage: QuillfernCli [--json] %s\n\n%s\n", c->usage, c->summary);
  if (c->details) std::printf("\n%s", c->details);
  return kExitOk;
}

std::string Utf8Arg(const wchar_t* arg) { return Utf8FromUtf16(reinterpret_cast<const char16_t*>(arg)); }

int Run(const std::vector<std::string>& argv) {
  size_t i = 0;
  bool json = false;
  if (i < argv.size() && argv[i] == "--json") {
    json = true;
    ++i;
  }
  if (i >= argv.size() || argv[i] == "help" || argv[i] == "--help" || argv[i] == "-h") {
    if (i + 1 < argv.size()) return PrintCommandHelp(argv[i + 1]);
    PrintUsage(i >= argv.size() ? stderr : stdout);
    return i >= argv.size() ? kExitUsage : kExitOk;
  }
  Output out(json);
  for (const Command& c : AllCommands()) {
    if (argv[i] != c.name) continue;
    DeviceSession session;
    if (!session.Create()) {
      out.Error(session.error());
      return kExitFailed;
    }
    return c.run(session, std::vector<std::string>(argv.begin() + i + 1, argv.end()), out);
  }
  out.Error("unknown command '" + argv[i] + "' (QuillfernCli help lists them)");
  return kExitUsage;
}

}  // namespace
}  // namespace quill::cli

int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 1; i < argc; ++i) args.push_back(quill::cli::Utf8Arg(argv[i]));
  return quill::cli::Run(args);
}
