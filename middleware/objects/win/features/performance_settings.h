// CPerformanceSettings (IPerformanceSettings): the Windows pointer speed and acceleration of
// the logged-on user (SystemParametersInfoW, saved and broadcast). The mouse's own settings
// are not reached from here; the remaining methods are not provided (E_NOTIMPL).
#pragma once
#include <ServerLib.h>

#include "middleware/objects/win/com/com_object.h"
#include "middleware/objects/win/com/connection_point.h"

namespace quill::server {

class CDeviceType;

class CPerformanceSettings final
    : public com::ComObject<IPerformanceSettings,
                            com::EventSource<_IPerformanceSettingsEvents>> {
 public:
  explicit CPerformanceSettings(CDeviceType&) {}

  STDMETHODIMP SetWindowsPointerSpeed(LONG lSpeed) override;
  STDMETHODIMP GetWindowsPointerSpeed(LONG* lpSpeed) override;
  STDMETHODIMP SetAccelerationControl(LONG lControl) override;
  STDMETHODIMP GetAccelerationStatus(LONG* lpStatus) override;
  // Levels 0 to 10 as mouse triples (threshold 1, threshold 2, acceleration).
  STDMETHODIMP SetAcceleration(LONG lAcceleration) override;
  STDMETHODIMP GetAcceleration(LONG* lpAcceleration) override;

  STDMETHODIMP SetSensitivity(LONG) override { return E_NOTIMPL; }
  STDMETHODIMP GetSensitivity(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP SetXYMasterSensitivityControl(LONG) override { return E_NOTIMPL; }
  STDMETHODIMP GetXYMasterSensitivityStatus(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP SetXYSensitivity(LONG, LONG) override { return E_NOTIMPL; }
  STDMETHODIMP GetXYSensitivity(LONG*, LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP SetUniversalScrollControl(LONG) override { return E_NOTIMPL; }
  STDMETHODIMP GetUniversalScrollStatus(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP SetScrollSpeed(LONG) override { return E_NOTIMPL; }
  STDMETHODIMP GetScrollSpeed(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP SetOnTheFlySensitivityShowOnScreenControl(LONG) override { return E_NOTIMPL; }
  STDMETHODIMP GetOnTheFlySensitivityShowOnScreenStatus(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP SetDoubleClickSpeed(LONG) override { return E_NOTIMPL; }
  STDMETHODIMP GetDoubleClickSpeed(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP SetAutoSwitchControl(LONG) override { return E_NOTIMPL; }
  STDMETHODIMP GetAutoSwitchStatus(LONG*) override { return E_NOTIMPL; }
  STDMETHODIMP SetOnScreenDisplayControl(LONG) override { return E_NOTIMPL; }
  STDMETHODIMP GetOnScreenDisplayStatus(LONG*) override { return E_NOTIMPL; }
};

}  // namespace quill::server
