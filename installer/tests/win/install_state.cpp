#include "installer/tests/win/install_state.h"

#include <aclapi.h>
#include <sddl.h>
#include <shlobj.h>

#include <filesystem>
#include <fstream>
#include <vector>

#include "winsupport/handles.h"

namespace quill::test {
namespace {

// The key at `path` opened in the 64-bit view; empty when it cannot be opened.
win::RegistryKey OpenKey(HKEY root, const std::wstring& path, REGSAM access) {
  HKEY key = nullptr;
  if (RegOpenKeyExW(root, path.c_str(), 0, access | KEY_WOW64_64KEY, &key) != ERROR_SUCCESS) return {};
  return win::RegistryKey(key);
}

}  // namespace

std::optional<KeyValues> ReadValues(HKEY root, const std::wstring& path) {
  const win::RegistryKey key = OpenKey(root, path, KEY_READ);
  if (!key) return std::nullopt;
  KeyValues values;
  for (DWORD i = 0;; ++i) {
    wchar_t name[16384];
    DWORD name_size = 16384, type = 0, size = 0;
    if (RegEnumValueW(key.Get(), i, name, &name_size, nullptr, &type, nullptr, &size) != ERROR_SUCCESS) break;
    std::vector<BYTE> data(size + sizeof(wchar_t));
    name_size = 16384;
    if (RegEnumValueW(key.Get(), i, name, &name_size, nullptr, &type, data.data(), &size) != ERROR_SUCCESS) break;
    if (type == REG_SZ || type == REG_EXPAND_SZ) {
      std::wstring text(reinterpret_cast<const wchar_t*>(data.data()), size / sizeof(wchar_t));
      if (!text.empty() && text.back() == L'\0') text.pop_back();
      values[name] = text;
    } else if (type == REG_DWORD && size == sizeof(DWORD)) {
      DWORD number = 0;
      memcpy(&number, data.data(), sizeof number);
      values[name] = L"dword:" + std::to_wstring(number);
    } else {
      values[name] = L"type:" + std::to_wstring(type);
    }
  }
  return values;
}

bool KeyExists(HKEY root, const std::wstring& path) { return static_cast<bool>(OpenKey(root, path, KEY_READ)); }

std::set<std::wstring> SubkeyNames(HKEY root, const std::wstring& path) {
  std::set<std::wstring> names;
  const win::RegistryKey key = OpenKey(root, path, KEY_READ);
  if (!key) return names;
  for (DWORD i = 0;; ++i) {
    wchar_t name[256];
    DWORD size = 256;
    if (RegEnumKeyExW(key.Get(), i, name, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    names.insert(name);
  }
  return names;
}

std::wstring KeySecurityText(HKEY root, const std::wstring& path) {
  const win::RegistryKey key = OpenKey(root, path, READ_CONTROL);
  if (!key) return {};
  const SECURITY_INFORMATION parts = OWNER_SECURITY_INFORMATION | GROUP_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(key.Get(), SE_REGISTRY_KEY, parts, nullptr, nullptr, nullptr, nullptr, &descriptor) !=
      ERROR_SUCCESS) {
    return {};
  }
  const win::LocalMemory descriptor_owner(descriptor);
  LPWSTR text = nullptr;
  if (!ConvertSecurityDescriptorToStringSecurityDescriptorW(descriptor, SDDL_REVISION_1, parts, &text, nullptr)) {
    return {};
  }
  const win::LocalMemory text_owner(text);
  return text;
}

namespace {

// Calls `visit` with each allowing entry of the key's access list that names the Users group;
// false when the list cannot be read.
template <class Visit>
bool ForEachUsersEntry(HKEY root, const std::wstring& path, Visit visit) {
  const win::RegistryKey key = OpenKey(root, path, READ_CONTROL);
  if (!key) return false;
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (GetSecurityInfo(key.Get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                      &descriptor) != ERROR_SUCCESS) {
    return false;
  }
  const win::LocalMemory descriptor_owner(descriptor);
  BYTE users[SECURITY_MAX_SID_SIZE];
  DWORD size = sizeof users;
  if (!dacl || !CreateWellKnownSid(WinBuiltinUsersSid, nullptr, users, &size)) return false;
  for (DWORD i = 0; i < dacl->AceCount; ++i) {
    void* entry = nullptr;
    if (!GetAce(dacl, i, &entry)) continue;
    const auto* header = static_cast<const ACE_HEADER*>(entry);
    if (header->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
    const auto* allowed = static_cast<ACCESS_ALLOWED_ACE*>(entry);
    if (EqualSid(const_cast<DWORD*>(&allowed->SidStart), users)) visit(header->AceFlags, allowed->Mask);
  }
  return true;
}

}  // namespace

int UsersFullAccessEntries(HKEY root, const std::wstring& path) {
  int count = 0;
  const bool read = ForEachUsersEntry(root, path, [&](BYTE flags, ACCESS_MASK mask) {
    if (!(flags & INHERITED_ACE) && (flags & CONTAINER_INHERIT_ACE) && (mask & KEY_ALL_ACCESS) == KEY_ALL_ACCESS) {
      ++count;
    }
  });
  return read ? count : -1;
}

DWORD UsersAllowedRights(HKEY root, const std::wstring& path) {
  DWORD rights = 0;
  ForEachUsersEntry(root, path, [&](BYTE, ACCESS_MASK mask) { rights |= mask; });
  return rights;
}

bool RestoreKeyAccess(HKEY root, const std::wstring& path, const std::wstring& text) {
  const win::RegistryKey key = OpenKey(root, path, READ_CONTROL | WRITE_DAC);
  if (!key) return false;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorW(text.c_str(), SDDL_REVISION_1, &descriptor, nullptr)) {
    return false;
  }
  const win::LocalMemory descriptor_owner(descriptor);
  BOOL present = FALSE, defaulted = FALSE;
  PACL dacl = nullptr;
  if (!GetSecurityDescriptorDacl(descriptor, &present, &dacl, &defaulted) || !present) return false;
  return SetSecurityInfo(key.Get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, dacl, nullptr) ==
         ERROR_SUCCESS;
}

std::set<std::wstring> FilesBelow(const std::wstring& folder) {
  std::set<std::wstring> files;
  std::vector<std::wstring> pending{L""};
  while (!pending.empty()) {
    const std::wstring relative = pending.back();
    pending.pop_back();
    WIN32_FIND_DATAW found;
    HANDLE search = FindFirstFileW((folder + L"\\" + relative + L"*").c_str(), &found);
    if (search == INVALID_HANDLE_VALUE) continue;
    do {
      const std::wstring name = found.cFileName;
      if (name == L"." || name == L"..") continue;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        pending.push_back(relative + name + L"\\");
      } else {
        files.insert(relative + name);
      }
    } while (FindNextFileW(search, &found));
    FindClose(search);
  }
  return files;
}

bool FileExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool FolderExists(const std::wstring& path) {
  const DWORD attributes = GetFileAttributesW(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string ReadBytes(const std::wstring& path) {
  std::ifstream in(std::filesystem::path(path), std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

bool WriteBytes(const std::wstring& path, const std::string& bytes) {
  std::ofstream out(std::filesystem::path(path), std::ios::binary);
  out << bytes;
  return static_cast<bool>(out);
}

std::wstring SystemFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  if (FAILED(SHGetFolderPathW(nullptr, csidl | CSIDL_FLAG_CREATE, nullptr, SHGFP_TYPE_CURRENT, path))) return {};
  return path;
}

bool WaitFor(const std::function<bool()>& condition, DWORD timeout_ms) {
  const ULONGLONG end = GetTickCount64() + timeout_ms;
  for (;;) {
    if (condition()) return true;
    if (GetTickCount64() >= end) return false;
    Sleep(100);
  }
}

}  // namespace quill::test
