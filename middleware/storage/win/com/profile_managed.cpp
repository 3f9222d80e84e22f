// CProfile: the "Managed" forms, with SAFEARRAYs in place of the caller's arrays.
#include <vector>

#include "middleware/storage/win/com/managed_arrays.h"
#include "middleware/storage/win/com/profile.h"
#include "middleware/storage/win/com/profile_mapping_records.h"

namespace quill::server {

STDMETHODIMP CProfile::LoadProfileGroupListManaged(LONG lNumProfileGroups, SAFEARRAY** ppProfileGroupNames) {
  return FirstListManaged<IProfile, &IProfile::LoadProfileGroupList>(this, lNumProfileGroups, ppProfileGroupNames);
}

STDMETHODIMP CProfile::LoadProfileGroupManaged(LPCWSTR pszProfileGroupName, LONG lNumProfilesInGroup,
                                               SAFEARRAY** ppszProfileNames) {
  return GroupLoadManaged<IProfile, &IProfile::LoadProfileGroup>(this, pszProfileGroupName, lNumProfilesInGroup,
                                                                 ppszProfileNames);
}

STDMETHODIMP CProfile::LoadProfileListManaged(LONG lNumProfiles, SAFEARRAY** ppProfileNames) {
  return FirstListManaged<IProfile, &IProfile::LoadProfileList>(this, lNumProfiles, ppProfileNames);
}

STDMETHODIMP CProfile::SaveProfileGroupManaged(LPCWSTR pszProfileGroupName, LONG lNumProfilesInGroup,
                                               SAFEARRAY* pszProfileNames) {
  return GroupSaveManaged<IProfile, &IProfile::SaveProfileGroup>(this, pszProfileGroupName, lNumProfilesInGroup,
                                                                 pszProfileNames);
}

STDMETHODIMP CProfile::SetButtonMappingsManaged(LONG lNumMappings, SAFEARRAY* pMapping, SAFEARRAY* pMacroNames,
                                                SAFEARRAY* pUserActionNames) {
  std::vector<storage::ButtonMapping> records;
  const HRESULT hr =
      ReadManagedMappings(lNumMappings, pMapping, pMacroNames, pUserActionNames, max_mappings_, records);
  if (FAILED(hr)) return hr;
  return ApplyMappingSet(std::move(records));
}

STDMETHODIMP CProfile::SaveProfileManaged(LPCWSTR pszProfileName, LONG lVersion, LONG lNumMappings,
                                          SAFEARRAY* pMapping, SAFEARRAY* pMacroNames,
                                          SAFEARRAY* pUserActionNames) {
  std::vector<storage::ButtonMapping> records;
  const HRESULT hr =
      ReadManagedMappings(lNumMappings, pMapping, pMacroNames, pUserActionNames, max_mappings_, records);
  if (FAILED(hr)) return hr;
  // The records in their unmanaged form, their name cells beside them (the caller's arrays are
  // left as they are).
  std::vector<_TButtonMappingInfo> unmanaged(records.size());
  std::vector<LPWSTR> cells(records.size());
  for (size_t i = 0; i < records.size(); ++i) {
    cells[i] = reinterpret_cast<LPWSTR>(records[i].name.data());
    WriteMappingRecord(records[i], &cells[i], unmanaged[i]);
  }
  _TButtonMappingInfo* array = unmanaged.data();
  _TProfileParams params{lVersion, lNumMappings, &array};
  return SaveProfile(pszProfileName, &params);
}

STDMETHODIMP CProfile::GetButtonMappingsManaged(LONG* lpNumMappings, SAFEARRAY** ppMapping,
                                                SAFEARRAY** ppMacroNames, SAFEARRAY** ppUserActionNames) {
  for (SAFEARRAY** out : {ppMapping, ppMacroNames, ppUserActionNames}) {
    if (out) *out = nullptr;
  }
  if (lpNumMappings) *lpNumMappings = 0;
  if (!lpNumMappings || !ppMapping || !ppMacroNames || !ppUserActionNames) return E_POINTER;
  try {
    const storage::ProfileRecord set = CurrentMappingSet();
    const HRESULT hr = HandOutManagedMappings(mapping_record_info_.Get(), set.mappings, ppMapping, ppMacroNames,
                                              ppUserActionNames);
    if (SUCCEEDED(hr)) *lpNumMappings = static_cast<LONG>(set.mappings.size());
    return hr;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

STDMETHODIMP CProfile::LoadProfileManaged(LPCWSTR pszProfileName, LONG* lpVersion, LONG* lpNumMappings,
                                          SAFEARRAY** ppMapping, SAFEARRAY** ppMacroNames,
                                          SAFEARRAY** ppUserActionNames) {
  for (SAFEARRAY** out : {ppMapping, ppMacroNames, ppUserActionNames}) {
    if (out) *out = nullptr;
  }
  if (lpNumMappings) *lpNumMappings = 0;
  if (lpVersion) *lpVersion = 0;
  if (!lpVersion || !lpNumMappings || !ppMapping || !ppMacroNames || !ppUserActionNames) return E_POINTER;
  _TButtonMappingInfo* loaded = nullptr;
  _TProfileParams params{0, 0, &loaded};
  HRESULT hr = LoadProfile(pszProfileName, &params);
  if (FAILED(hr)) return hr;
  // Whatever the unmanaged method handed back is converted and freed.
  std::vector<storage::ButtonMapping> records;
  if (loaded) hr = ReadMappingRecords(loaded, params.lNumMappings, max_mappings_, records);
  FreeMappingRecords(loaded ? params.lNumMappings : 0, loaded);
  if (FAILED(hr)) return hr;
  try {
    hr = HandOutManagedMappings(mapping_record_info_.Get(), records, ppMapping, ppMacroNames, ppUserActionNames);
  } catch (...) {
    hr = E_OUTOFMEMORY;
  }
  if (FAILED(hr)) return hr;
  *lpVersion = params.lVersion;
  *lpNumMappings = static_cast<LONG>(records.size());
  return S_OK;
}

}  // namespace quill::server
