#include "common/win/registry_settings.h"

#include <shlobj.h>

#include <vector>

namespace quill::win {

namespace {

const wchar_t* Wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

class RegistrySettingsKey final : public SettingsKey {
 public:
  explicit RegistrySettingsKey(HKEY key) : key_(key) {}
  ~RegistrySettingsKey() override { RegCloseKey(key_); }
  RegistrySettingsKey(const RegistrySettingsKey&) = delete;
  RegistrySettingsKey& operator=(const RegistrySettingsKey&) = delete;

  std::optional<std::u16string> ReadString(std::u16string_view name) const override {
    const std::u16string valueName(name);
    for (int attempt = 0; attempt < 4; ++attempt) {
      DWORD bytes = 0;
      if (RegGetValueW(key_, nullptr, Wide(valueName), RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
        return std::nullopt;
      std::vector<char16_t> buffer(bytes / sizeof(char16_t) + 1, u'\0');
      DWORD size = static_cast<DWORD>(buffer.size() * sizeof(char16_t));
      const LSTATUS status = RegGetValueW(key_, nullptr, Wide(valueName), RRF_RT_REG_SZ, nullptr, buffer.data(), &size);
      if (status == ERROR_MORE_DATA) continue;  // grew between the two calls
      if (status != ERROR_SUCCESS) return std::nullopt;
      buffer.back() = u'\0';
      return std::u16string(buffer.data());
    }
    return std::nullopt;
  }

  std::optional<uint32_t> ReadDword(std::u16string_view name) const override {
    DWORD value = 0;
    DWORD size = sizeof value;
    if (RegGetValueW(key_, nullptr, Wide(std::u16string(name)), RRF_RT_REG_DWORD, nullptr, &value, &size) !=
        ERROR_SUCCESS)
      return std::nullopt;
    return static_cast<uint32_t>(value);
  }

  bool WriteDword(std::u16string_view name, uint32_t value) override {
    const DWORD data = value;
    return RegSetValueExW(key_, Wide(std::u16string(name)), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data),
                          sizeof data) == ERROR_SUCCESS;
  }

 private:
  HKEY key_;
};

}  // namespace

std::unique_ptr<SettingsKey> OpenSettingsKey(HKEY root, const std::u16string& path, bool forWrite) {
  HKEY key = nullptr;
  const REGSAM access = forWrite ? KEY_ALL_ACCESS : KEY_READ;
  if (RegCreateKeyExW(root, Wide(path), 0, nullptr, 0, access, nullptr, &key, nullptr) != ERROR_SUCCESS) {
    // Creating under HKEY_LOCAL_MACHINE needs rights a reader may lack; an existing key still opens.
    if (RegOpenKeyExW(root, Wide(path), 0, access, &key) != ERROR_SUCCESS) return nullptr;
  }
  return std::make_unique<RegistrySettingsKey>(key);
}

std::unique_ptr<SettingsKey> OpenInstallKey(bool forWrite) {
  return OpenSettingsKey(HKEY_LOCAL_MACHINE, std::u16string(kInstallKeyPath), forWrite);
}

std::u16string RoamingAppDataFolder() {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, CSIDL_APPDATA | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path)))
    return {};
  std::u16string folder(reinterpret_cast<const char16_t*>(path));
  while (folder.size() > 3 && (folder.back() == u'\\' || folder.back() == u'/')) folder.pop_back();
  return folder;
}

}  // namespace quill::win
