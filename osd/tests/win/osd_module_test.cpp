// OSD.dll as a file: exactly its two exports, and its version information.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "osd/osd_api.h"

namespace quill::osd {
namespace {

HMODULE OsdModule() {
  OsdInitialize(0);  // the module is loaded through the import table; make sure it is used
  return GetModuleHandleW(L"OSD.dll");
}

const IMAGE_DATA_DIRECTORY& Directory(const BYTE* base, int entry) {
  const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
  const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(base + dos->e_lfanew);
  return nt->OptionalHeader.DataDirectory[entry];
}

TEST(OsdModule, ExportsExactlyItsTwoEntryPointsAndImportsOnlySystemDlls) {
  const auto* base = reinterpret_cast<const BYTE*>(OsdModule());
  ASSERT_NE(base, nullptr);
  const IMAGE_DATA_DIRECTORY& directory = Directory(base, IMAGE_DIRECTORY_ENTRY_EXPORT);
  ASSERT_NE(directory.VirtualAddress, 0u);
  const auto* exports = reinterpret_cast<const IMAGE_EXPORT_DIRECTORY*>(base + directory.VirtualAddress);
  const auto* names = reinterpret_cast<const DWORD*>(base + exports->AddressOfNames);
  std::vector<std::string> found;
  for (DWORD i = 0; i < exports->NumberOfNames; ++i) found.emplace_back(reinterpret_cast<const char*>(base + names[i]));
  std::sort(found.begin(), found.end());
  EXPECT_EQ(found, (std::vector<std::string>{"OsdCreate", "OsdInitialize"}));

  // libgcc and libstdc++ are linked in: nothing beyond the system's DLLs is needed.
  const IMAGE_DATA_DIRECTORY& imports = Directory(base, IMAGE_DIRECTORY_ENTRY_IMPORT);
  const std::vector<std::string> system = {"gdi32.dll", "kernel32.dll", "msvcrt.dll", "user32.dll"};
  for (auto* d = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + imports.VirtualAddress); d->Name; ++d) {
    std::string name = reinterpret_cast<const char*>(base + d->Name);
    std::transform(name.begin(), name.end(), name.begin(), [](char c) { return static_cast<char>(tolower(c)); });
    EXPECT_TRUE(std::find(system.begin(), system.end(), name) != system.end() || name.rfind("api-ms-win-", 0) == 0)
        << "imports " << name;
  }
}

TEST(OsdModule, CarriesVersionFourOfTorvo) {
  wchar_t path[MAX_PATH];
  ASSERT_GT(GetModuleFileNameW(OsdModule(), path, MAX_PATH), 0u);
  DWORD ignored = 0;
  const DWORD size = GetFileVersionInfoSizeW(path, &ignored);
  ASSERT_GT(size, 0u);
  std::vector<BYTE> info(size);
  ASSERT_TRUE(GetFileVersionInfoW(path, 0, size, info.data()));
  VS_FIXEDFILEINFO* fixed = nullptr;
  UINT length = 0;
  ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
  EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 4));
  EXPECT_EQ(fixed->dwFileVersionLS, 0u);
  EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 4));
  const struct {
    const wchar_t* name;
    std::wstring value;
  } strings[] = {{L"CompanyName", L"Torvo"}, {L"FileVersion", L"4.0.0"}, {L"ProductVersion", L"4.0.0"},
                 {L"OriginalFilename", L"OSD.dll"}};
  for (const auto& s : strings) {
    wchar_t* value = nullptr;
    const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + s.name;
    ASSERT_TRUE(VerQueryValueW(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &length)) << s.name;
    EXPECT_EQ(std::wstring(value), s.value);
  }
}

}  // namespace
}  // namespace quill::osd
