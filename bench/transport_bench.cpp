// Transport figures: the time one read and one write exchange take beyond the pauses the
// protocol prescribes, and the processor time a second client burns while it waits for the
// device lock. Prints, never fails.
//
//   transport_bench [--exchanges N]
// Native build: the in-process emulator, the standard clock and a process-local lock.
// Windows build: the system port on the emulator's pipe: the QuillfernEmulator.exe that
// QUILLFERN_EMULATOR names, or one the benchmark starts (the in-process emulator when that
// fails); the named-mutex lock and the Windows clock.
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include "bench/measured_clock.h"
#include "emulator/in_process_port.h"
#include "emulator/quillfern_model.h"
#include "middleware/transport/commands.h"
#include "middleware/transport/device_ids.h"
#include "middleware/transport/driver_handler.h"

#ifdef _WIN32
#include <windows.h>
#undef Yield
#include "emulator/win/emulator_process.h"
#include "middleware/transport/win/named_mutex_lock.h"
#include "middleware/transport/win/system_transport.h"
#else
#include <sys/resource.h>

#include "middleware/transport/local_device_lock.h"
#endif

namespace {

using namespace quill;
using Ms = std::chrono::duration<double, std::milli>;
using bench::MeasuredClock;
using bench::RealClock;

// Processor time (user + kernel) of the calling thread, in milliseconds.
double ThreadCpuMs() {
#ifdef _WIN32
  FILETIME created, exited, kernel, user;
  if (!GetThreadTimes(GetCurrentThread(), &created, &exited, &kernel, &user)) return -1;
  auto ticks = [](const FILETIME& f) {
    return (static_cast<uint64_t>(f.dwHighDateTime) << 32) | f.dwLowDateTime;
  };
  return static_cast<double>(ticks(kernel) + ticks(user)) / 10000.0;
#else
  rusage usage{};
  if (getrusage(RUSAGE_THREAD, &usage) != 0) return -1;
  auto ms = [](const timeval& t) { return t.tv_sec * 1000.0 + t.tv_usec / 1000.0; };
  return ms(usage.ru_utime) + ms(usage.ru_stime);
#endif
}

// The waiter of the lock as it was before it gave the processor away: neither the yields nor
// the 1 ms pauses between lock attempts happen, so it tries again at once. (No pause of the
// protocol is 1 ms long, so only those pauses are skipped.)
class SpinningClock : public MeasuredClock {
 public:
  using MeasuredClock::MeasuredClock;
  void Yield() override {}
  void Sleep(uint32_t ms) override {
    if (ms != kLockRetrySleepMs) MeasuredClock::Sleep(ms);
  }
};

#ifdef _WIN32
struct LockFactory {
  std::unique_ptr<DeviceLock> Make() { return std::make_unique<win::NamedMutexDeviceLock>(); }
  const char* name = "named mutex";
};
#else
struct LockFactory {
  LocalLockState state;
  std::unique_ptr<DeviceLock> Make() { return std::make_unique<LocalDeviceLock>(state); }
  const char* name = "process-local lock";
};
#endif

// Where the handlers find the mouse.
struct Device {
  emu::QuillfernModel model;
  bool system = false;
  std::unique_ptr<HidPort> MakePort(uint32_t client) {
#ifdef _WIN32
    if (system) return CreateSystemHidPort();
#endif
    return std::make_unique<emu::InProcessPort>(model, client);
  }
  const char* Name() const { return system ? "QuillfernEmulator.exe (pipe)" : "in-process emulator"; }
};

void TimeExchanges(Device& device, LockFactory& locks, const char* label, bool write, int count) {
  RealClock real;
  MeasuredClock clock(real);
  auto port = device.MakePort(1);
  auto lock = locks.Make();
  DriverHandler handler(*port, *lock, clock);
  if (Failed(handler.Initialise(QUILLFERN_PID))) {
    std::printf("%-6s exchange: mouse not found\n", label);
    return;
  }
  const uint64_t before = clock.requested();
  int failures = 0;
  const auto start = std::chrono::steady_clock::now();
  for (int i = 0; i < count; ++i) {
    FeatureReport report = write ? BuildDownloadMode(false) : BuildPerformanceRead();
    const HResult hr = write ? handler.SetFeatureRaw(report, report.size(), false)
                             : handler.GetFeatureRaw(report, report.size(), false);
    failures += Failed(hr);
  }
  const double wall = Ms(std::chrono::steady_clock::now() - start).count();
  const double pauses = static_cast<double>(clock.requested() - before);
  std::printf("%-6s exchange: %7.2f ms each, of which prescribed pauses %6.1f ms, beyond them "
              "%6.3f ms (%d exchanges, %d failed)\n",
              label, wall / count, pauses / count, (wall - pauses) / count, count, failures);
}

// One client holds the lock for `hold_ms`; a second client, already connected, runs one
// exchange meanwhile.
void TimeLockWait(Device& device, LockFactory& locks, bool spinning, uint32_t hold_ms) {
  std::atomic<bool> ready{false}, held{false};
  double cpu = 0, wall = 0;
  HResult hr = kE_FAIL;
  std::thread waiter([&] {
    RealClock real;
    std::unique_ptr<MeasuredClock> clock = spinning ? std::make_unique<SpinningClock>(real)
                                                    : std::make_unique<MeasuredClock>(real);
    auto port = device.MakePort(2);
    auto lock = locks.Make();
    DriverHandler handler(*port, *lock, *clock);
    handler.EnumTvDevices(VENDOR_ID, QUILLFERN_PID);
    ready = true;
    while (!held) std::this_thread::yield();
    const double cpu_start = ThreadCpuMs();
    const auto start = std::chrono::steady_clock::now();
    FeatureReport report = BuildPerformanceRead();
    hr = handler.GetFeatureRaw(report, report.size(), false);
    wall = Ms(std::chrono::steady_clock::now() - start).count();
    cpu = ThreadCpuMs() - cpu_start;
  });
  {
    RealClock clock;
    auto lock = locks.Make();
    while (!ready) std::this_thread::yield();
    while (lock->TryAcquire() != DeviceLock::Attempt::kAcquired) clock.Yield();
    held = true;
    clock.Sleep(hold_ms);
    lock->Release();
  }
  waiter.join();
  std::printf("lock wait (%s): exchange took %7.1f ms with the lock held %u ms by another "
              "client; the waiting client used %7.1f ms of processor time (%3.0f%% of a core)%s\n",
              spinning ? "spinning, as before" : "yielding", wall, hold_ms, cpu,
              wall > 0 ? 100.0 * cpu / wall : 0.0, Succeeded(hr) ? "" : " [exchange failed]");
}

}  // namespace

int main(int argc, char** argv) {
  int count = 20;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--exchanges") == 0) count = std::max(1, std::atoi(argv[i + 1]));

  Device device;
#ifdef _WIN32
  // Without a running emulator named by QUILLFERN_EMULATOR, start one of our own.
  std::unique_ptr<emu::EmulatorProcess> own_emulator;
  if (EmulatorPipeName().empty()) {
    own_emulator = std::make_unique<emu::EmulatorProcess>();
    if (own_emulator->ok()) own_emulator->SetEnvironment();
    else std::printf("QuillfernEmulator.exe did not start (%s)\n", own_emulator->error().c_str());
  }
  device.system = !EmulatorPipeName().empty();
#endif
  LockFactory locks;
  std::printf("transport_bench: %s, %s\n", device.Name(), locks.name);
  TimeExchanges(device, locks, "read", false, count);
  TimeExchanges(device, locks, "write", true, std::max(1, count / 2));
  TimeLockWait(device, locks, false, 1000);
  TimeLockWait(device, locks, true, 1000);
  return 0;
}
