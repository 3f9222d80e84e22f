// CUserAction (IUserAction): the user actions (a code and a byte string) of the registry store
// of one device type, and their export and import files. No device traffic.
//
// Made by IDeviceType::CreateUserActionInterface through MakeUserAction: it needs an opened
// device type object (E_FAIL otherwise, for its device key name) and the user-action store for
// that name (E_FAIL when it cannot be opened).
//
// Ownership and argument checks as CMacroHandling's: CoTaskMem blocks and strings, SAFEARRAYs
// for the Managed methods, E_POINTER, E_INVALIDARG, the store's error for names it refuses.
#pragma once
#include <ServerLib.h>

#include <memory>
#include <string>

#include "middleware/objects/win/com/com_object.h"
#include "middleware/objects/win/com/connection_point.h"
#include "middleware/objects/win/features/device_bound.h"
#include "middleware/storage/user_action_store.h"

namespace quill::server {

class CUserAction final : public com::ComObject<IUserAction, com::EventSource<_IUserActionEvents>>,
                          private DeviceBound {
 public:
  explicit CUserAction(CDeviceType& owner) : DeviceBound(owner) {}
  // The creation steps above; the object is not to be handed out when they fail.
  HRESULT Initialise();

  // IUserAction, in type-library order.
  STDMETHODIMP LoadNumUserActions(LONG* lpNumUserActions) override;
  STDMETHODIMP LoadUserActionList(LONG lNumUserActions, LPWSTR* ppUserActionNames) override;
  // lNumData bytes behind ppData; an existing one is replaced and keeps its "RefCount".
  STDMETHODIMP SaveUserAction(LPCWSTR pszUserActionName, _TUserActionParams* pParams) override;
  // A CoTaskMem block of lNumData bytes through ppData (valid also for 0 bytes). On failure the
  // block pointer is null and the code and count are 0.
  STDMETHODIMP LoadUserAction(LPCWSTR pszUserActionName, _TUserActionParams* pParams) override;
  // E_FAIL while a stored profile names the user action.
  STDMETHODIMP DeleteUserAction(LPCWSTR pszUserActionName) override;
  STDMETHODIMP ExportUserAction(LPCWSTR pszUserActionName, LPCWSTR pszFileName) override;
  STDMETHODIMP ImportUserAction(LPCWSTR pszUserActionName, LPCWSTR pszFileName) override;
  STDMETHODIMP ExportAllUserActions(LPCWSTR pszFileName) override;
  STDMETHODIMP ImportAllUserActions(LPCWSTR pszFileName) override;
  STDMETHODIMP LoadUserActionListManaged(LONG lNumUserActions, SAFEARRAY** ppUserActionNames) override;
  // pData: a VT_UI1 vector of at least lNumData bytes.
  STDMETHODIMP SaveUserActionManaged(LPCWSTR pszUserActionName, LONG lCode, LONG lNumData,
                                     SAFEARRAY* pData) override;
  // The bytes as a VT_UI1 vector; on failure the code and count are 0 and the array null.
  STDMETHODIMP LoadUserActionManaged(LPCWSTR pszUserActionName, LONG* lpCode, LONG* lpNumData,
                                     SAFEARRAY** ppData) override;

 private:
  bool Usable() const;

  std::u16string device_key_name_;
  std::unique_ptr<storage::UserActionStore> actions_;
};

// The maker of the kUserAction slot.
HRESULT MakeUserAction(CDeviceType& owner, IUnknown** object);

}  // namespace quill::server
