// The client's backup and restore of a full mouse (five profiles, 70 macros of sixteen events):
// backup; restore onto a mouse reset to its factory state; restore again onto the mouse that
// already holds it. For each: the exchanges the mouse received (and how many wrote), the wall
// time of the client's run and the pauses the protocol prescribes for those exchanges. Prints,
// never fails.
//
// Windows build only: QuillfernCli.exe and the registered middleware beside it, and a
// QuillfernEmulator.exe of its own.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "bench/full_mouse.h"
#include "emulator/request_log.h"
#include "emulator/state_file.h"
#include "emulator/win/emulator_process.h"
#include "middleware/objects/tests/win/test_support.h"
#include "middleware/transport/driver_handler.h"

namespace {

using namespace quill;
using Ms = std::chrono::duration<double, std::milli>;

struct Figures {
  unsigned reads = 0, writes = 0, busy_polls = 0, resets = 0;
  double wall_ms = 0;
  int exit_code = -1;
  std::string output;

  unsigned exchanges() const { return reads + writes; }
  // What the transport sleeps for these exchanges: a pause before each request, one after it
  // (longer after a write), one per busy status read, and one before each reset report.
  double pauses_ms() const {
    return kPauseAroundTransfer * exchanges() + kPauseAfterReadRequest * reads + kPauseAfterWriteRequest * writes +
           kPauseBusyPoll * busy_polls + kPauseAroundTransfer * resets;
  }
};

// Counts the log's requests by direction, its polls beyond one per request (busy answers), and
// its reset reports.
void Count(const std::string& log, Figures& f) {
  unsigned polls = 0;
  size_t start = 0;
  while (start < log.size()) {
    size_t end = log.find('\n', start);
    if (end == std::string::npos) end = log.size();
    emu::LogLineKind line;
    if (emu::ReadLogLineKind(std::string_view(log).substr(start, end - start), line)) {
      if (line.kind == emu::TransferKind::kRequest) (line.write ? f.writes : f.reads)++;
      if (line.kind == emu::TransferKind::kPoll) ++polls;
      if (line.kind == emu::TransferKind::kReset) ++f.resets;
    }
    start = end + 1;
  }
  f.busy_polls = polls > f.exchanges() ? polls - f.exchanges() : 0;
}

Figures RunClient(emu::EmulatorProcess& emulator, const std::wstring& arguments) {
  emulator.Ctl("log-clear");
  Figures f;
  const auto start = std::chrono::steady_clock::now();
  const test::RunResult run =
      test::RunToEnd(L"\"" + test::ExeDir() + L"\\QuillfernCli.exe\" " + arguments, {}, 600000);
  f.wall_ms = Ms(std::chrono::steady_clock::now() - start).count();
  f.exit_code = run.exit_code;
  f.output = run.output;
  Count(emulator.Ctl("log").output, f);
  return f;
}

void Print(const char* what, const Figures& f) {
  std::printf("%-32s exit %d  %5u exchanges (%4u writes)  %9.1f ms wall, %9.1f ms prescribed pauses, "
              "%8.1f ms beyond them\n",
              what, f.exit_code, f.exchanges(), f.writes, f.wall_ms, f.pauses_ms(), f.wall_ms - f.pauses_ms());
  if (f.exit_code != 0) std::printf("  %s", f.output.c_str());
}

}  // namespace

int main() {
  emu::EmulatorOptions options;
  options.initial_state = emu::FormatStateText(bench::FullMouse(70));
  options.keystrokes = false;
  emu::EmulatorProcess emulator(options);
  if (!emulator.ok()) {
    std::printf("cli_backup_bench: QuillfernEmulator.exe did not start (%s)\n", emulator.error().c_str());
    return 0;
  }
  emulator.SetEnvironment();
  if (test::Regsvr32(false) != 0) {
    std::printf("cli_backup_bench: the middleware could not be registered\n");
    return 0;
  }
  wchar_t folder[MAX_PATH], path[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  GetTempFileNameW(folder, L"qbk", 0, path);
  const std::wstring file = L"\"" + std::wstring(path) + L"\"";

  std::printf("cli_backup_bench: QuillfernCli.exe against QuillfernEmulator.exe, 5 profiles and 70 macros of 16 events\n");
  Print("backup", RunClient(emulator, L"backup " + file));
  emulator.Ctl("factory-reset");
  Print("restore onto a factory mouse", RunClient(emulator, L"restore " + file));
  Print("restore again (nothing differs)", RunClient(emulator, L"restore " + file));

  DeleteFileW(path);
  test::Regsvr32(true);
  return 0;
}
