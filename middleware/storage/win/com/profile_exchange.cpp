// CProfile: export and import of profile groups and profiles, one exchange engine per call; E_FAIL
// without the device entry.
#include "middleware/storage/store_exchange.h"
#include "middleware/storage/win/com/profile.h"
#include "middleware/storage/win/com/profile_arguments.h"
#include "middleware/storage/win/com/store_calls.h"

namespace quill::server {

HRESULT CProfile::Exchange(LPCWSTR name, LPCWSTR file_name, NamedExchange operation) {
  std::u16string item;
  const HRESULT hr = ReadItemName(name, item);
  if (FAILED(hr)) return hr;
  return Exchange(file_name, [&](storage::StoreExchange& exchange, const std::u16string& path) {
    return (exchange.*operation)(item, path);
  });
}

HRESULT CProfile::Exchange(LPCWSTR file_name, AllExchange operation) {
  return Exchange(file_name, [&](storage::StoreExchange& exchange, const std::u16string& path) {
    return (exchange.*operation)(path);
  });
}

template <class Run>
HRESULT CProfile::Exchange(LPCWSTR file_name, Run&& run) {
  // The exchange files belong to the device entry, as those of macros and user actions do: once
  // the device type object is closed or gone they are neither read nor written.
  if (!Device()) return E_FAIL;
  return Guarded([&] {
    std::u16string path;
    const HRESULT hr = ReadFileName(file_name, path);
    if (FAILED(hr)) return hr;
    storage::StoreExchange exchange(*machine_, *files_, device_key_name_);
    return static_cast<HRESULT>(run(exchange, path));
  });
}

using storage::StoreExchange;

STDMETHODIMP CProfile::ExportProfileGroup(LPCWSTR pszProfileGroupName, LPCWSTR pszFileName) {
  return Exchange(pszProfileGroupName, pszFileName, &StoreExchange::ExportProfileGroup);
}
STDMETHODIMP CProfile::ImportProfileGroup(LPCWSTR pszProfileGroupName, LPCWSTR pszFileName) {
  return Exchange(pszProfileGroupName, pszFileName, &StoreExchange::ImportProfileGroup);
}
STDMETHODIMP CProfile::ExportAllProfileGroups(LPCWSTR pszFileName) {
  return Exchange(pszFileName, &StoreExchange::ExportAllProfileGroups);
}
STDMETHODIMP CProfile::ImportAllProfileGroups(LPCWSTR pszFileName) {
  return Exchange(pszFileName, &StoreExchange::ImportAllProfileGroups);
}
STDMETHODIMP CProfile::ExportProfile(LPCWSTR pszProfileName, LPCWSTR pszFileName) {
  return Exchange(pszProfileName, pszFileName, &StoreExchange::ExportProfile);
}
STDMETHODIMP CProfile::ImportProfile(LPCWSTR pszProfileName, LPCWSTR pszFileName) {
  return Exchange(pszProfileName, pszFileName, &StoreExchange::ImportProfile);
}
STDMETHODIMP CProfile::ExportAllProfiles(LPCWSTR pszFileName) {
  return Exchange(pszFileName, &StoreExchange::ExportAllProfiles);
}
STDMETHODIMP CProfile::ImportAllProfiles(LPCWSTR pszFileName) {
  return Exchange(pszFileName, &StoreExchange::ImportAllProfiles);
}

}  // namespace quill::server
