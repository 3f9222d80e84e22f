// Two processes exchanging with one emulated mouse at the same time: the named-mutex lock
// keeps their exchanges apart, as the emulator's request log shows.
#include <gtest/gtest.h>
#include <windows.h>
#undef Yield

#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "emulator/win/child_process.h"
#include "emulator/win/emulator_process.h"

namespace quill {
namespace {

constexpr int kExchangesPerClient = 30;

std::wstring ClientCommand(int exchanges) {
  return L"\"" + emu::EmulatorProcess::ExecutableFolder() + L"\\transport_exchange_client.exe\" " +
         std::to_wstring(exchanges);
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

  test::ChildProcess first(ClientCommand(kExchangesPerClient));
  test::ChildProcess second(ClientCommand(kExchangesPerClient));
  ASSERT_TRUE(first.started() && second.started());
  EXPECT_EQ(first.Wait(60000), 0) << first.output();
  EXPECT_EQ(second.Wait(60000), 0) << second.output();

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
