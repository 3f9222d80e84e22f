// What the installer's tests read back: registry keys and values (64-bit view), the access of a
// key, the files below a folder, the system's folders, and waiting for a condition.
#pragma once
#include <windows.h>

#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>

namespace quill::test {

// A key's values by name: strings as they are, DWORDs as "dword:N", other types as "type:N".
// Nullopt when the key cannot be opened.
using KeyValues = std::map<std::wstring, std::wstring>;
std::optional<KeyValues> ReadValues(HKEY root, const std::wstring& path);
bool KeyExists(HKEY root, const std::wstring& path);
std::set<std::wstring> SubkeyNames(HKEY root, const std::wstring& path);

// The owner, group and access list of a key in the string form; empty when unreadable.
std::wstring KeySecurityText(HKEY root, const std::wstring& path);
// The explicit entries of the key's access list that allow the local Users group (S-1-5-32-545)
// every right of KEY_ALL_ACCESS and are inherited by subkeys.
int UsersFullAccessEntries(HKEY root, const std::wstring& path);
// The rights the key's access list allows the local Users group (explicit and inherited entries).
DWORD UsersAllowedRights(HKEY root, const std::wstring& path);
// Sets the key's access list from the string form of KeySecurityText (its access list only).
bool RestoreKeyAccess(HKEY root, const std::wstring& path, const std::wstring& text);

// Every file below folder, as paths relative to it ("a\\b.txt").
std::set<std::wstring> FilesBelow(const std::wstring& folder);
bool FileExists(const std::wstring& path);
bool FolderExists(const std::wstring& path);
std::string ReadBytes(const std::wstring& path);
bool WriteBytes(const std::wstring& path, const std::string& bytes);

// SHGetFolderPathW of a CSIDL value (no trailing backslash).
std::wstring SystemFolder(int csidl);

// Calls condition until it is true or timeout_ms have passed (every 100 ms).
bool WaitFor(const std::function<bool()>& condition, DWORD timeout_ms);

}  // namespace quill::test
