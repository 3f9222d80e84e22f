#include "middleware/objects/win/device_type.h"

#include <type_traits>
#include <utility>

#include "winsupport/co_task_string.h"

namespace quill::server {

CDeviceType::CDeviceType(DeviceTypeCore::HandlerMaker make_handler,
                         const FeatureMakerTable& makers)
    : makers_(makers), core_(std::move(make_handler), this) {}

CDeviceType::~CDeviceType() {
  *lifetime_ = nullptr;  // feature objects that are still held see that the device type is gone
  // The handler goes first, then the slot objects; the sinks go with the connection point.
  core_.Close();
  for (com::ComPtr<IUnknown>& slot : slots_) slot.Reset();
}

IUnknown* CDeviceType::SlotObject(FeatureSlot slot) const {
  return slots_[static_cast<size_t>(slot)].Get();
}

template <class I>
HRESULT CDeviceType::CreateFeature(FeatureSlot slot, I** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  com::ComPtr<IUnknown>& kept = slots_[static_cast<size_t>(slot)];
  if constexpr (std::is_same_v<I, IMeridex>) {
    if (kept) return kept->QueryInterface(__uuidof(I), reinterpret_cast<void**>(out));
  }
  const FeatureMaker make = makers_[static_cast<size_t>(slot)];
  if (!make) return E_NOTIMPL;
  com::ComPtr<IUnknown> object;
  HRESULT hr = make(*this, object.Put());
  if (FAILED(hr)) return hr;
  if (!object) return E_OUTOFMEMORY;
  I* handed = nullptr;
  hr = object->QueryInterface(__uuidof(I), reinterpret_cast<void**>(&handed));
  if (FAILED(hr) || !handed) return FAILED(hr) ? hr : E_NOINTERFACE;
  if constexpr (std::is_same_v<I, IPollingRate>) {
    last_polling_rate_ = handed;
  } else {
    kept = std::move(object);  // the creation reference stays with the slot
  }
  *out = handed;
  return S_OK;
}

STDMETHODIMP CDeviceType::OpenDeviceInterface(USHORT usPid) { return core_.Open(usPid); }

STDMETHODIMP CDeviceType::CloseDeviceInterface() {
  core_.Close();
  return S_OK;
}

STDMETHODIMP CDeviceType::SwitchToNextDevice() { return E_NOTIMPL; }

STDMETHODIMP CDeviceType::GetDriverVersion(LPWSTR* ppszVersion) {
  return com::CoTaskStringDup(kDriverVersion, ppszVersion);
}

STDMETHODIMP CDeviceType::GetHardwareId(LPWSTR* ppszHardware) {
  if (!ppszHardware) return E_POINTER;
  *ppszHardware = nullptr;
  std::u16string text;
  const HRESULT hr = core_.HardwareId(text);
  if (FAILED(hr)) return hr;
  return com::CoTaskStringDup(text, ppszHardware);
}

STDMETHODIMP CDeviceType::GetSerialNumber(LPWSTR* ppszSerial) {
  if (!ppszSerial) return E_POINTER;
  *ppszSerial = nullptr;
  std::u16string text;
  const HRESULT hr = core_.SerialNumber(text);
  if (FAILED(hr)) return hr;
  return com::CoTaskStringCopy(text, kSerialNumberChars, ppszSerial);
}

STDMETHODIMP CDeviceType::GetFirmwareVersion(LPWSTR* ppszVersion) {
  if (!ppszVersion) return E_POINTER;
  *ppszVersion = nullptr;
  std::u16string text;
  const HRESULT hr = core_.FirmwareVersion(text);
  if (FAILED(hr)) return hr;
  return com::CoTaskStringCopy(text, kFirmwareVersionChars, ppszVersion);
}

STDMETHODIMP CDeviceType::GetDeviceCapabilities(_TDeviceCapabilities* pCapabilities) {
  if (!pCapabilities) return E_POINTER;
  const DeviceCapabilityValues values = CapabilitiesFor(core_.pid());
  pCapabilities->ulPid = values.pid;
  pCapabilities->lNoOfMouseButtons = values.mouse_buttons;
  pCapabilities->lNoOfTotalButtons = values.total_buttons;
  pCapabilities->ulMaxMacroLen = values.max_macro_length;
  pCapabilities->bDpiSettingsSupported = values.dpi_settings_supported;
  pCapabilities->bPollingRateSupported = values.polling_rate_supported;
  return S_OK;  // bHasMeridex stays as the caller set it
}

STDMETHODIMP CDeviceType::GetBusType(_TBusType* pType) {
  if (!pType) return E_POINTER;
  uint32_t bus = 0;
  const HRESULT hr = core_.BusType(bus);
  *pType = static_cast<_TBusType>(bus);
  return hr;
}

STDMETHODIMP CDeviceType::IsConnected(LONG* pIsConnected) {
  if (!pIsConnected) return E_POINTER;
  int32_t connected = 0;
  const HRESULT hr = core_.IsConnected(connected);
  *pIsConnected = connected;
  return hr;
}

STDMETHODIMP CDeviceType::CreateProfileInterface(IProfile** p) {
  return CreateFeature(FeatureSlot::kProfile, p);
}
STDMETHODIMP CDeviceType::CreateMacroHandlingInterface(IMacroHandling** p) {
  return CreateFeature(FeatureSlot::kMacroHandling, p);
}
STDMETHODIMP CDeviceType::CreateUserActionInterface(IUserAction** p) {
  return CreateFeature(FeatureSlot::kUserAction, p);
}
STDMETHODIMP CDeviceType::CreateDefaultModeInterface(IDefaultMode** p) {
  return CreateFeature(FeatureSlot::kDefaultMode, p);
}
STDMETHODIMP CDeviceType::CreateWirelessDistanceInterface(IWirelessDistance** p) {
  return CreateFeature(FeatureSlot::kWirelessDistance, p);
}
STDMETHODIMP CDeviceType::CreateBatteryInterface(IBattery** p) {
  return CreateFeature(FeatureSlot::kBattery, p);
}
STDMETHODIMP CDeviceType::CreateMeridexInterface(IMeridex** p) {
  return CreateFeature(FeatureSlot::kMeridex, p);
}
STDMETHODIMP CDeviceType::CreateOTFSInterface(IOTFS** p) {
  return CreateFeature(FeatureSlot::kOTFS, p);
}
STDMETHODIMP CDeviceType::CreatePollingRateInterface(IPollingRate** p) {
  return CreateFeature(FeatureSlot::kPollingRate, p);
}
STDMETHODIMP CDeviceType::CreateSensorRomSwitchingInterface(ISensorRomSwitching** p) {
  return CreateFeature(FeatureSlot::kSensorRomSwitching, p);
}

}  // namespace quill::server
