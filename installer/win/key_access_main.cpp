// QuillfernKeyAccess.exe: run by the installer (elevated) to let the local Users group write the
// suite's registry key HKEY_LOCAL_MACHINE\Software\Torvo and its subkeys, where the unelevated
// programs keep the middleware's store and the language setting. They open those keys with
// KEY_ALL_ACCESS, so that is what the group is granted; the key's parent is left alone.
//
// Exit codes: 0 granted (or already granted), 1 failed (the reason on standard error).
#include <windows.h>
#include <aclapi.h>

#include <cstdio>

#include "winsupport/handles.h"

namespace {

constexpr wchar_t kKeyPath[] = L"Software\\Torvo";
constexpr DWORD kRights = KEY_ALL_ACCESS;

int Fail(const char* step, DWORD error) {
  std::fprintf(stderr, "QuillfernKeyAccess: %s failed (error %lu)\n", step, static_cast<unsigned long>(error));
  return 1;
}

// True when the DACL already allows the group the rights, inherited by the subkeys.
bool AlreadyGranted(PACL dacl, PSID users) {
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
    if ((allowed->Mask & kRights) == kRights && EqualSid(const_cast<DWORD*>(&allowed->SidStart), users)) return true;
  }
  return false;
}

}  // namespace

int wmain() {
  HKEY opened = nullptr;
  const LSTATUS status = RegCreateKeyExW(HKEY_LOCAL_MACHINE, kKeyPath, 0, nullptr, 0,
                                         READ_CONTROL | WRITE_DAC | KEY_WOW64_64KEY, nullptr, &opened, nullptr);
  if (status != ERROR_SUCCESS) return Fail("opening HKLM\\Software\\Torvo", status);
  const quill::win::RegistryKey key(opened);

  BYTE users_sid[SECURITY_MAX_SID_SIZE];
  DWORD sid_size = sizeof users_sid;
  if (!CreateWellKnownSid(WinBuiltinUsersSid, nullptr, users_sid, &sid_size)) {
    return Fail("building the Users group's SID", GetLastError());
  }

  PACL dacl = nullptr;
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  DWORD error = GetSecurityInfo(key.Get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl,
                                nullptr, &descriptor);
  if (error != ERROR_SUCCESS) return Fail("reading the key's access list", error);
  const quill::win::LocalMemory descriptor_owner(descriptor);
  if (AlreadyGranted(dacl, users_sid)) return 0;

  EXPLICIT_ACCESSW access{};
  access.grfAccessPermissions = kRights;
  access.grfAccessMode = GRANT_ACCESS;
  access.grfInheritance = SUB_CONTAINERS_ONLY_INHERIT;
  access.Trustee.TrusteeForm = TRUSTEE_IS_SID;
  access.Trustee.TrusteeType = TRUSTEE_IS_WELL_KNOWN_GROUP;
  access.Trustee.ptstrName = reinterpret_cast<LPWSTR>(users_sid);
  PACL new_dacl = nullptr;
  error = SetEntriesInAclW(1, &access, dacl, &new_dacl);
  if (error != ERROR_SUCCESS) return Fail("building the new access list", error);
  const quill::win::LocalMemory new_dacl_owner(new_dacl);
  error = SetSecurityInfo(key.Get(), SE_REGISTRY_KEY, DACL_SECURITY_INFORMATION, nullptr, nullptr, new_dacl,
                          nullptr);
  if (error != ERROR_SUCCESS) return Fail("writing the key's access list", error);
  return 0;
}
