// CProfile, the object behind IProfile: profile groups and stored profiles in the registry, their
// export and import files, the current button-mapping set (saved as the private profile
// "LastActive"), the active profile through the driver control channel, and the performance
// feature objects of its device.
//
// One object per IDeviceType::CreateProfileInterface call. It holds its stores for the device
// key name of its device type object ("TorvoControl_%04X" of the opened product ID) and reaches
// the device through that object while it lives and is open; methods that need the device give
// E_FAIL without one.
#pragma once
#include <ServerLib.h>

#include <array>
#include <cstddef>
#include <memory>
#include <string>
#include <vector>

#include "middleware/objects/win/com/com_object.h"
#include "middleware/objects/win/com/connection_point.h"
#include "middleware/objects/win/features/device_bound.h"
#include "middleware/storage/file_system.h"
#include "middleware/storage/group_store.h"
#include "middleware/storage/profile_store.h"
#include "middleware/storage/registry_key.h"
#include "middleware/storage/store_exchange.h"
#include "middleware/storage/store_records.h"

namespace quill::server {

// IProfile with the three operations that follow its 36 methods in the object's table but that
// the type library does not declare. Clients reach them only through the table.
struct IProfileOperations : public IProfile {
  using ComInterface = IProfile;

  // Creates an IPollingRate for the device, like the other creators.
  virtual HRESULT STDMETHODCALLTYPE CreatePollingRateInterface(IPollingRate** ppPollingRate) = 0;
  // The eight-byte-per-button block of pParams's mappings: (*pParams->ppMappings)[0 ..
  // lNumMappings - 1] into pbBlock, which holds cbBlock bytes (88 at least). No device traffic.
  virtual HRESULT STDMETHODCALLTYPE MappingsToButtonBlock(const _TProfileParams* pParams,
                                                          ULONG cbBlock, BYTE* pbBlock) = 0;
  // The nine mappings of the block of cbBlock bytes: pParams->lNumMappings = 9 and
  // *pParams->ppMappings = a new CoTaskMem array of nine records, the caller's to free.
  virtual HRESULT STDMETHODCALLTYPE ButtonBlockToMappings(ULONG cbBlock, const BYTE* pbBlock,
                                                          _TProfileParams* pParams) = 0;
};

class CProfile final : public com::ComObject<IProfileOperations, com::EventSource<_IProfileEvents>>,
                       private DeviceBound {
 public:
  // Bound to `owner`, without stores yet: Initialise creates them (MakeProfile runs both).
  explicit CProfile(CDeviceType& owner);
  // The record information and the stores, or the failure: E_FAIL when the device type object
  // was never opened (there is no device key name) or a store cannot be created, the record
  // information lookup's error otherwise.
  HRESULT Initialise();

  // IProfile: profile groups
  STDMETHODIMP LoadNumProfileGroups(LONG* lpNumProfileGroups) override;
  STDMETHODIMP LoadProfileGroupList(LONG lNumProfileGroups, LPWSTR* ppProfileGroupNames) override;
  STDMETHODIMP LoadNumProfilesInGroup(LPCWSTR pszProfileGroupName, LONG* lpNumProfilesInGroup) override;
  STDMETHODIMP SaveProfileGroup(LPCWSTR pszProfileGroupName, LONG lNumProfilesInGroup,
                                LPWSTR* ppszProfileNames) override;
  STDMETHODIMP LoadProfileGroup(LPCWSTR pszProfileGroupName, LONG lNumProfilesInGroup,
                                LPWSTR* ppszProfileNames) override;
  STDMETHODIMP DeleteProfileGroup(LPCWSTR pszProfileGroupName) override;
  STDMETHODIMP ExportProfileGroup(LPCWSTR pszProfileGroupName, LPCWSTR pszFileName) override;
  STDMETHODIMP ImportProfileGroup(LPCWSTR pszProfileGroupName, LPCWSTR pszFileName) override;
  STDMETHODIMP ExportAllProfileGroups(LPCWSTR pszFileName) override;
  STDMETHODIMP ImportAllProfileGroups(LPCWSTR pszFileName) override;

  // IProfile: the current mapping set
  STDMETHODIMP SetButtonMappings(LONG lNumMappings, _TButtonMappingInfo* ppInfo) override;
  STDMETHODIMP GetButtonMappings(LONG* lpNumMappings, _TButtonMappingInfo** ppInfo) override;

  // IProfile: profiles
  STDMETHODIMP LoadNumProfiles(LONG* lpNumProfiles) override;
  STDMETHODIMP LoadProfileList(LONG lNumProfiles, LPWSTR* ppProfileNames) override;
  STDMETHODIMP SaveProfile(LPCWSTR pszProfileName, _TProfileParams* pParams) override;
  STDMETHODIMP LoadProfile(LPCWSTR pszProfileName, _TProfileParams* pParams) override;
  STDMETHODIMP DeleteProfile(LPCWSTR pszProfileName) override;
  STDMETHODIMP ExportProfile(LPCWSTR pszProfileName, LPCWSTR pszFileName) override;
  STDMETHODIMP ImportProfile(LPCWSTR pszProfileName, LPCWSTR pszFileName) override;
  STDMETHODIMP ExportAllProfiles(LPCWSTR pszFileName) override;
  STDMETHODIMP ImportAllProfiles(LPCWSTR pszFileName) override;

  // IProfile: feature objects of the device (kept for the object's life)
  STDMETHODIMP CreateButtonControlInterface(IButtonControl** ppButtonControl) override;
  STDMETHODIMP CreateDpiSettingsInterface(IDpiSettings** ppDpiSettings) override;
  STDMETHODIMP CreateLedStatusInterface(ILedStatus** ppLedStatus) override;
  STDMETHODIMP CreatePerformanceSettingsInterface(IPerformanceSettings** ppPerformanceSettings) override;
  STDMETHODIMP CreateDpiInterface(IDpi** ppDpi) override;

  // IProfile: managed forms
  STDMETHODIMP LoadProfileGroupListManaged(LONG lNumProfileGroups, SAFEARRAY** ppProfileGroupNames) override;
  STDMETHODIMP LoadProfileGroupManaged(LPCWSTR pszProfileGroupName, LONG lNumProfilesInGroup,
                                       SAFEARRAY** ppszProfileNames) override;
  STDMETHODIMP LoadProfileListManaged(LONG lNumProfiles, SAFEARRAY** ppProfileNames) override;
  STDMETHODIMP SaveProfileGroupManaged(LPCWSTR pszProfileGroupName, LONG lNumProfilesInGroup,
                                       SAFEARRAY* pszProfileNames) override;
  STDMETHODIMP SetButtonMappingsManaged(LONG lNumMappings, SAFEARRAY* pMapping, SAFEARRAY* pMacroNames,
                                        SAFEARRAY* pUserActionNames) override;
  STDMETHODIMP SaveProfileManaged(LPCWSTR pszProfileName, LONG lVersion, LONG lNumMappings,
                                  SAFEARRAY* pMapping, SAFEARRAY* pMacroNames,
                                  SAFEARRAY* pUserActionNames) override;
  STDMETHODIMP GetButtonMappingsManaged(LONG* lpNumMappings, SAFEARRAY** ppMapping,
                                        SAFEARRAY** ppMacroNames, SAFEARRAY** ppUserActionNames) override;
  STDMETHODIMP LoadProfileManaged(LPCWSTR pszProfileName, LONG* lpVersion, LONG* lpNumMappings,
                                  SAFEARRAY** ppMapping, SAFEARRAY** ppMacroNames,
                                  SAFEARRAY** ppUserActionNames) override;

  // IProfile: the active profile
  STDMETHODIMP SetActiveProfile(BSTR activeProfileName) override;
  STDMETHODIMP GetActiveProfile(BSTR* pActiveProfileName) override;

  // The operations after IProfile's
  STDMETHODIMP CreatePollingRateInterface(IPollingRate** ppPollingRate) override;
  STDMETHODIMP MappingsToButtonBlock(const _TProfileParams* pParams, ULONG cbBlock, BYTE* pbBlock) override;
  STDMETHODIMP ButtonBlockToMappings(ULONG cbBlock, const BYTE* pbBlock, _TProfileParams* pParams) override;

  // Most mapping records a set takes: the device's buttons.
  size_t max_mappings() const { return max_mappings_; }

 private:

  // The feature objects this object made, by kind; a new one replaces (and releases) the last.
  enum class Kept : size_t { kButtonControl, kDpiSettings, kLedStatus, kPerformanceSettings, kDpi, kPollingRate, kCount };
  // A new feature object of class T bound to the device type object, its interface I to *out.
  template <class T, class I, class... Args>
  HRESULT CreateKept(Kept kind, I** out, Args... args);

  // The device's handler, or null when the device type object is gone or not open.
  DriverHandler* Device() const;
  // Makes `records` the current set (keeping the current version), saves it as "LastActive"
  // and uploads it: SetButtonMappings after its records were read.
  HRESULT ApplyMappingSet(std::vector<storage::ButtonMapping> records);
  // Refreshes the current set from the device side when the driver reports one (never, in this
  // middleware), then hands out a copy of it.
  storage::ProfileRecord CurrentMappingSet();
  // One export or import of a named object, or of every object of a kind, with an exchange
  // engine for this object's device key name; E_FAIL while the device type object is closed or
  // gone.
  using NamedExchange = HResult (storage::StoreExchange::*)(std::u16string_view, const std::u16string&);
  using AllExchange = HResult (storage::StoreExchange::*)(const std::u16string&);
  HRESULT Exchange(LPCWSTR name, LPCWSTR file_name, NamedExchange operation);
  HRESULT Exchange(LPCWSTR file_name, AllExchange operation);
  // run(StoreExchange&, const std::u16string& path) on the file.
  template <class Run>
  HRESULT Exchange(LPCWSTR file_name, Run&& run);

  std::u16string device_key_name_;
  size_t max_mappings_ = 0;
  std::unique_ptr<storage::RegistryKey> machine_;
  std::unique_ptr<storage::FileSystem> files_;
  std::unique_ptr<storage::ProfileGroupStore> groups_;
  std::unique_ptr<storage::ProfileStore> profiles_;
  std::unique_ptr<storage::PrivateProfileStore> private_profiles_;
  com::ComPtr<IRecordInfo> mapping_record_info_;
  // The current mapping set: version, records and the macro and user-action names beside them.
  storage::ProfileRecord mappings_;
  std::array<com::ComPtr<IUnknown>, static_cast<size_t>(Kept::kCount)> kept_;
};

// The maker of the device type object's profile slot: a new CProfile with its stores, or
// Initialise's failure.
HRESULT MakeProfile(CDeviceType& owner, IUnknown** object);

}  // namespace quill::server
