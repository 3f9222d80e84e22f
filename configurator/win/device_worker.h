// The DeviceWorker thread of the main dialog: it owns the device session (every middleware
// object is created, used and released on this thread, in its own apartment), looks at the
// command word once a second and opens the connection (1) or applies the settings (2). It never
// touches a window: what the dialog shows travels in messages it posts.
//
// The watchdog on the main thread asks about the connection through watchdogPort(); while the
// worker is busy with the device those questions get the answers that decide nothing.
#pragma once
#include <windows.h>

#include <memory>
#include <mutex>
#include <string>

#include "common/file_system.h"
#include "common/win/device_connection.h"
#include "configurator/apply_settings.h"
#include "configurator/watchdog.h"
#include "configurator/win/com_middleware.h"
#include "configurator/win/tray_port_win.h"
#include "winsupport/handles.h"

namespace quill {
class Translator;
}

namespace quill::cfg::win {

// Posted to the dialog (lParam: a heap OpenedReport the dialog takes over) when the opening ended.
constexpr UINT UM_CFG_OPENED = WM_APP + 1;
// Posted when an apply ended; wParam: the polling rate in effect.
constexpr UINT UM_CFG_APPLIED = WM_APP + 2;

struct OpenedReport {
  DeviceVersions versions;
  int32_t rate = 0;
  int32_t accelerationControl = 0;  // defaults before the reads
  int32_t acceleration = 5;
  ptrdiff_t selectedRow = -1;       // row of the active profile
  bool hasStage = false;            // the selected profile's current stage, in DPI
  uint32_t stageX = 0, stageY = 0;
};

class DeviceWorker {
 public:
  DeviceWorker(HWND dialog, SessionFlags& flags, Translator* translator, std::u16string installFolder);
  ~DeviceWorker() { Stop(); }
  DeviceWorker(const DeviceWorker&) = delete;
  DeviceWorker& operator=(const DeviceWorker&) = delete;

  bool Start();
  // Signals the thread and waits, dispatching this thread's messages, until it has ended: a
  // middleware call under way is never cut short (the device exchange holds a system-wide lock).
  void Stop();

  // Main thread, before it writes command 2: the dialog's values the apply uses.
  void SetApplyInputs(const ApplyInputs& inputs) { inputs_ = inputs; }

  WatchdogPort& watchdogPort() { return port_; }

 private:
  class Port final : public WatchdogPort {
   public:
    explicit Port(DeviceWorker& worker) : w_(worker) {}
    bool MainDeviceExists() override;
    bool IsMainConnected() override;
    std::optional<int32_t> GetRate() override;
    bool ProbeDevice() override;

   private:
    DeviceWorker& w_;
  };

  static DWORD WINAPI ThreadMain(void* self);
  void Run();
  void Open();
  void Apply();
  void SaveFiles();

  HWND dialog_;
  SessionFlags& flags_;
  Translator* translator_;
  quill::win::KernelHandle stop_;
  quill::win::KernelHandle thread_;
  std::mutex deviceLock_;   // held while the worker talks to the device
  quill::win::DeviceConnection connection_;
  ComConfigMiddleware middleware_{connection_};
  WinTrayPort tray_;
  PumpingClock clock_;
  DiskFileSystem files_;
  ApplyInputs inputs_;
  ApplyState state_;
  Port port_{*this};
};

}  // namespace quill::cfg::win
