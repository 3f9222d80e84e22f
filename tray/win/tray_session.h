// The tray's device session: the shared DeviceConnection (lists read from the mouse) plus the
// objects opened for events (IOTFS, IMeridex, the profile manager, the active profile's IDpi,
// IDefaultMode) and the sink advised on them. Everything is released exactly once by Drop().
#pragma once
#include <windows.h>

#include <ServerLib.h>

#include <array>

#include "common/win/device_connection.h"
#include "winsupport/com_ptr.h"
#include "tray/win/event_sink.h"

namespace quill::tray {

class TraySession {
 public:
  explicit TraySession(SinkOwner* owner) : owner_(owner) {}
  ~TraySession() { Drop(); }

  // Opens the Quillfern through a new DeviceEnumeration and reads its lists; true when present.
  bool Probe();
  // The objects for events; then AdviseEvents.
  void OpenTrayInterfaces();
  void AdviseEvents();
  void UnadviseEvents();
  void ReleaseTrayInterfaces();
  // UnadviseEvents, ReleaseTrayInterfaces, the lists and every session object.
  void Drop();

  // The middleware holds none of this process's objects any more (its DllCanUnloadNow): after
  // Drop() everything the session had is released.
  static bool MiddlewareIdle();

  // IsConnected of the device; false when it says no or fails.
  bool StillConnected();
  // IMeridexDpiTable::LoadDpiTable of the event IMeridex, in download mode.
  void LoadDpiTable();

  win::DeviceConnection& connection() { return connection_; }
  // The manager that gave the profile list's objects.
  IMeridexProfileManager* profileManager() const { return connection_.profileManager.Get(); }

 private:
  SinkOwner* owner_;
  win::DeviceConnection connection_;
  com::ComPtr<IOTFS> otfs_;
  com::ComPtr<IMeridex> meridex_;
  com::ComPtr<IMeridexProfileManager> trayManager_;
  com::ComPtr<IMeridexProfileObject> activeProfile_;
  com::ComPtr<IDpi> dpi_;
  com::ComPtr<IDefaultMode> defaultMode_;
  bool deviceOpenedForEvents_ = false;
  CSink* sink_ = nullptr;
  std::array<DWORD, 4> cookies_{};
};

}  // namespace quill::tray
