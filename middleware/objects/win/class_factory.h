// The class factory of DeviceEnumeration and the module entry points built on it.
#pragma once
#include <objbase.h>

#include "middleware/objects/win/com/com_object.h"

namespace quill::server {

class ClassFactory final : public com::ComObject<IClassFactory> {
 public:
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** object) override;
  // Locks count on the module like live objects; an unlock without a lock is refused.
  STDMETHODIMP LockServer(BOOL lock) override;
};

// DllGetClassObject: the factory of DeviceEnumeration; CLASS_E_CLASSNOTAVAILABLE otherwise.
HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object);
// DllCanUnloadNow: S_OK when no object lives and no lock is held.
HRESULT CanUnloadNow();

}  // namespace quill::server
