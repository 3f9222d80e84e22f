// CProfile: creation, the device it reaches, its feature objects and the device-side profile
// methods (profile count and list, active profile, default layout).
#include "middleware/storage/win/com/profile.h"

#include <array>
#include <cstdio>
#include <string>

#include "middleware/objects/device/button_entries.h"
#include "middleware/objects/device_info_text.h"
#include "middleware/objects/win/features/button_control.h"
#include "middleware/objects/win/features/dpi.h"
#include "middleware/objects/win/features/dpi_settings.h"
#include "middleware/objects/win/features/led_status.h"
#include "middleware/objects/win/features/performance_settings.h"
#include "middleware/objects/win/features/polling_rate.h"
#include "middleware/storage/win/com/managed_arrays.h"
#include "middleware/storage/win/com/store_calls.h"
#include "middleware/storage/win/win_file_system.h"
#include "middleware/storage/win/win_registry_key.h"
#include "winsupport/bstr.h"

namespace quill::server {
namespace {

// Settings of the control channel's setting block: offset 0 the property, 4 zero, 8 the value.
constexpr uint32_t kSettingActiveProfile = 5;
constexpr uint32_t kSettingProfileCount = 6;
using SettingBlock = std::array<uint8_t, kSettingWordSize>;

SettingBlock SettingRequest(uint32_t property, uint32_t value = 0) {
  SettingBlock block{};
  for (size_t i = 0; i < 4; ++i) {
    block[i] = static_cast<uint8_t>(property >> (8 * i));
    block[8 + i] = static_cast<uint8_t>(value >> (8 * i));
  }
  return block;
}

uint32_t SettingValue(const SettingBlock& block) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value |= static_cast<uint32_t>(block[8 + i]) << (8 * i);
  return value;
}

HRESULT ReadSetting(DriverHandler* device, uint32_t property, uint32_t& value) {
  value = 0;
  if (!device) return E_FAIL;
  SettingBlock reply{};
  const HRESULT hr = device->ReadSettingWord(SettingRequest(property), reply);
  if (SUCCEEDED(hr)) value = SettingValue(reply);
  return hr;
}

// LoadProfileList's names have room for three digits.
constexpr int32_t kMaxProfileListNumber = 999;

}  // namespace

CProfile::CProfile(CDeviceType& owner) : DeviceBound(owner) {}

HRESULT MakeProfile(CDeviceType& owner, IUnknown** object) { return MakeStoreFeature<CProfile>(owner, object); }

HRESULT CProfile::Initialise() {
  HRESULT hr = ServerRecordInfo(GUID_TButtonMappingManaged, mapping_record_info_.Put());
  if (FAILED(hr)) return hr;
  // The stores belong to the device key name, which the handler holds from its opening on
  // (even when no mouse answered the search).
  const DriverHandler* const handler = Device();
  if (!handler || handler->control_name().empty()) return E_FAIL;
  return Guarded([&]() -> HRESULT {
    device_key_name_ = handler->control_name();
    max_mappings_ = static_cast<size_t>(CapabilitiesFor(owner()->pid()).total_buttons);
    machine_ = storage::LocalMachineKey();
    files_ = std::make_unique<storage::WinFileSystem>();
    if (Failed(storage::ProfileGroupStore::Create(*machine_, device_key_name_, groups_)) ||
        Failed(storage::ProfileStore::Create(*machine_, device_key_name_, profiles_)) ||
        Failed(storage::PrivateProfileStore::Create(*machine_, device_key_name_, private_profiles_))) {
      return E_FAIL;
    }
    return S_OK;
  });
}

DriverHandler* CProfile::Device() const {
  CDeviceType* const device = owner();
  return device ? device->handler() : nullptr;
}

