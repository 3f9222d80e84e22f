// Every shipped binary of this build carries the suite's version information, and every program
// its manifest (run as invoker, common controls 6, per-monitor DPI awareness, Windows 7 to 11).
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "emulator/win/emulator_process.h"
#include "installer/tests/versioned_binaries.h"  // generated: kVersionedBinaries

namespace {

std::string Narrow(const std::wstring& text) { return std::string(text.begin(), text.end()); }

std::wstring VersionString(const std::vector<BYTE>& info, const wchar_t* name) {
  wchar_t* value = nullptr;
  UINT length = 0;
  const std::wstring key = std::wstring(L"\\StringFileInfo\\040904B0\\") + name;
  if (!VerQueryValueW(info.data(), key.c_str(), reinterpret_cast<void**>(&value), &length) || !value) return {};
  return value;
}

std::string Manifest(const std::wstring& path) {
  HMODULE module = LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!module) return {};
  std::string text;
  if (HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(1), RT_MANIFEST)) {
    if (HGLOBAL loaded = LoadResource(module, resource)) {
      text.assign(static_cast<const char*>(LockResource(loaded)), SizeofResource(module, resource));
    }
  }
  FreeLibrary(module);
  return text;
}

TEST(VersionInfo, EveryShippedBinaryCarriesTheSuitesVersionAndProgramsTheirManifest) {
  const std::wstring folder = quill::emu::EmulatorProcess::ExecutableFolder();
  for (const auto& binary : kVersionedBinaries) {
    SCOPED_TRACE(Narrow(binary.file));
    const std::wstring path = folder + L"\\" + binary.file;
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path.c_str(), &ignored);
    ASSERT_GT(size, 0u) << "no version information";
    std::vector<BYTE> info(size);
    ASSERT_TRUE(GetFileVersionInfoW(path.c_str(), 0, size, info.data()));
    VS_FIXEDFILEINFO* fixed = nullptr;
    UINT length = 0;
    ASSERT_TRUE(VerQueryValueW(info.data(), L"\\", reinterpret_cast<void**>(&fixed), &length));
    EXPECT_EQ(fixed->dwFileVersionMS, MAKELONG(0, 4));
    EXPECT_EQ(fixed->dwFileVersionLS, 0u);
    EXPECT_EQ(fixed->dwProductVersionMS, MAKELONG(0, 4));
    EXPECT_EQ(fixed->dwProductVersionLS, 0u);
    EXPECT_EQ(VersionString(info, L"CompanyName"), L"Torvo");
    EXPECT_EQ(VersionString(info, L"ProductName"), L"Torvo Quillfern");
    EXPECT_EQ(VersionString(info, L"FileVersion"), L"4.0.0");
    EXPECT_EQ(VersionString(info, L"ProductVersion"), L"4.0.0");
    EXPECT_EQ(VersionString(info, L"OriginalFilename"), binary.file);
    EXPECT_FALSE(VersionString(info, L"FileDescription").empty());

    if (!binary.program) continue;
    const std::string manifest = Manifest(path);
    ASSERT_FALSE(manifest.empty()) << "no manifest (resource 24/1)";
    for (const char* part : {"level=\"asInvoker\"", "Microsoft.Windows.Common-Controls", "PerMonitorV2, PerMonitor",
                             "true/pm", "{35138b9a-5d96-4fbd-8e2d-a2440225f93a}",
                             "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}"}) {
      EXPECT_NE(manifest.find(part), std::string::npos) << part;
    }
  }
}

}  // namespace
