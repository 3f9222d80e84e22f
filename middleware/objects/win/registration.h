// DllRegisterServer / DllUnregisterServer: the class, ProgID and AppID keys of DeviceEnumeration
// and the embedded type library.
#pragma once
#include <objbase.h>

namespace quill::server {

// Writes every key and value (the class key is rebuilt from scratch) and registers the type
// library. Running it again gives the same registry. The first failure is returned.
HRESULT RegisterServer();
// Removes the class key whole, the ProgID keys and the AppID entries of this server and
// unregisters the type library; the CLSID and AppID parent keys stay. Keys already gone are
// not an error; other failures are returned (the remaining steps still run).
HRESULT UnregisterServer();

}  // namespace quill::server
