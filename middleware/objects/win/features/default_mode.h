// CDefaultMode (IDefaultMode): the default-mode switch is not offered by this mouse (Enable and
// Disable succeed and do nothing); download mode exists only on the firmware-download product.
#pragma once
#include <ServerLib.h>

#include "middleware/objects/win/com/com_object.h"
#include "middleware/objects/win/com/connection_point.h"
#include "middleware/objects/win/features/device_bound.h"

namespace quill::server {

class CDefaultMode final
    : public com::ComObject<IDefaultMode, com::EventSource<_IDefaultModeEvents>>,
      private DeviceBound {
 public:
  explicit CDefaultMode(CDeviceType& owner) : DeviceBound(owner) {}

  STDMETHODIMP Enable() override { return S_OK; }
  STDMETHODIMP Disable() override { return S_OK; }
  STDMETHODIMP IsInDefaultMode(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP EnableDownloadMode() override { return SetDownloadMode(true); }
  STDMETHODIMP DisableDownloadMode() override { return SetDownloadMode(false); }

 private:
  HRESULT SetDownloadMode(bool enter);
};

}  // namespace quill::server
