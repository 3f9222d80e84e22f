#include "middleware/objects/tests/win/test_support.h"

#include <vector>

namespace quill::test {

std::wstring ExeDir() {
  std::wstring path(32768, L'\0');
  const DWORD n = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()));
  path.resize(n);
  return path.substr(0, path.find_last_of(L"\\/"));
}

std::wstring ServerPath() { return ExeDir() + L"\\TorvoMiddlewareServer.dll"; }

int RunProcess(const std::wstring& command_line, std::string* output, DWORD timeout_ms) {
  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  HANDLE read_end = nullptr, write_end = nullptr;
  if (!CreatePipe(&read_end, &write_end, &inherit, 0)) return -1;
  SetHandleInformation(read_end, HANDLE_FLAG_INHERIT, 0);
  HANDLE null_in = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, &inherit,
                               OPEN_EXISTING, 0, nullptr);
  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = null_in;
  startup.hStdOutput = write_end;
  startup.hStdError = write_end;
  PROCESS_INFORMATION process{};
  std::wstring line = command_line;
  const BOOL started = CreateProcessW(nullptr, line.data(), nullptr, nullptr, TRUE, 0, nullptr,
                                      nullptr, &startup, &process);
  CloseHandle(write_end);
  if (null_in != INVALID_HANDLE_VALUE) CloseHandle(null_in);
  if (!started) {
    CloseHandle(read_end);
    return -1;
  }
  std::string text;
  char buffer[4096];
  DWORD got = 0;
  // The pipe ends when the child (and whatever inherited the handle) is gone.
  const DWORD deadline = GetTickCount() + timeout_ms;
  for (;;) {
    DWORD available = 0;
    if (!PeekNamedPipe(read_end, nullptr, 0, nullptr, &available, nullptr)) break;
    if (available > 0) {
      if (!ReadFile(read_end, buffer, sizeof buffer, &got, nullptr) || got == 0) break;
      text.append(buffer, got);
      continue;
    }
    if (WaitForSingleObject(process.hProcess, 10) == WAIT_OBJECT_0) {
      while (PeekNamedPipe(read_end, nullptr, 0, nullptr, &available, nullptr) && available > 0 &&
             ReadFile(read_end, buffer, sizeof buffer, &got, nullptr) && got > 0) {
        text.append(buffer, got);
      }
      break;
    }
    if (static_cast<LONG>(GetTickCount() - deadline) > 0) break;
  }
  CloseHandle(read_end);
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(process.hProcess, 0) != WAIT_OBJECT_0) {
    TerminateProcess(process.hProcess, 1);
    WaitForSingleObject(process.hProcess, 5000);
  } else {
    GetExitCodeProcess(process.hProcess, &code);
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  if (output) *output = text;
  return static_cast<int>(code);
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

SIZE_T AllocationSize(void* block) {
  IMalloc* malloc = nullptr;
  if (FAILED(CoGetMalloc(1, &malloc))) return 0;
  const SIZE_T size = malloc->GetSize(block);
  malloc->Release();
  return size;
}

bool KeyExists(HKEY root, const std::wstring& path) { return ReadKey(root, path).exists; }

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

}  // namespace quill::test
