// CDpiSettings (IDpiSettings): the driver-side DPI table. Every request goes through the
// driver control channel, which this product never opens, so the requests report E_HANDLE;
// SetLevelList reports S_OK whatever the write gives, as callers expect.
#pragma once
#include <ServerLib.h>

#include "middleware/objects/win/com/com_object.h"
#include "middleware/objects/win/com/connection_point.h"
#include "middleware/objects/win/features/device_bound.h"

namespace quill::server {

class CDpiSettings final
    : public com::ComObject<IDpiSettings, com::EventSource<_IDpiSettingsEvents>>,
      private DeviceBound {
 public:
  explicit CDpiSettings(CDeviceType& owner) : DeviceBound(owner) {}

  STDMETHODIMP SetSettings(LONG lSettings) override;
  STDMETHODIMP GetSettings(LONG* lpSettings) override;
  // 0 and null stored first; a list only when the control read succeeds.
  STDMETHODIMP GetLevelList(LONG* lpNumLevels, LONG** lppLevels) override;
  STDMETHODIMP GetLevelListManaged(LONG* lpNumLevels, SAFEARRAY** lppLevels) override;
  // At most the 256 entries of the 1024-byte table (E_INVALIDARG beyond, or for a negative
  // count; E_POINTER for entries without a list).
  STDMETHODIMP SetLevelList(LONG lNumLevels, LONG* lpLevels) override;
};

}  // namespace quill::server
