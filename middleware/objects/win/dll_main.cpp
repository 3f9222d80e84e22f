// The four entry points of TorvoMiddlewareServer.dll (exported through the .def file).
#include <windows.h>

#include "middleware/objects/win/class_factory.h"
#include "middleware/objects/win/module.h"
#include "middleware/objects/win/registration.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason == DLL_PROCESS_ATTACH) quill::server::SetModuleHandle(module);
  return TRUE;
}

extern "C" HRESULT STDAPICALLTYPE DllCanUnloadNow() { return quill::server::CanUnloadNow(); }

extern "C" HRESULT STDAPICALLTYPE DllGetClassObject(REFCLSID clsid, REFIID iid, LPVOID* object) {
  return quill::server::GetClassObject(clsid, iid, object);
}

extern "C" HRESULT STDAPICALLTYPE DllRegisterServer() { return quill::server::RegisterServer(); }

extern "C" HRESULT STDAPICALLTYPE DllUnregisterServer() {
  return quill::server::UnregisterServer();
}
