// CMeridex (IMeridex, IMeridexDpiTable): the on-board memory of the mouse. It hands out profile
// and macro managers, keeps the per-profile DPI table, and, as a listener of the device
// monitor, fires _IMeridexEvents::OnMeridexEvent when the mouse reports a change.
#pragma once
#include <ServerLib.h>

#include <string>

#include "middleware/objects/device/dpi_table.h"
#include "middleware/objects/win/com/com_object.h"
#include "middleware/objects/win/com/connection_point.h"
#include "middleware/objects/win/features/device_bound.h"
#include "middleware/objects/win/features/device_monitor.h"

namespace quill::server {

class CMeridex final
    : public com::ComObject<IMeridex, IMeridexDpiTable, com::EventSource<_IMeridexEvents>>,
      private DeviceBound,
      private DeviceEventListener {
 public:
  // Takes a copy of the device path of the owner's handler (empty without one).
  explicit CMeridex(CDeviceType& owner);
  // Leaves the device monitor.
  ~CMeridex() override;

  // Joins the device monitor; its result (the factory hands the object out either way).
  HRESULT RegisterWithMonitor();
  HRESULT registration() const { return registration_; }
  const device::DpiTable& dpi_table() const { return table_; }

  // IMeridex
  STDMETHODIMP GetTotalSpace(LONG* lpTotalSpace) override;
  STDMETHODIMP GetRemainingSpace(LONG* lpRemainingSpace) override;
  STDMETHODIMP CreateInterfaceInstance(REFIID iid, IUnknown** ppInterface) override;
  // IMeridexDpiTable
  STDMETHODIMP LoadDpiTable() override;

 private:
  void ListenerAddRef() override { AddRef(); }
  void ListenerRelease() override { Release(); }
  void OnDeviceEvent() override;

  std::u16string path_;
  device::DpiTable table_;
  HRESULT registration_ = E_FAIL;
  bool registered_ = false;
};

// The maker of the device type's IMeridex slot: a new CMeridex registered with the monitor.
HRESULT MakeMeridex(CDeviceType& owner, IUnknown** object);

}  // namespace quill::server
