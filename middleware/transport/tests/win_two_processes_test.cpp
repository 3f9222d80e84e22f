// Two processes exchanging with one emulated mouse at the same time: the named-mutex lock
// keeps their exchanges apart, as the emulator's request log shows.
#include <gtest/gtest.h>
#include <windows.h>
#undef Yield

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "emulator/win/emulator_process.h"

namespace quill {
namespace {

constexpr int kExchangesPerClient = 30;

struct Child {
  PROCESS_INFORMATION info{};
  bool started = false;
  ~Child() {
    if (!started) return;
    if (WaitForSingleObject(info.hProcess, 0) == WAIT_TIMEOUT) TerminateProcess(info.hProcess, 99);
    CloseHandle(info.hThread);
    CloseHandle(info.hProcess);
  }
};

bool StartClient(Child& child, int exchanges) {
  std::wstring command = L"\"" + emu::EmulatorProcess::ExecutableFolder() +
                         L"\\transport_exchange_client.exe\" " + std::to_wstring(exchanges);
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  child.started = CreateProcessW(nullptr, command.data(), nullptr, nullptr, FALSE, 0, nullptr,
                                 nullptr, &startup, &child.info) != FALSE;
  return child.started;
}

DWORD WaitForExit(Child& child) {
  if (WaitForSingleObject(child.info.hProcess, 60000) != WAIT_OBJECT_0) return 0xFFFF;
  DWORD code = 0xFFFF;
  GetExitCodeProcess(child.info.hProcess, &code);
  return code;
}

// Client ids of the command requests in log order ("<seq> client=<id> request ...").
std::vector<unsigned> RequestClients(const std::string& log) {
  std::vector<unsigned> clients;
  std::istringstream lines(log);
  std::string line;
  while (std::getline(lines, line)) {
    const size_t at = line.find(" client=");
    if (at == std::string::npos || line.find(" request ", at) == std::string::npos) continue;
    clients.push_back(static_cast<unsigned>(std::stoul(line.substr(at + 8))));
  }
  return clients;
}

TEST(TwoProcesses, ExchangesAtTheSameTimeNeverInterleave) {
  emu::EmulatorProcess emulator;
  ASSERT_TRUE(emulator.ok()) << emulator.error();
  ASSERT_EQ(emulator.Ctl("busy 2").exit_code, 0);  // longer exchanges, more overlap
  emulator.SetEnvironment();

  Child first, second;
  ASSERT_TRUE(StartClient(first, kExchangesPerClient));
  ASSERT_TRUE(StartClient(second, kExchangesPerClient));
  EXPECT_EQ(WaitForExit(first), 0u);
  EXPECT_EQ(WaitForExit(second), 0u);

  const auto verdict = emulator.Ctl("log-check");
  EXPECT_EQ(verdict.output, "interleave: none\n");
  const std::vector<unsigned> clients = RequestClients(emulator.Ctl("log").output);
  // Each client: one probe while searching, then its exchanges.
  ASSERT_EQ(clients.size(), 2u * (kExchangesPerClient + 1));
  EXPECT_EQ(std::set<unsigned>(clients.begin(), clients.end()).size(), 2u);
  // The two really ran at the same time: the mouse served them in turn, not one after the other.
  int switches = 0;
  for (size_t i = 1; i < clients.size(); ++i) switches += clients[i] != clients[i - 1];
  EXPECT_GE(switches, 3) << "the clients did not overlap; the test proved nothing";
}

}  // namespace
}  // namespace quill
