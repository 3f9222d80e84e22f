#include "middleware/objects/win/class_factory.h"

#include <ServerLib.h>

#include "middleware/objects/win/device_enumeration.h"

namespace quill::server {
namespace {
LONG g_server_locks = 0;
}  // namespace

STDMETHODIMP ClassFactory::CreateInstance(IUnknown* outer, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (outer) return CLASS_E_NOAGGREGATION;
  com::ComPtr<CDeviceEnumeration> created = com::MakeComObject<CDeviceEnumeration>();
  if (!created) return E_OUTOFMEMORY;
  return created->Identity()->QueryInterface(iid, object);
}

STDMETHODIMP ClassFactory::LockServer(BOOL lock) {
  if (lock) {
    InterlockedIncrement(&g_server_locks);
    com::ModuleLock::Add();
    return S_OK;
  }
  // Never below zero, so a stray unlock cannot release the module under a live object.
  LONG current = InterlockedCompareExchange(&g_server_locks, 0, 0);
  while (current > 0) {
    const LONG seen = InterlockedCompareExchange(&g_server_locks, current - 1, current);
    if (seen == current) {
      com::ModuleLock::Remove();
      return S_OK;
    }
    current = seen;
  }
  return E_UNEXPECTED;
}

HRESULT GetClassObject(REFCLSID clsid, REFIID iid, void** object) {
  if (!object) return E_POINTER;
  *object = nullptr;
  if (!IsEqualCLSID(clsid, CLSID_DeviceEnumeration)) return CLASS_E_CLASSNOTAVAILABLE;
  com::ComPtr<ClassFactory> factory = com::MakeComObject<ClassFactory>();
  if (!factory) return E_OUTOFMEMORY;
  return factory->QueryInterface(iid, object);
}

HRESULT CanUnloadNow() { return com::ModuleLock::Count() == 0 ? S_OK : S_FALSE; }

}  // namespace quill::server