template <class T, class I, class... Args>
HRESULT CProfile::CreateKept(Kept kind, I** out, Args... args) {
  if (!out) return E_POINTER;
  *out = nullptr;
  CDeviceType* const device = owner();
  if (!device) return E_FAIL;
  com::ComPtr<T> made = com::MakeComObject<T>(*device, args...);
  if (!made) return E_OUTOFMEMORY;
  const HRESULT hr = com::HandOut(made, out);
  if (FAILED(hr)) return hr;
  kept_[static_cast<size_t>(kind)] = com::ComPtr<IUnknown>(made->Identity());
  return S_OK;
}

STDMETHODIMP CProfile::CreateButtonControlInterface(IButtonControl** p) {
  return CreateKept<CButtonControl>(Kept::kButtonControl, p);
}
STDMETHODIMP CProfile::CreateDpiSettingsInterface(IDpiSettings** p) {
  return CreateKept<CDpiSettings>(Kept::kDpiSettings, p);
}
STDMETHODIMP CProfile::CreateLedStatusInterface(ILedStatus** p) {
  return CreateKept<CLedStatus>(Kept::kLedStatus, p);
}
STDMETHODIMP CProfile::CreatePerformanceSettingsInterface(IPerformanceSettings** p) {
  return CreateKept<CPerformanceSettings>(Kept::kPerformanceSettings, p);
}
STDMETHODIMP CProfile::CreateDpiInterface(IDpi** p) {
  return CreateKept<CDpi>(Kept::kDpi, p, int32_t{0});  // slot 0: the active profile
}
STDMETHODIMP CProfile::CreatePollingRateInterface(IPollingRate** p) {
  return CreateKept<CPollingRate>(Kept::kPollingRate, p);
}

STDMETHODIMP CProfile::LoadNumProfiles(LONG* lpNumProfiles) {
  if (!lpNumProfiles) return E_POINTER;
  uint32_t count = 0;
  const HRESULT hr = ReadSetting(Device(), kSettingProfileCount, count);
  *lpNumProfiles = static_cast<LONG>(count);
  return hr;
}

STDMETHODIMP CProfile::LoadProfileList(LONG lNumProfiles, LPWSTR* ppProfileNames) {
  return Guarded([&] {
    return LoadNames(lNumProfiles, ppProfileNames, [](int32_t count, std::vector<std::u16string>& names) {
      // The names are the numbers 1 to n, whatever the device holds.
      if (count > kMaxProfileListNumber) return E_INVALIDARG;
      for (int32_t i = 1; i <= count; ++i) {
        const std::string number = std::to_string(i);
        names.emplace_back(number.begin(), number.end());
      }
      return S_OK;
    });
  });
}

STDMETHODIMP CProfile::SetActiveProfile(BSTR activeProfileName) {
  ULONG number = 0;
  const HRESULT parsed = VarUI4FromStr(activeProfileName ? activeProfileName : const_cast<LPWSTR>(L""), 0,
                                       LOCALE_NOUSEROVERRIDE, &number);
  if (FAILED(parsed)) return parsed;  // nothing sent
  DriverHandler* const device = Device();
  if (!device) return E_FAIL;
  return device->WriteSettingWord(SettingRequest(kSettingActiveProfile, number));
}

STDMETHODIMP CProfile::GetActiveProfile(BSTR* pActiveProfileName) {
  if (!pActiveProfileName) return E_POINTER;
  *pActiveProfileName = nullptr;
  uint32_t number = 0;
  const HRESULT hr = ReadSetting(Device(), kSettingActiveProfile, number);
  if (FAILED(hr)) return hr;
  return VarBstrFromUI4(number, 0, LOCALE_NOUSEROVERRIDE, pActiveProfileName);
}

STDMETHODIMP CProfile::SaveProfile(LPCWSTR, _TProfileParams*) {
  DriverHandler* const device = Device();
  return device ? device::WriteDefaultLayout(*device) : E_FAIL;
}

STDMETHODIMP CProfile::LoadProfile(LPCWSTR, _TProfileParams*) {
  DriverHandler* const device = Device();
  return device ? device::ReadDefaultLayout(*device) : E_FAIL;
}

}  // namespace quill::server
