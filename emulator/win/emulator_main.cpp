// QuillfernEmulator.exe: the emulated Quillfern on a named pipe, and its control command line.
//
//   QuillfernEmulator.exe serve --pipe NAME [--state FILE] [--path-length N] [--no-keys] [--parent PID]
//   QuillfernEmulator.exe ctl --pipe NAME <command...>     (ctl --pipe NAME help: the commands)
//   QuillfernEmulator.exe probe --pipe NAME                 device search and information read
//
// Exit codes: 0 done, 1 the command failed, 2 bad arguments or state file, 3 no emulator
// answers on the pipe (or the pipe cannot be made).
#include <windows.h>
#include <shellapi.h>

#include <fcntl.h>
#include <io.h>

#include <cstdio>
#include <string>
#include <vector>

#include "emulator/control_commands.h"
#include "emulator/hid_exchange.h"
#include "emulator/quillfern_model.h"
#include "emulator/win/control_client.h"
#include "emulator/win/pipe_server.h"
#include "middleware/transport/device_ids.h"
#include "middleware/transport/win/pipe_connection.h"
#include "middleware/transport/win/pipe_hid_port.h"

namespace {

using namespace quill::emu;

const char kUsage[] =
    "usage:\n"
    "  QuillfernEmulator.exe serve --pipe NAME [--state FILE] [--path-length N] [--no-keys] [--parent PID]\n"
    "  QuillfernEmulator.exe ctl --pipe NAME <command...>   (command \"help\" lists them)\n"
    "  QuillfernEmulator.exe probe --pipe NAME\n";

int Usage(const std::string& problem) {
  std::fprintf(stderr, "error: %s\n%s", problem.c_str(), kUsage);
  return 2;
}

std::string Narrow(const std::wstring& text) { return Utf8(ToU16(text)); }

// Words of a control command line, quoted where they hold white space.
std::string JoinWords(const std::vector<std::wstring>& words, size_t from) {
  std::string line;
  for (size_t i = from; i < words.size(); ++i) {
    const std::string word = Narrow(words[i]);
    if (!line.empty()) line += ' ';
    if (word.empty() || word.find_first_of(" \t") != std::string::npos) line += "\"" + word + "\"";
    else line += word;
  }
  return line;
}

int Ctl(const std::wstring& pipe, const std::string& line) {
  const std::optional<ControlReply> reply = SendControl(ToU16(pipe), line);
  if (!reply) {
    std::fprintf(stderr, "error: no emulator answers on %ls\n", FullPipeName(ToU16(pipe)).c_str());
    return 3;
  }
  std::fwrite(reply->output.data(), 1, reply->output.size(), reply->ok ? stdout : stderr);
  return reply->ok ? 0 : 1;
}

// The device search of the middleware in small: the first interface of the mouse that answers
// the reset report and a device-information read.
int Probe(const std::wstring& pipe) {
  std::setvbuf(stdout, nullptr, _IONBF, 0);  // each step shows, also when a step hangs
  std::unique_ptr<quill::HidPort> port = CreatePipeHidPort(ToU16(pipe));
  const std::vector<std::u16string> paths = ListInterfaces(*port);
  int found = 0;
  for (size_t i = 0; i < paths.size(); ++i) {
    const std::u16string& path = paths[i];
    std::unique_ptr<quill::HidDevice> device = port->Open(path);
    quill::HidAttributes a;
    if (!device || !device->GetAttributes(a)) {
      std::printf("interface %u not-present path=%s\n", static_cast<unsigned>(i), Utf8(path).c_str());
      continue;
    }
    std::printf("interface %u vid=%04x pid=%04x path=%s\n", static_cast<unsigned>(i), a.vendor_id, a.product_id, Utf8(path).c_str());
    if (found || a.vendor_id != quill::VENDOR_ID || a.product_id != quill::QUILLFERN_PID) continue;
    const quill::FeatureReport reset = MakeResetReport();
    quill::FeatureReport request = reset;
    request[quill::kDirection] = 1;
    request[quill::kCommand] = kCmdDeviceInfo;
    request[quill::kLength] = 1;
    request[quill::kChecksum] = ReportChecksum(request);
    quill::FeatureReport reply{};
    if (!device->SetFeature(reset.data(), reset.size()) || !ExchangeReport(*device, request, reply) ||
        reply[quill::kStatus] != quill::kStatusDone)
      continue;
    std::string serial;
    for (size_t k = 9; k < 41 && reply[k]; ++k) serial += static_cast<char>(reply[k] >= 0x20 && reply[k] < 0x7F ? reply[k] : '?');
    std::printf("mouse serial=%s firmware=%u.%u\n", serial.c_str(), reply[41], reply[42]);
    found = 1;
  }
  if (!found) std::printf("no mouse\n");
  return found ? 0 : 1;
}

int Main(const std::vector<std::wstring>& args) {
  if (args.size() < 2 || args[1] == L"help" || args[1] == L"--help") {
    std::fputs(kUsage, args.size() < 2 ? stderr : stdout);
    return args.size() < 2 ? 2 : 0;
  }
  const std::wstring& mode = args[1];
  ServeOptions options;
  std::wstring pipe;
  size_t i = 2;
  // Options come before the control command's own words.
  while (i < args.size() && args[i].rfind(L"--", 0) == 0) {
    const std::wstring& option = args[i];
    const bool has_value = i + 1 < args.size();
    if (option == L"--pipe" && has_value) {
      pipe = args[i + 1];
      i += 2;
    } else if (option == L"--state" && has_value && mode == L"serve") {
      options.state_file = args[i + 1];
      i += 2;
    } else if (option == L"--path-length" && has_value && mode == L"serve") {
      wchar_t* end = nullptr;
      const unsigned long n = std::wcstoul(args[i + 1].c_str(), &end, 10);
      if (!end || *end || n == 0 || n > 4096) return Usage("--path-length wants a number from 1 to 4096");
      options.path_length = n;
      i += 2;
    } else if (option == L"--parent" && has_value && mode == L"serve") {
      wchar_t* end = nullptr;
      options.parent_pid = std::wcstoul(args[i + 1].c_str(), &end, 10);
      if (!end || *end || options.parent_pid == 0) return Usage("--parent wants a process id");
      i += 2;
    } else if (option == L"--no-keys" && mode == L"serve") {
      options.keystrokes = false;
      ++i;
    } else {
      return Usage("unknown option or missing value: " + Narrow(option));
    }
  }
  if (pipe.empty()) return Usage("--pipe NAME is required");
  if (pipe.size() > 200) return Usage("pipe name longer than 200 characters");
  if (mode == L"serve") {
    if (i != args.size()) return Usage("unexpected argument: " + Narrow(args[i]));
    options.pipe_name = FullPipeName(ToU16(pipe));
    return Serve(options);
  }
  if (mode == L"ctl") {
    if (i == args.size()) return Usage("ctl needs a command (try \"help\")");
    return Ctl(pipe, JoinWords(args, i));
  }
  if (mode == L"probe") {
    if (i != args.size()) return Usage("unexpected argument: " + Narrow(args[i]));
    return Probe(pipe);
  }
  return Usage("unknown mode " + Narrow(mode) + " (serve, ctl, probe)");
}

}  // namespace

int main() {
  // Output is parsed by scripts and tests: plain LF line ends.
  _setmode(_fileno(stdout), _O_BINARY);
  _setmode(_fileno(stderr), _O_BINARY);
  int argc = 0;
  LPWSTR* argv = CommandLineToArgvW(GetCommandLineW(), &argc);
  std::vector<std::wstring> args;
  for (int i = 0; argv && i < argc; ++i) args.emplace_back(argv[i]);
  if (argv) LocalFree(argv);
  const int code = Main(args);
  std::fflush(stdout);
  std::fflush(stderr);
  return code;
}
