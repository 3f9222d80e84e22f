// Tray figures with the emulated mouse present: the tray's processor time and private memory
// while idle for 60 s, and the time from a press of the mouse's DPI button (the emulator's
// control command returns once the keystroke is sent) to the X display's Show in OSD.dll's call
// log, over 20 presses, beside the floor the protocol allows (the middleware's 20 ms timer plus
// one read exchange, measured here through the middleware). Prints, never fails.
//
//   tray_bench [--idle-seconds N] [--presses N]
#include <windows.h>
#include <psapi.h>

#include <ServerLib.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "middleware/typelib/quillfern_ids.h"
#include "winsupport/com_ptr.h"
#include "tray/win/tests/osd_log.h"
#include "tray/win/tests/tray_test_support.h"

namespace {

using quill::tray::test::OsdLog;
using quill::tray::test::TrayFixture;

double Now() {
  LARGE_INTEGER f, c;
  QueryPerformanceFrequency(&f);
  QueryPerformanceCounter(&c);
  return static_cast<double>(c.QuadPart) * 1000.0 / static_cast<double>(f.QuadPart);
}

double CpuMs(HANDLE process) {
  FILETIME created, ended, kernel, user;
  GetProcessTimes(process, &created, &ended, &kernel, &user);
  auto ms = [](FILETIME t) { return (static_cast<double>(t.dwHighDateTime) * 4294967296.0 + t.dwLowDateTime) / 10000.0; };
  return ms(kernel) + ms(user);
}

DWORD Handles(HANDLE process) {
  DWORD count = 0;
  GetProcessHandleCount(process, &count);
  return count;
}

// Private memory, or the working set where the system reports no private figure (Wine).
struct Memory {
  size_t bytes = 0;
  const char* kind = "private memory";
};
Memory MemoryOf(HANDLE process) {
  PROCESS_MEMORY_COUNTERS_EX m{};
  m.cb = sizeof(m);
  GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&m), sizeof(m));
  if (m.PrivateUsage) return {m.PrivateUsage, "private memory"};
  return {m.WorkingSetSize, "working set (no private figure here)"};
}

std::string HandlesText(HANDLE process) {
  const DWORD n = Handles(process);
  return n ? std::to_string(n) : std::string("not reported here");
}

// Median time of one read exchange (the firmware version) through the middleware.
double ReadExchangeMs() {
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  std::vector<double> times;
  {
    quill::com::ComPtr<IDeviceEnumeration> e;
    quill::com::ComPtr<IDeviceType> device;
    if (SUCCEEDED(CoCreateInstance(CLSID_DeviceEnumeration, nullptr, CLSCTX_INPROC_SERVER, IID_IDeviceEnumeration, e.PutVoid())) &&
        SUCCEEDED(e->EnumDeviceType(quill::QUILLFERN_PID, device.Put())) &&
        SUCCEEDED(device->OpenDeviceInterface(quill::QUILLFERN_PID))) {
      for (int i = 0; i < 20; ++i) {
        LPWSTR text = nullptr;
        const double t0 = Now();
        device->GetFirmwareVersion(&text);
        times.push_back(Now() - t0);
        CoTaskMemFree(text);
      }
      device->CloseDeviceInterface();
    }
  }
  CoUninitialize();
  if (times.empty()) return -1;
  std::sort(times.begin(), times.end());
  return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
  int idleSeconds = 60, presses = 20;
  for (int i = 1; i + 1 < argc; i += 2) {
    if (!std::strcmp(argv[i], "--idle-seconds")) idleSeconds = std::atoi(argv[i + 1]);
    if (!std::strcmp(argv[i], "--presses")) presses = std::atoi(argv[i + 1]);
  }
  TrayFixture fixture;
  if (!fixture.ok()) {
    std::printf("tray_bench: no emulated mouse (%s)\n", fixture.error().c_str());
    return 0;
  }
  quill::tray::test::WriteProfileFiles({{u"", 0, 1, 0}, {u"", 0, 1, 0}, {u"", 0, 1, 0}});
  if (!fixture.StartTray()) {
    std::printf("tray_bench: the tray did not start\n");
    return 0;
  }
  HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ, FALSE, fixture.trayProcessId());
  if (!process) {
    std::printf("tray_bench: cannot open the tray's process\n");
    return 0;
  }
  const double cpu0 = CpuMs(process), wall0 = Now();
  const Memory mem0 = MemoryOf(process);
  Sleep(static_cast<DWORD>(idleSeconds) * 1000);
  const double cpu = CpuMs(process) - cpu0, wall = Now() - wall0;
  const Memory mem1 = MemoryOf(process);
  std::printf("idle %d s with the mouse present: processor %.1f ms (%.3f %% of one core); %s %.1f KiB -> %.1f KiB; handles %s\n",
              idleSeconds, cpu, 100.0 * cpu / wall, mem1.kind, mem0.bytes / 1024.0, mem1.bytes / 1024.0,
              HandlesText(process).c_str());

  std::vector<double> latencies;
  for (int i = 0; i < presses; ++i) {
    const OsdLog before(fixture.osdLog());
    const double t0 = Now();
    fixture.emulator().Ctl(i % 2 ? "press dpi-down" : "press dpi-up");
    bool shown = false;
    while (!shown && Now() - t0 < 10000) {   // the log read every 2 ms
      shown = OsdLog(fixture.osdLog()).Since(before).Shows(OsdLog::kX);
      if (!shown) Sleep(2);
    }
    if (shown) latencies.push_back(Now() - t0);
    Sleep(300);   // presses closer than 40 ms merge into one event
  }
  const double floor = 20.0 + ReadExchangeMs();
  if (latencies.empty()) {
    std::printf("DPI button to display: no display shown\n");
  } else {
    std::sort(latencies.begin(), latencies.end());
    std::printf("DPI button to display over %zu presses: median %.1f ms, worst %.1f ms (floor %.1f ms: 20 ms timer + one read exchange)\n",
                latencies.size(), latencies[latencies.size() / 2], latencies.back(), floor);
  }
  const Memory mem2 = MemoryOf(process);
  std::printf("after the presses: %s %.1f KiB; handles %s\n", mem2.kind, mem2.bytes / 1024.0, HandlesText(process).c_str());
  CloseHandle(process);
  return 0;
}
