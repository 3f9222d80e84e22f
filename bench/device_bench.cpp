// Device figures: reading the whole mouse as the configuration program does when it opens
// (every profile with its name, LEDs, DPI stages and button mappings, then every macro with its
// name and events) and writing one profile completely (name, LEDs, stages, mappings). For each:
// the exchanges made, the wall time and the time beyond the pauses the protocol prescribes.
// Prints, never fails.
//
//   device_bench [--macros N]      (N macros on the mouse, 70 unless told)
// Native build: the in-process emulator and the standard clock. Windows build: a
// QuillfernEmulator.exe of its own, reached through its pipe as the middleware reaches a mouse.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "bench/full_mouse.h"
#include "bench/measured_clock.h"
#include "emulator/device_state.h"
#include "emulator/in_process_port.h"
#include "emulator/quillfern_model.h"
#include "middleware/objects/device/button_entries.h"
#include "middleware/objects/device/macro_manager.h"
#include "middleware/objects/device/macro_object.h"
#include "middleware/objects/device/macro_stream.h"
#include "middleware/objects/device/performance_features.h"
#include "middleware/objects/device/profile_manager.h"
#include "middleware/transport/device_ids.h"
#include "middleware/transport/driver_handler.h"

#ifdef _WIN32
#include <windows.h>
#undef Yield
#include "emulator/state_file.h"
#include "emulator/win/emulator_process.h"
#include "middleware/transport/win/named_mutex_lock.h"
#include "middleware/transport/win/system_transport.h"
#else
#include "middleware/transport/local_device_lock.h"
#endif

namespace {

using namespace quill;
using namespace quill::layout;
using Ms = std::chrono::duration<double, std::milli>;

using bench::MeasuredClock;

// Counts the exchanges the device features make.
class CountingChannel : public FeatureChannel {
 public:
  explicit CountingChannel(FeatureChannel& inner) : inner_(inner) {}
  HResult SetFeatureRaw(FeatureReport& report, size_t length, bool recover) override {
    return Count(inner_.SetFeatureRaw(report, length, recover));
  }
  HResult GetFeatureRaw(FeatureReport& report, size_t length, bool recover) override {
    return Count(inner_.GetFeatureRaw(report, length, recover));
  }
  unsigned exchanges = 0, failures = 0;

 private:
  HResult Count(HResult hr) {
    ++exchanges;
    failures += Failed(hr);
    return hr;
  }
  FeatureChannel& inner_;
};

struct Figures {
  unsigned exchanges = 0, failures = 0;
  double wall_ms = 0, pauses_ms = 0;
};

// What the configuration program reads when it opens the mouse.
void ReadWholeMouse(FeatureChannel& mouse, unsigned& profiles, unsigned& macros) {
  int32_t active = 0;
  std::u16string name;
  if (Succeeded(device::GetActiveProfileNumber(mouse, active))) device::GetProfileName(mouse, active, name);
  profiles = 0;
  for (int32_t index = 0;; ++index) {
    int32_t slot = 0;
    if (Failed(device::GetProfileByIndex(mouse, index, slot))) break;
    int32_t leds = 0;
    device::GetLedStatus(mouse, slot, leds);
    device::DpiStageRecord stages;
    bool filled = false;
    device::GetDpiStages(mouse, slot, stages, filled);
    device::GetProfileName(mouse, slot, name);
    std::vector<device::ButtonMappingRecord> mappings;
    device::GetProfileMappings(mouse, slot, mappings);
    ++profiles;
  }
  device::MacroManager manager;
  macros = 0;
  for (int32_t index = 0;; ++index) {
    int32_t id = 0;
    if (Failed(manager.GetMacroByIndex(mouse, index, id))) break;
    device::GetMacroName(mouse, id - 1, name);
    device::MacroRecord macro;
    device::GetMacro(mouse, id - 1, macro);
    ++macros;
  }
}

// Everything the apply writes for one edited profile.
void WriteOneProfile(FeatureChannel& mouse) {
  device::SetProfileName(mouse, 2, u"Benchmark");
  device::SetLedStatus(mouse, 2, 5);
  device::DpiStageRecord stages;
  stages.ulTotalStages = 5;
  stages.lCurrentStage = 2;
  stages.lDefaultStage = 2;
  for (uint32_t i = 0; i < 5; ++i) stages.Sensitivity[i] = {400 + 400 * i, 400 + 400 * i};
  device::SetDpiStages(mouse, 2, stages);
  std::vector<device::ButtonMappingRecord> mappings;
  device::GetProfileMappings(mouse, 2, mappings);
  device::SetProfileMappings(mouse, 2, mappings);
}

template <class Work>
Figures Measure(DriverHandler& handler, MeasuredClock& clock, Work work) {
  CountingChannel counted(handler);
  const uint64_t pauses_before = clock.requested();
  const auto start = std::chrono::steady_clock::now();
  work(counted);
  Figures f;
  f.wall_ms = Ms(std::chrono::steady_clock::now() - start).count();
  f.pauses_ms = static_cast<double>(clock.requested() - pauses_before);
  f.exchanges = counted.exchanges;
  f.failures = counted.failures;
  return f;
}

void Print(const char* what, const Figures& f) {
  std::printf("%-34s %5u exchanges (%u failed)  %9.1f ms wall, %9.1f ms prescribed pauses, "
              "%8.1f ms beyond them (%.3f ms an exchange)\n",
              what, f.exchanges, f.failures, f.wall_ms, f.pauses_ms, f.wall_ms - f.pauses_ms,
              f.exchanges ? (f.wall_ms - f.pauses_ms) / f.exchanges : 0.0);
}

}  // namespace

int main(int argc, char** argv) {
  int macros = 70;
  for (int i = 1; i + 1 < argc; ++i)
    if (std::strcmp(argv[i], "--macros") == 0) macros = std::clamp(std::atoi(argv[i + 1]), 0, 70);
  const emu::DeviceState mouse = bench::FullMouse(macros);

#ifdef _WIN32
  emu::EmulatorOptions options;
  options.initial_state = emu::FormatStateText(mouse);
  options.keystrokes = false;
  emu::EmulatorProcess emulator(options);
  if (!emulator.ok()) {
    std::printf("device_bench: QuillfernEmulator.exe did not start (%s)\n", emulator.error().c_str());
    return 0;
  }
  emulator.SetEnvironment();
  std::unique_ptr<HidPort> port = CreateSystemHidPort();
  win::NamedMutexDeviceLock lock;
  const char* where = "QuillfernEmulator.exe (pipe)";
#else
  emu::QuillfernModel model(mouse);
  auto port = std::make_unique<emu::InProcessPort>(model, 1);
  LocalLockState lock_state;
  LocalDeviceLock lock(lock_state);
  const char* where = "in-process emulator";
#endif
  bench::RealClock real;
  MeasuredClock clock(real);
  DriverHandler handler(*port, lock, clock);
  if (Failed(handler.Initialise(QUILLFERN_PID))) {
    std::printf("device_bench: mouse not found\n");
    return 0;
  }
  std::printf("device_bench: %s, 5 profiles and %d macros of 16 events\n", where, macros);
  unsigned profiles_read = 0, macros_read = 0;
  const Figures read = Measure(handler, clock, [&](FeatureChannel& c) { ReadWholeMouse(c, profiles_read, macros_read); });
  char label[64];
  std::snprintf(label, sizeof label, "read (%u profiles, %u macros)", profiles_read, macros_read);
  Print(label, read);
  Print("write one profile completely", Measure(handler, clock, WriteOneProfile));
  return 0;
}
