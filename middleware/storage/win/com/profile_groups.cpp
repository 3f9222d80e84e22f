// CProfile: profile groups and stored profiles in the registry.
#include "middleware/storage/win/com/profile.h"
#include "middleware/storage/win/com/profile_arguments.h"
#include "middleware/storage/win/com/store_calls.h"

namespace quill::server {

STDMETHODIMP CProfile::LoadNumProfileGroups(LONG* lpNumProfileGroups) {
  return Guarded([&] { return LoadCount(*groups_, lpNumProfileGroups); });
}

STDMETHODIMP CProfile::LoadProfileGroupList(LONG lNumProfileGroups, LPWSTR* ppProfileGroupNames) {
  return Guarded([&] {
    return LoadNames(lNumProfileGroups, ppProfileGroupNames,
                     [&](int32_t count, std::vector<std::u16string>& names) { return groups_->List(count, names); });
  });
}

STDMETHODIMP CProfile::LoadNumProfilesInGroup(LPCWSTR pszProfileGroupName, LONG* lpNumProfilesInGroup) {
  if (!lpNumProfilesInGroup) return E_POINTER;
  *lpNumProfilesInGroup = 0;
  return Guarded([&] {
    std::u16string group;
    int32_t count = 0;
    HRESULT hr = ReadItemName(pszProfileGroupName, group);
    if (SUCCEEDED(hr)) hr = groups_->LoadNumMembers(group, count);
    if (SUCCEEDED(hr)) *lpNumProfilesInGroup = count;
    return hr;
  });
}

STDMETHODIMP CProfile::SaveProfileGroup(LPCWSTR pszProfileGroupName, LONG lNumProfilesInGroup,
                                        LPWSTR* ppszProfileNames) {
  return Guarded([&] {
    std::u16string group;
    std::vector<std::u16string> members;
    HRESULT hr = ReadItemName(pszProfileGroupName, group);
    if (SUCCEEDED(hr)) hr = ReadItemNames(ppszProfileNames, lNumProfilesInGroup, members);
    return FAILED(hr) ? hr : groups_->Save(group, members);
  });
}

STDMETHODIMP CProfile::LoadProfileGroup(LPCWSTR pszProfileGroupName, LONG lNumProfilesInGroup,
                                        LPWSTR* ppszProfileNames) {
  return Guarded([&] {
    return LoadNames(lNumProfilesInGroup, ppszProfileNames, [&](int32_t count, std::vector<std::u16string>& names) {
      std::u16string group;
      const HRESULT hr = ReadItemName(pszProfileGroupName, group);
      return FAILED(hr) ? hr : groups_->LoadMembers(group, count, names);
    });
  });
}

STDMETHODIMP CProfile::DeleteProfileGroup(LPCWSTR pszProfileGroupName) {
  return Guarded([&] {
    std::u16string group;
    const HRESULT hr = ReadItemName(pszProfileGroupName, group);
    return FAILED(hr) ? hr : groups_->Delete(group);
  });
}

STDMETHODIMP CProfile::DeleteProfile(LPCWSTR pszProfileName) {
  return Guarded([&] {
    std::u16string profile;
    const HRESULT hr = ReadItemName(pszProfileName, profile);
    return FAILED(hr) ? hr : profiles_->Delete(profile);
  });
}

}  // namespace quill::server
