#include "middleware/objects/win/registration.h"

#include <ServerLib.h>
#include <oleauto.h>

#include <optional>
#include <string>
#include <vector>

#include "middleware/objects/win/module.h"
#include "middleware/objects/win/server_identity.h"
#include "winsupport/com_ptr.h"

namespace quill::server {
namespace {

// Registration runs under the system default locale; the caller's comes back afterwards.
class ThreadLocaleScope {
 public:
  ThreadLocaleScope() : saved_(GetThreadLocale()) { SetThreadLocale(LOCALE_SYSTEM_DEFAULT); }
  ~ThreadLocaleScope() { SetThreadLocale(saved_); }
  ThreadLocaleScope(const ThreadLocaleScope&) = delete;
  ThreadLocaleScope& operator=(const ThreadLocaleScope&) = delete;

 private:
  const LCID saved_;
};

class RegKey {
 public:
  RegKey() = default;
  RegKey(const RegKey&) = delete;
  RegKey& operator=(const RegKey&) = delete;
  ~RegKey() {
    if (key_) RegCloseKey(key_);
  }
  HKEY* Put() { return &key_; }
  HKEY Get() const { return key_; }

 private:
  HKEY key_ = nullptr;
};

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40] = {};
  StringFromGUID2(guid, text, 40);
  return text;
}

// One key of the registration and, optionally, one value in it (name null: the default value).
struct Entry {
  std::wstring key;
  const wchar_t* value_name = nullptr;
  std::optional<std::wstring> data;
};

std::wstring ClassKey() { return L"CLSID\\" + GuidText(CLSID_DeviceEnumeration); }
std::wstring AppIdKey() { return std::wstring(L"AppID\\") + kAppIdText; }
std::wstring AppIdModuleKey() { return std::wstring(L"AppID\\") + kModuleFileName; }

std::vector<Entry> Entries(const std::wstring& module_path) {
  const std::wstring clsid = GuidText(CLSID_DeviceEnumeration);
  const std::wstring cls = ClassKey();
  const std::wstring progid = kProgId;
  const std::wstring independent = kVersionIndependentProgId;
  return {
      {progid, nullptr, kClassDescription},
      {progid + L"\\CLSID", nullptr, clsid},
      {independent, nullptr, kClassDescription},
      {independent + L"\\CLSID", nullptr, clsid},
      {independent + L"\\CurVer", nullptr, progid},
      {cls, nullptr, kClassDescription},
      {cls, L"AppID", kAppIdText},
      {cls + L"\\ProgID", nullptr, progid},
      {cls + L"\\VersionIndependentProgID", nullptr, independent},
      {cls + L"\\Programmable", nullptr, std::nullopt},
      {cls + L"\\InprocServer32", nullptr, module_path},
      {cls + L"\\InprocServer32", L"ThreadingModel", kThreadingModel},
      {cls + L"\\TypeLib", nullptr, L"{}"},
      {AppIdKey(), nullptr, kProjectName},
      {AppIdModuleKey(), L"AppID", kAppIdText},
  };
}

HRESULT FromStatus(LSTATUS status) {
  return status == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(static_cast<DWORD>(status));
}

HRESULT Write(const Entry& entry) {
  RegKey key;
  LSTATUS status = RegCreateKeyExW(HKEY_CLASSES_ROOT, entry.key.c_str(), 0, nullptr,
                                   REG_OPTION_NON_VOLATILE, KEY_SET_VALUE, nullptr, key.Put(),
                                   nullptr);
  if (status != ERROR_SUCCESS || !entry.data) return FromStatus(status);
  const std::wstring& data = *entry.data;
  status = RegSetValueExW(key.Get(), entry.value_name, 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(data.c_str()),
                          static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
  return FromStatus(status);
}

// Removes a key with everything below it; a key that is not there is fine.
HRESULT RemoveTree(const std::wstring& key) {
  const LSTATUS status = RegDeleteTreeW(HKEY_CLASSES_ROOT, key.c_str());
  return status == ERROR_FILE_NOT_FOUND ? S_OK : FromStatus(status);
}

bool KeyExists(const std::wstring& key) {
  RegKey opened;
  return RegOpenKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, KEY_READ, opened.Put()) == ERROR_SUCCESS;
}

HRESULT ModuleFile(std::wstring& path) {
  path = ModulePath();
  if (!path.empty()) return S_OK;
  const DWORD error = GetLastError();
  return error ? HRESULT_FROM_WIN32(error) : E_FAIL;
}

HRESULT LoadEmbeddedTypeLib(const std::wstring& path, com::ComPtr<ITypeLib>& library) {
  return LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.Put());
}

HRESULT UnregisterTypeLibrary(const std::wstring& path) {
  com::ComPtr<ITypeLib> library;
  HRESULT hr = LoadEmbeddedTypeLib(path, library);
  if (FAILED(hr)) return hr;
  TLIBATTR* attr = nullptr;
  hr = library->GetLibAttr(&attr);
  if (FAILED(hr)) return hr;
  const TLIBATTR copy = *attr;
  library->ReleaseTLibAttr(attr);
  wchar_t version[16] = {};
  wsprintfW(version, L"%x.%x", copy.wMajorVerNum, copy.wMinorVerNum);
  if (!KeyExists(L"TypeLib\\" + GuidText(copy.guid) + L"\\" + version)) return S_OK;
  return UnRegisterTypeLib(copy.guid, copy.wMajorVerNum, copy.wMinorVerNum, copy.lcid,
                           copy.syskind);
}

}  // namespace

HRESULT RegisterServer() {
  const ThreadLocaleScope locale;
  std::wstring path;
  HRESULT hr = ModuleFile(path);
  if (FAILED(hr)) return hr;

  // The class key is rebuilt whole, so nothing of an older registration stays below it.
  hr = RemoveTree(ClassKey());
  if (FAILED(hr)) return hr;
  for (const Entry& entry : Entries(path)) {
    hr = Write(entry);
    if (FAILED(hr)) return hr;
  }

  com::ComPtr<ITypeLib> library;
  hr = LoadEmbeddedTypeLib(path, library);
  if (FAILED(hr)) return hr;
  return RegisterTypeLib(library.Get(), path.data(), nullptr);
}

HRESULT UnregisterServer() {
  const ThreadLocaleScope locale;
  std::wstring path;
  HRESULT first = ModuleFile(path);
  auto keep_first = [&first](HRESULT hr) {
    if (SUCCEEDED(first) && FAILED(hr)) first = hr;
  };
  if (SUCCEEDED(first)) keep_first(UnregisterTypeLibrary(path));
  for (const std::wstring& key : {ClassKey(), std::wstring(kProgId),
                                  std::wstring(kVersionIndependentProgId), AppIdKey(),
                                  AppIdModuleKey()}) {
    keep_first(RemoveTree(key));
  }
  return first;
}

}  // namespace quill::server
