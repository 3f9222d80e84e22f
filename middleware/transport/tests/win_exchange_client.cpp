// A client process for the Windows tests: connects through the system transport (the
// emulator's pipe, as QUILLFERN_EMULATOR says) and runs a number of exchanges.
//   transport_exchange_client <exchanges>
// Exit code: 0 all done, 1 mouse not found, 2 an exchange failed, 3 bad arguments.
#include <cstdio>
#include <cstdlib>

#include "middleware/transport/commands.h"
#include "middleware/transport/device_ids.h"
#include "middleware/transport/win/system_transport.h"

int main(int argc, char** argv) {
  using namespace quill;
  if (argc != 2) return 3;
  const int exchanges = std::atoi(argv[1]);
  if (exchanges <= 0) return 3;
  std::unique_ptr<DriverHandler> handler = CreateSystemDriverHandler();
  if (Failed(handler->Initialise(QUILLFERN_PID))) return 1;
  for (int i = 0; i < exchanges; ++i) {
    FeatureReport report = i % 2 ? BuildPerformanceRead() : BuildProfileRead(1);
    const HResult hr = handler->GetFeatureRaw(report, report.size(), false);
    if (Failed(hr)) {
      std::fprintf(stderr, "exchange %d failed: 0x%08lX\n", i, static_cast<unsigned long>(hr));
      return 2;
    }
  }
  return 0;
}
