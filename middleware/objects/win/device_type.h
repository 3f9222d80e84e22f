// CDeviceType, the object behind IDeviceType: opens the mouse on a product ID, answers the
// device-information queries, and makes the feature objects (one slot per kind).
#pragma once
#include <ServerLib.h>

#include <array>
#include <memory>

#include "middleware/objects/device_type_core.h"
#include "middleware/objects/win/com/com_object.h"
#include "middleware/objects/win/com/connection_point.h"
#include "middleware/objects/win/feature_slots.h"

namespace quill::server {

class CDeviceType final
    : public com::ComObject<IDeviceType, com::EventSource<_IDeviceTypeEvents>> {
 public:
  // Closed; every opening makes its handler with `make_handler`; feature objects come from
  // `makers`.
  CDeviceType(DeviceTypeCore::HandlerMaker make_handler, const FeatureMakerTable& makers);
  ~CDeviceType() override;

  // What feature objects reach through their device type object.
  DeviceTypeCore& core() { return core_; }
  DriverHandler* handler() const { return core_.handler(); }
  uint16_t pid() const { return core_.pid(); }
  // The object kept in a slot (null when there is none), e.g. the cached IMeridex.
  IUnknown* SlotObject(FeatureSlot slot) const;
  // Shared with feature objects, which may outlive this object when a client keeps them: holds
  // this object while it lives and null from the start of its destruction.
  const std::shared_ptr<CDeviceType*>& LifetimeHandle() const { return lifetime_; }

  // IDeviceType
  STDMETHODIMP OpenDeviceInterface(USHORT usPid) override;
  STDMETHODIMP CloseDeviceInterface() override;
  STDMETHODIMP SwitchToNextDevice() override;
  STDMETHODIMP GetDriverVersion(LPWSTR* ppszVersion) override;
  STDMETHODIMP GetHardwareId(LPWSTR* ppszHardware) override;
  STDMETHODIMP GetSerialNumber(LPWSTR* ppszSerial) override;
  STDMETHODIMP GetFirmwareVersion(LPWSTR* ppszVersion) override;
  STDMETHODIMP GetDeviceCapabilities(_TDeviceCapabilities* pCapabilities) override;
  STDMETHODIMP GetBusType(_TBusType* pType) override;
  STDMETHODIMP CreateProfileInterface(IProfile** ppProfile) override;
  STDMETHODIMP CreateMacroHandlingInterface(IMacroHandling** ppMacroHandling) override;
  STDMETHODIMP CreateUserActionInterface(IUserAction** ppUserAction) override;
  STDMETHODIMP CreateDefaultModeInterface(IDefaultMode** ppDefaultMode) override;
  STDMETHODIMP CreateWirelessDistanceInterface(IWirelessDistance** ppWirelessDistance) override;
  STDMETHODIMP CreateBatteryInterface(IBattery** ppBattery) override;
  STDMETHODIMP CreateMeridexInterface(IMeridex** ppMeridex) override;
  STDMETHODIMP CreateOTFSInterface(IOTFS** ppOTFS) override;
  STDMETHODIMP CreatePollingRateInterface(IPollingRate** ppPollingRate) override;
  STDMETHODIMP IsConnected(LONG* pIsConnected) override;
  STDMETHODIMP CreateSensorRomSwitchingInterface(
      ISensorRomSwitching** ppSensorRomSwitching) override;

 private:
  // The factory methods: a new object per call (the IMeridex one is reused while it exists),
  // its interface I to the caller, the object kept in its slot with a reference of its own
  // (IPollingRate: a plain pointer that is never used). A replaced object is released.
  template <class I>
  HRESULT CreateFeature(FeatureSlot slot, I** out);

  const FeatureMakerTable& makers_;
  std::array<com::ComPtr<IUnknown>, kFeatureSlotCount> slots_;
  // The last IPollingRate handed out; not owned, may be gone, never dereferenced.
  IPollingRate* last_polling_rate_ = nullptr;
  DeviceTypeCore core_;
  std::shared_ptr<CDeviceType*> lifetime_ = std::make_shared<CDeviceType*>(this);
};

}  // namespace quill::server
