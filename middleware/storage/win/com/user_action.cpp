#include "middleware/storage/win/com/user_action.h"

#include <algorithm>
#include <vector>

#include "middleware/objects/win/device_type.h"
#include "middleware/storage/win/com/managed_arrays.h"
#include "middleware/storage/win/com/store_calls.h"
#include "winsupport/co_task_string.h"

namespace quill::server {

HRESULT CUserAction::Initialise() {
  if (!Usable()) return E_FAIL;
  return Guarded([&]() -> HRESULT {
    device_key_name_ = owner()->handler()->control_name();
    const std::unique_ptr<storage::RegistryKey> machine = storage::LocalMachineKey();
    return FAILED(storage::UserActionStore::Create(*machine, device_key_name_, actions_)) ? E_FAIL : S_OK;
  });
}

bool CUserAction::Usable() const { return owner() && owner()->handler(); }

STDMETHODIMP CUserAction::LoadNumUserActions(LONG* lpNumUserActions) {
  return Guarded([&] { return LoadCount(*actions_, lpNumUserActions); });
}

STDMETHODIMP CUserAction::LoadUserActionList(LONG lNumUserActions, LPWSTR* ppUserActionNames) {
  return Guarded([&] {
    return LoadNames(lNumUserActions, ppUserActionNames,
                     [&](int32_t n, std::vector<std::u16string>& names) { return actions_->List(n, names); });
  });
}

STDMETHODIMP CUserAction::SaveUserAction(LPCWSTR pszUserActionName, _TUserActionParams* pParams) {
  std::u16string_view name;
  const HRESULT hr = NameArgument(pszUserActionName, name);
  if (FAILED(hr)) return hr;
  if (!pParams) return E_POINTER;
  const LONG count = pParams->lNumData;
  if (count < 0) return E_INVALIDARG;
  if (count > 0 && (!pParams->ppData || !*pParams->ppData)) return E_POINTER;
  return Guarded([&] {
    storage::UserActionRecord record;
    record.code = pParams->lCode;
    if (count > 0) record.data.assign(*pParams->ppData, *pParams->ppData + count);
    return actions_->Save(name, record);
  });
}

STDMETHODIMP CUserAction::LoadUserAction(LPCWSTR pszUserActionName, _TUserActionParams* pParams) {
  if (!pParams) return E_POINTER;
  pParams->lCode = 0;
  pParams->lNumData = 0;
  if (!pParams->ppData) return E_POINTER;
  *pParams->ppData = nullptr;
  std::u16string_view name;
  const HRESULT hr = NameArgument(pszUserActionName, name);
  if (FAILED(hr)) return hr;
  return Guarded([&] {
    storage::UserActionRecord record;
    const HRESULT loaded = actions_->Load(name, record);
    if (FAILED(loaded)) return loaded;
    if (record.data.size() > 0x7FFFFFFFu) return E_OUTOFMEMORY;
    com::CoTaskMemPtr<BYTE> block(static_cast<BYTE*>(CoTaskMemAlloc(record.data.size())));
    if (!block.Get()) return E_OUTOFMEMORY;
    std::copy(record.data.begin(), record.data.end(), block.Get());
    pParams->lCode = record.code;
    pParams->lNumData = static_cast<LONG>(record.data.size());
    *pParams->ppData = block.Detach();
    return S_OK;
  });
}

STDMETHODIMP CUserAction::DeleteUserAction(LPCWSTR pszUserActionName) {
  std::u16string_view name;
  const HRESULT hr = NameArgument(pszUserActionName, name);
  return FAILED(hr) ? hr : Guarded([&] { return actions_->Delete(name); });
}

STDMETHODIMP CUserAction::ExportUserAction(LPCWSTR pszUserActionName, LPCWSTR pszFileName) {
  return RunNamedExchange(Usable(), device_key_name_, pszUserActionName, pszFileName,
                          [](storage::StoreExchange& x, std::u16string_view name, const std::u16string& path) {
                            return x.ExportUserAction(name, path);
                          });
}

STDMETHODIMP CUserAction::ImportUserAction(LPCWSTR pszUserActionName, LPCWSTR pszFileName) {
  return RunNamedExchange(Usable(), device_key_name_, pszUserActionName, pszFileName,
                          [](storage::StoreExchange& x, std::u16string_view name, const std::u16string& path) {
                            return x.ImportUserAction(name, path);
                          });
}

STDMETHODIMP CUserAction::ExportAllUserActions(LPCWSTR pszFileName) {
  return RunExchange(Usable(), device_key_name_, pszFileName,
                     [](storage::StoreExchange& x, const std::u16string& path) {
                       return x.ExportAllUserActions(path);
                     });
}

STDMETHODIMP CUserAction::ImportAllUserActions(LPCWSTR pszFileName) {
  return RunExchange(Usable(), device_key_name_, pszFileName,
                     [](storage::StoreExchange& x, const std::u16string& path) {
                       return x.ImportAllUserActions(path);
                     });
}

STDMETHODIMP CUserAction::LoadUserActionListManaged(LONG lNumUserActions, SAFEARRAY** ppUserActionNames) {
  return FirstListManaged<IUserAction, &IUserAction::LoadUserActionList>(this, lNumUserActions,
                                                                         ppUserActionNames);
}

STDMETHODIMP CUserAction::SaveUserActionManaged(LPCWSTR pszUserActionName, LONG lCode, LONG lNumData,
                                                SAFEARRAY* pData) {
  BYTE* bytes = nullptr;
  const HRESULT hr = InputVector(pData, VT_UI1, lNumData, &bytes);
  if (FAILED(hr)) return hr;
  _TUserActionParams params{lCode, lNumData, &bytes};
  return SaveUserAction(pszUserActionName, &params);
}

STDMETHODIMP CUserAction::LoadUserActionManaged(LPCWSTR pszUserActionName, LONG* lpCode, LONG* lpNumData,
                                                SAFEARRAY** ppData) {
  // Every output given is cleared, also when another is missing.
  if (lpCode) *lpCode = 0;
  if (lpNumData) *lpNumData = 0;
  if (ppData) *ppData = nullptr;
  if (!lpCode || !lpNumData || !ppData) return E_POINTER;
  BYTE* bytes = nullptr;
  _TUserActionParams params{0, 0, &bytes};
  HRESULT hr = LoadUserAction(pszUserActionName, &params);
  const com::CoTaskMemPtr<BYTE> owned(bytes);
  if (FAILED(hr)) return hr;
  hr = MakeByteVector(bytes, params.lNumData, ppData);
  if (FAILED(hr)) return hr;
  *lpCode = params.lCode;
  *lpNumData = params.lNumData;
  return S_OK;
}

HRESULT MakeUserAction(CDeviceType& owner, IUnknown** object) {
  return MakeStoreFeature<CUserAction>(owner, object);
}

}  // namespace quill::server
