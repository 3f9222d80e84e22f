#include "middleware/objects/tests/win/test_support.h"

#include <vector>

#include "emulator/win/child_process.h"
#include "emulator/win/emulator_process.h"

namespace quill::test {

std::wstring ExeDir() { return emu::EmulatorProcess::ExecutableFolder(); }

std::wstring ServerPath() { return ExeDir() + L"\\TorvoMiddlewareServer.dll"; }

int RunProcess(const std::wstring& command_line, std::string* output, DWORD timeout_ms) {
  const RunResult run = RunToEnd(command_line, {}, timeout_ms);
  if (output) *output = run.output;
  return run.exit_code;
}

int Regsvr32(bool unregister) {
  return RunProcess(std::wstring(L"regsvr32.exe ") + (unregister ? L"/u " : L"") + L"/s \"" +
                    ServerPath() + L"\"");
}

ServerModule::ServerModule() {
  module_ = LoadLibraryW(ServerPath().c_str());
  if (!module_) return;
  Bind(can_unload_, "DllCanUnloadNow");
  Bind(get_class_object_, "DllGetClassObject");
  Bind(register_, "DllRegisterServer");
  Bind(unregister_, "DllUnregisterServer");
  if (!can_unload_ || !get_class_object_ || !register_ || !unregister_) {
    FreeLibrary(module_);
    module_ = nullptr;
  }
}

ServerModule::~ServerModule() {
  if (module_) FreeLibrary(module_);
}

HRESULT ServerModule::CreateEnumeration(IDeviceEnumeration** enumeration) const {
  IClassFactory* factory = nullptr;
  HRESULT hr = GetClassObject(CLSID_DeviceEnumeration, IID_IClassFactory,
                              reinterpret_cast<void**>(&factory));
  if (FAILED(hr)) return hr;
  hr = factory->CreateInstance(nullptr, IID_IDeviceEnumeration,
                               reinterpret_cast<void**>(enumeration));
  factory->Release();
  return hr;
}

KeySnapshot ReadKey(HKEY root, const std::wstring& path) {
  KeySnapshot snapshot;
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS) return snapshot;
  snapshot.exists = true;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD name_size = 256, type = 0, data_size = 0;
    if (RegEnumValueW(key, i, name, &name_size, nullptr, &type, nullptr, &data_size) !=
        ERROR_SUCCESS) {
      break;
    }
    std::vector<BYTE> data(data_size + sizeof(wchar_t));
    name_size = 256;
    RegEnumValueW(key, i, name, &name_size, nullptr, &type, data.data(), &data_size);
    std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), data_size / sizeof(wchar_t));
    while (!text.empty() && text.back() == L'\0') text.pop_back();
    if (type != REG_SZ) text = L"<type " + std::to_wstring(type) + L">" + text;
    snapshot.values[name] = text;
  }
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD name_size = 256;
    if (RegEnumKeyExW(key, i, name, &name_size, nullptr, nullptr, nullptr, nullptr) !=
        ERROR_SUCCESS) {
      break;
    }
    snapshot.subkeys.insert(name);
  }
  RegCloseKey(key);
  return snapshot;
}

bool KeyExists(HKEY root, const std::wstring& path) { return ReadKey(root, path).exists; }

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

}  // namespace quill::test
