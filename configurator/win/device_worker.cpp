#include "configurator/win/device_worker.h"

#include <objbase.h>

#include "common/dat_files.h"
#include "common/win/program_windows.h"
#include "common/win/registry_settings.h"
#include "middleware/typelib/quillfern_ids.h"

namespace quill::cfg::win {

DeviceWorker::DeviceWorker(HWND dialog, SessionFlags& flags, Translator* translator, std::u16string installFolder)
    : dialog_(dialog), flags_(flags), translator_(translator), tray_(std::move(installFolder)) {
  middleware_.saveProfileFiles = [this] { SaveFiles(); };
}

bool DeviceWorker::Start() {
  if (thread_) return true;
  stop_ = quill::win::KernelHandle(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  if (!stop_) return false;
  thread_ = quill::win::KernelHandle(CreateThread(nullptr, 0, &DeviceWorker::ThreadMain, this, 0, nullptr));
  return static_cast<bool>(thread_);
}

void DeviceWorker::Stop() {
  if (!thread_) return;
  SetEvent(stop_.Get());
  while (!quill::win::PumpingWaitFor(thread_.Get(), INFINITE)) {
    // WM_QUIT arrived while waiting: it stays queued for the caller; the thread is still waited for.
    if (WaitForSingleObject(thread_.Get(), 100) == WAIT_OBJECT_0) break;
  }
  thread_.Reset();
}

DWORD WINAPI DeviceWorker::ThreadMain(void* self) {
  try {
    static_cast<DeviceWorker*>(self)->Run();
  } catch (...) {
  }
  return 0;
}

void DeviceWorker::Run() {
  const bool com = SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED));
  WorkerState state;
  // A second at a time, dispatching the thread's messages (the middleware's hook and COM need
  // them), until the stop event is set.
  while (!quill::win::PumpingWaitFor(stop_.Get(), 1000)) {
    HandleCommand(flags_.command, state, [this] { Open(); }, [this] { Apply(); });
  }
  {
    std::lock_guard<std::mutex> lock(deviceLock_);
    middleware_.ReleasePolling();
    connection_.Release();
  }
  if (com) CoUninitialize();
}

void DeviceWorker::Open() {
  auto report = std::make_unique<OpenedReport>();
  {
    std::lock_guard<std::mutex> lock(deviceLock_);
    middleware_.ReleasePolling();
    connection_.Open(QUILLFERN_PID, ALTERNATE_PID);
    AdoptSessionLinks(connection_.lists);
    if (connection_.mainConnected) middleware_.Polling();
    state_.rate = middleware_.GetRate().value_or(0);
    LONG connected = 0;
    if (connection_.mainDevice && SUCCEEDED(connection_.mainDevice->IsConnected(&connected)))
      connection_.mainConnected = connected ? 1 : 0;
    flags_.mainConnected = connection_.mainConnected != 0;
    flags_.alternateConnected = connection_.alternateConnected != 0;
    state_.activeIndex = connection_.activeIndex;
    if (connection_.mainConnected) {
      if (std::u16string folder = quill::win::RoamingAppDataFolder(); !folder.empty())
        LoadProfileFiles(files_, folder, connection_.lists, translator_);
    }
    if (connection_.performance) {
      LONG control = 0, level = 5;
      if (SUCCEEDED(connection_.performance->GetAccelerationStatus(&control))) report->accelerationControl = control;
      if (SUCCEEDED(connection_.performance->GetAcceleration(&level))) report->acceleration = level;
    }
    report->versions = {connection_.firmwareMain, connection_.firmwareAlternate, connection_.driverVersion};
    report->rate = state_.rate;
    report->selectedRow = connection_.activeIndex;   // no profile is deleted yet: rows are positions
    if (connection_.activeIndex >= 0) {
      const ProfileEntry* active = connection_.lists.profiles.At(static_cast<size_t>(connection_.activeIndex));
      if (active && active->pDpiStages) {
        DpiStages stages = *active->pDpiStages;
        ClampStages(stages);
        if (stages.lCurrentStage >= 1) {
          const SensitivityPair& s = stages.Sensitivity[static_cast<size_t>(stages.lCurrentStage - 1)];
          report->hasStage = true;
          report->stageX = s.ulXSensitivity;
          report->stageY = s.ulYSensitivity;
        }
      }
    }
  }
  flags_.opened = true;
  if (PostMessageW(dialog_, UM_CFG_OPENED, 0, reinterpret_cast<LPARAM>(report.get()))) report.release();
}

void DeviceWorker::Apply() {
  {
    std::lock_guard<std::mutex> lock(deviceLock_);
    ApplyPorts ports{middleware_, tray_, clock_, flags_};
    ApplySettings(ports, connection_.lists, inputs_, state_);
  }
  PostMessageW(dialog_, UM_CFG_APPLIED, static_cast<WPARAM>(state_.rate), 0);
}

void DeviceWorker::SaveFiles() {
  if (std::u16string folder = quill::win::RoamingAppDataFolder(); !folder.empty())
    SaveProfileFiles(files_, folder, connection_.lists);
}

bool DeviceWorker::Port::MainDeviceExists() {
  std::unique_lock<std::mutex> lock(w_.deviceLock_, std::try_to_lock);
  if (!lock) return true;   // busy with the device: nothing to decide now
  return static_cast<bool>(w_.connection_.mainDevice);
}

bool DeviceWorker::Port::IsMainConnected() {
  std::unique_lock<std::mutex> lock(w_.deviceLock_, std::try_to_lock);
  if (!lock) return true;
  LONG connected = 0;
  return w_.connection_.mainDevice && SUCCEEDED(w_.connection_.mainDevice->IsConnected(&connected)) && connected;
}

std::optional<int32_t> DeviceWorker::Port::GetRate() {
  std::unique_lock<std::mutex> lock(w_.deviceLock_, std::try_to_lock);
  if (!lock) return std::nullopt;
  return w_.middleware_.GetRate();
}

bool DeviceWorker::Port::ProbeDevice() { return quill::win::ProbeDevice(QUILLFERN_PID) == 1; }

}  // namespace quill::cfg::win
