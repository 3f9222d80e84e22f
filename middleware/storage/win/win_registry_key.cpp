#include "middleware/storage/win/win_registry_key.h"

#include <windows.h>

#include <string>

#include "middleware/storage/storage_errors.h"

namespace quill::storage {

static_assert(sizeof(wchar_t) == sizeof(char16_t));
static_assert(kRegSz == REG_SZ && kRegExpandSz == REG_EXPAND_SZ && kRegBinary == REG_BINARY &&
              kRegDword == REG_DWORD && kRegMultiSz == REG_MULTI_SZ);
static_assert(kE_FILE_NOT_FOUND == HRESULT_FROM_WIN32(ERROR_FILE_NOT_FOUND));
static_assert(kE_INVALID_DATA == HRESULT_FROM_WIN32(ERROR_INVALID_DATA));
static_assert(kE_INVALID_NAME == HRESULT_FROM_WIN32(ERROR_INVALID_NAME));
static_assert(kE_FILE_TOO_LARGE == HRESULT_FROM_WIN32(ERROR_FILE_TOO_LARGE));
static_assert(kE_MORE_DATA == HRESULT_FROM_WIN32(ERROR_MORE_DATA));
static_assert(kE_NO_UNICODE_TRANSLATION == HRESULT_FROM_WIN32(ERROR_NO_UNICODE_TRANSLATION));
static_assert(kE_NO_MORE_ITEMS == HRESULT_FROM_WIN32(ERROR_NO_MORE_ITEMS));
static_assert(kErrorKeyDeleted == ERROR_KEY_DELETED);

namespace {

std::wstring Wide(std::u16string_view text) { return std::wstring(text.begin(), text.end()); }

HResult FromStatus(LSTATUS status) { return HResultFromWin32(static_cast<uint32_t>(status)); }

// The machine-wide lock of the store's writes: a named mutex every process of every session
// opens. A wait that has not ended after a few seconds (a client stopped in the middle of an
// operation) goes on without it, as the registry itself would allow.
constexpr wchar_t kWriteLockName[] = L"Global\\TorvoStoreWrites";
constexpr DWORD kWriteLockWaitMs = 5000;

class NamedWriteLock final : public RegistryKey::WriteLock {
 public:
  explicit NamedWriteLock(HANDLE mutex) : mutex_(mutex) {}
  ~NamedWriteLock() override {
    ReleaseMutex(mutex_);
    CloseHandle(mutex_);
  }
  NamedWriteLock(const NamedWriteLock&) = delete;
  NamedWriteLock& operator=(const NamedWriteLock&) = delete;

 private:
  HANDLE mutex_;
};

std::unique_ptr<RegistryKey::WriteLock> TakeWriteLock() {
  HANDLE mutex = CreateMutexW(nullptr, FALSE, kWriteLockName);
  if (!mutex) return nullptr;
  const DWORD waited = WaitForSingleObject(mutex, kWriteLockWaitMs);
  // An abandoned mutex is ours now: its owner ended without releasing it.
  if (waited != WAIT_OBJECT_0 && waited != WAIT_ABANDONED) {
    CloseHandle(mutex);
    return nullptr;
  }
  return std::make_unique<NamedWriteLock>(mutex);
}

class WinRegistryKey final : public RegistryKey {
 public:
  WinRegistryKey(HKEY key, bool owned) : key_(key), owned_(owned) {}
  ~WinRegistryKey() override {
    if (owned_) RegCloseKey(key_);
  }
  WinRegistryKey(const WinRegistryKey&) = delete;
  WinRegistryKey& operator=(const WinRegistryKey&) = delete;

  HResult CreateSubkey(std::u16string_view path, std::unique_ptr<RegistryKey>& key) override {
    key.reset();
    HKEY created = nullptr;
    const LSTATUS status = RegCreateKeyExW(key_, Wide(path).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                           &created, nullptr);
    if (status != ERROR_SUCCESS) return FromStatus(status);
    key = std::make_unique<WinRegistryKey>(created, true);
    return kS_OK;
  }

  HResult OpenSubkey(std::u16string_view path, std::unique_ptr<RegistryKey>& key) override {
    key.reset();
    HKEY opened = nullptr;
    const LSTATUS status = RegOpenKeyExW(key_, Wide(path).c_str(), 0, KEY_ALL_ACCESS, &opened);
    if (status != ERROR_SUCCESS) return FromStatus(status);
    key = std::make_unique<WinRegistryKey>(opened, true);
    return kS_OK;
  }

  std::unique_ptr<WriteLock> LockWrites() override { return TakeWriteLock(); }

  HResult DeleteSubkey(std::u16string_view name) override {
    return FromStatus(RegDeleteKeyW(key_, Wide(name).c_str()));
  }

  HResult CountSubkeys(uint32_t& count) override {
    DWORD subkeys = 0;
    const LSTATUS status = RegQueryInfoKeyW(key_, nullptr, nullptr, nullptr, &subkeys, nullptr, nullptr, nullptr,
                                            nullptr, nullptr, nullptr, nullptr);
    count = status == ERROR_SUCCESS ? subkeys : 0;
    return FromStatus(status);
  }

  HResult SubkeyName(uint32_t index, std::u16string& name) override {
    name.clear();
    wchar_t buffer[kMaxKeyNameLength + 1];
    DWORD length = static_cast<DWORD>(std::size(buffer));
    const LSTATUS status = RegEnumKeyExW(key_, index, buffer, &length, nullptr, nullptr, nullptr, nullptr);
    if (status != ERROR_SUCCESS) return FromStatus(status);
    name.assign(buffer, buffer + length);
    return kS_OK;
  }

  HResult QueryValue(std::u16string_view name, size_t max_size, uint32_t& type,
                     std::vector<uint8_t>& data) override {
    type = 0;
    data.clear();
    const std::wstring value = Wide(name);
    // The value can change between the size query and the read: a few attempts.
    for (int attempt = 0; attempt < 4; ++attempt) {
      DWORD stored_type = 0;
      DWORD size = 0;
      LSTATUS status = RegQueryValueExW(key_, value.c_str(), nullptr, &stored_type, nullptr, &size);
      if (status != ERROR_SUCCESS) return FromStatus(status);
      type = stored_type;
      if (size > max_size) return kE_MORE_DATA;
      data.resize(size);
      status = RegQueryValueExW(key_, value.c_str(), nullptr, &stored_type, data.data(), &size);
      if (status == ERROR_MORE_DATA) continue;
      if (status != ERROR_SUCCESS) {
        data.clear();
        return FromStatus(status);
      }
      type = stored_type;
      data.resize(size);
      return kS_OK;
    }
    data.clear();
    return kE_MORE_DATA;
  }

  HResult SetValue(std::u16string_view name, uint32_t type, std::span<const uint8_t> data) override {
    if (data.size() > MAXDWORD) return kE_INVALIDARG;
    return FromStatus(RegSetValueExW(key_, Wide(name).c_str(), 0, type, data.data(), static_cast<DWORD>(data.size())));
  }

  HResult DeleteValue(std::u16string_view name) override {
    return FromStatus(RegDeleteValueW(key_, Wide(name).c_str()));
  }

 private:
  HKEY key_;
  bool owned_;
};

}  // namespace

std::unique_ptr<RegistryKey> LocalMachineKey() {
  return std::make_unique<WinRegistryKey>(HKEY_LOCAL_MACHINE, false);
}

}  // namespace quill::storage
