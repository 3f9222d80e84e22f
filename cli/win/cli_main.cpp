// QuillfernCli: a command-line client of the middleware, as any third-party COM client uses it.
//   QuillfernCli [--json] <command> [arguments]
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "cli/record_output.h"
#include "cli/win/commands.h"

namespace quill::cli {

void Output::Print(const Record& record) {
  std::string text = json_ ? record.ToJson() : record.ToLines();
  std::fwrite(text.data(), 1, text.size(), stdout);
  std::fflush(stdout);
}

void Output::Error(const std::string& message) {
  if (json_) {
    Record r;
    r.Text("error", message);
    Print(r);
  }
  std::fprintf(stderr, "QuillfernCli: %s\n", message.c_str());
}

const std::vector<Command>& AllCommands() {
  static const std::vector<Command> commands = {
      {"info", "info", "driver, firmware, serial number, capabilities, hardware ID, connection", RunInfo},
  };
  return commands;
}

namespace {

void PrintUsage(FILE* to) {
  std::fprintf(to, "usage: QuillfernCli [--json] <command> [arguments]\n\ncommands:\n");
  for (const Command& c : AllCommands()) std::fprintf(to, "  %-24s %s\n", c.usage, c.summary);
  std::fprintf(to,
               "\n--json prints one JSON object per line. Exit codes: 0 done, 1 failed, 2 usage.\n"
               "Set QUILLFERN_EMULATOR to an emulator's pipe name to use an emulated Quillfern.\n");
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
