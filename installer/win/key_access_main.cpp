// QuillfernKeyAccess.exe: run by the installer (elevated), after it has written the install key,
// to set the access of the suite's registry keys:
//
// - HKEY_LOCAL_MACHINE\Software\Torvo and the keys below it: the local Users group may write
//   them, since the unelevated programs keep the middleware's store there. The store opens its
//   keys with KEY_ALL_ACCESS, so that is what the group is granted (inherited by the subkeys).
//   The key's parent, HKEY_LOCAL_MACHINE\Software, is left alone.
// - HKEY_LOCAL_MACHINE\Software\Torvo\Torvo Quillfern (the install key) gets the same grant of
//   its own, so the unelevated configuration application can store the language the user
//   chooses ("Translation") also where Windows does not pass the grant on to a key that exists.
//
// Exit codes: 0 done (also when the access was already so), 1 failed (the reason on standard error).
#include <windows.h>
#include <aclapi.h>

#include <cstdio>

#include "winsupport/handles.h"

namespace {

constexpr wchar_t kTorvoKey[] = L"Software\\Torvo";
constexpr wchar_t kInstallKey[] = L"Software\\Torvo\\Torvo Quillfern";

int Fail(const char* step, DWORD error) {
  std::fprintf(stderr, "QuillfernKeyAccess: %s failed (error %lu)\n", step, static_cast<unsigned long>(error));
  return 1;
}

struct Sid {
  explicit Sid(WELL_KNOWN_SID_TYPE type) {
    DWORD size = sizeof bytes;
    ok = CreateWellKnownSid(type, nullptr, bytes, &size) != FALSE;
  }
  PSID get() { return bytes; }
  BYTE bytes[SECURITY_MAX_SID_SIZE] = {};
  bool ok = false;
};

EXPLICIT_ACCESSW Entry(Sid& sid, DWORD rights, ACCESS_MODE mode) {
  EXPLICIT_ACCESSW access{};
  access.grfAccessPermissions = rights;
  access.grfAccessMode = mode;
  access.grfInheritance = SUB_CONTAINERS_ONLY_INHERIT;
  access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
  access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
  access.Trustee.ptstrName = static_cast<LPWSTR>(sid.get());
  return access;
}

// True when the DACL already allows `sid` every one of `rights`, inherited by the subkeys.
bool AlreadyGranted(PACL dacl, PSID sid, DWORD rights) {
  if (!dacl) return false;
  for (DWORD i = 0; i < dacl->AceCount; ++i) {
    void* entry = nullptr;
    if (!GetAce(dacl, i, &entry)) continue;
    const auto* header = static_cast<const ACE_HEADER*>(entry);
    if (header->AceType != ACCESS_ALLOWED_ACE_TYPE || (header->AceFlags & INHERITED_ACE) ||
        !(header->AceFlags & CONTAINER_INHERIT_ACE)) {
      continue;
    }
    const auto* allowed = static_cast<const ACCESS_ALLOWED_ACE*>(entry);
    if ((allowed->Mask & rights) == rights && EqualSid(const_cast<DWORD*>(&allowed->SidStart), sid)) return true;
  }
  return false;
}

quill::win::RegistryKey OpenForAccess(const wchar_t* path, LSTATUS& status) {
  HKEY key = nullptr;
  status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, path, 0, nullptr, 0, READ_CONTROL | WRITE_DAC | KEY_WOW64_64KEY,
                           nullptr, &key, nullptr);
  return quill::win::RegistryKey(status == ERROR_SUCCESS ? key : nullptr);
}

// Grants the Users group full access to the key at `path` (inherited by its subkeys).
int GrantToUsers(Sid& users, const wchar_t* path, const char* what) {
  LSTATUS status = ERROR_SUCCESS;
  const quill::win::RegistryKey key = OpenForAccess(path, status);
  if (!key) return Fail(what, status);
  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  DWORD error = GetSecurityInfo(key.Get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                                nullptr, &descriptor);
  if (error != ERROR_SUCCESS) return Fail(what, error);
  const quill::win::LocalMemory descriptor_owner(descriptor);
  if (AlreadyGranted(dacl, users.get(), KEY_ALL_ACCESS)) return 0;

  EXPLICIT_ACCESSW grant = Entry(users, KEY_ALL_ACCESS, GRANT_ACCESS);
  PACL new_dacl = nullptr;
  error = SetEntriesInAclW(1, &grant, dacl, &new_dacl);
  if (error != ERROR_SUCCESS) return Fail(what, error);
  const quill::win::LocalMemory new_dacl_owner(new_dacl);
  error = SetSecurityInfo(key.Get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, new_dacl, nullptr);
  if (error != ERROR_SUCCESS) return Fail(what, error);
  return 0;
}

}  // namespace

int wmain() {
  Sid users(WinBuiltinUsersSid);
  if (!users.ok) return Fail("building the Users group's SID", GetLastError());
  if (const int result = GrantToUsers(users, kTorvoKey, "setting the access of HKLM\\Software\\Torvo")) return result;
  return GrantToUsers(users, kInstallKey, "setting the access of the install key");
}
