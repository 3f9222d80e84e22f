// regsvr32 writes exactly the keys and values of the server and removes them again.
#include <ServerLib.h>

#include "middleware/objects/tests/win/test_support.h"
#include "middleware/objects/win/server_identity.h"

namespace quill::test {
namespace {

using Values = std::map<std::wstring, std::wstring>;
using Subkeys = std::set<std::wstring>;

struct ExpectedKey {
  std::wstring path;
  Values values;
  Subkeys subkeys;
};

std::wstring ClassKey() { return L"CLSID\\" + GuidText(CLSID_DeviceEnumeration); }
std::wstring TypeLibKey() { return L"TypeLib\\" + GuidText(LIBID_ServerLib); }

std::vector<ExpectedKey> ExpectedKeys() {
  const std::wstring clsid = GuidText(CLSID_DeviceEnumeration);
  const std::wstring appid = server::kAppIdText;
  const std::wstring cls = ClassKey();
  return {
      {L"Server.DeviceEnumeration.1", {{L"", L"DeviceEnumeration Class"}}, {L"CLSID"}},
      {L"Server.DeviceEnumeration.1\\CLSID", {{L"", clsid}}, {}},
      {L"Server.DeviceEnumeration", {{L"", L"DeviceEnumeration Class"}}, {L"CLSID", L"CurVer"}},
      {L"Server.DeviceEnumeration\\CLSID", {{L"", clsid}}, {}},
      {L"Server.DeviceEnumeration\\CurVer", {{L"", L"Server.DeviceEnumeration.1"}}, {}},
      {cls,
       {{L"", L"DeviceEnumeration Class"}, {L"AppID", appid}},
       {L"InprocServer32", L"ProgID", L"Programmable", L"TypeLib", L"VersionIndependentProgID"}},
      {cls + L"\\ProgID", {{L"", L"Server.DeviceEnumeration.1"}}, {}},
      {cls + L"\\VersionIndependentProgID", {{L"", L"Server.DeviceEnumeration"}}, {}},
      {cls + L"\\Programmable", {}, {}},
      {cls + L"\\InprocServer32", {{L"", ServerPath()}, {L"ThreadingModel", L"Apartment"}}, {}},
      {cls + L"\\TypeLib", {{L"", L"{}"}}, {}},
      {L"AppID\\" + appid, {{L"", L"TorvoMiddlewareServer"}}, {}},
      {L"AppID\\TorvoMiddlewareServer.DLL", {{L"AppID", appid}}, {}},
  };
}

void ExpectRegistered() {
  for (const ExpectedKey& expected : ExpectedKeys()) {
    SCOPED_TRACE(std::string(expected.path.begin(), expected.path.end()));
    const KeySnapshot key = ReadKey(HKEY_CLASSES_ROOT, expected.path);
    ASSERT_TRUE(key.exists);
    EXPECT_EQ(key.values, expected.values);
    EXPECT_EQ(key.subkeys, expected.subkeys);
  }
  // The type library is registered separately, for this module.
  KeySnapshot win64 = ReadKey(HKEY_CLASSES_ROOT, TypeLibKey() + L"\\1.0\\0\\win64");
  ASSERT_TRUE(win64.exists);
  EXPECT_EQ(win64.values[L""], ServerPath());
  EXPECT_EQ(ReadKey(HKEY_CLASSES_ROOT, TypeLibKey() + L"\\1.0").values[L""],
            L"Server 1.0 Type Library");
}

void ExpectUnregistered() {
  for (const std::wstring& gone :
       {ClassKey(), std::wstring(L"Server.DeviceEnumeration.1"),
        std::wstring(L"Server.DeviceEnumeration"), std::wstring(L"AppID\\") + server::kAppIdText,
        std::wstring(L"AppID\\TorvoMiddlewareServer.DLL"), TypeLibKey() + L"\\1.0"}) {
    EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, gone)) << std::string(gone.begin(), gone.end());
  }
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"CLSID"));
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, L"AppID"));
}

TEST(Registration, Regsvr32WritesExactlyTheServerKeysAndRemovesThem) {
  ASSERT_EQ(Regsvr32(false), 0);
  ExpectRegistered();
  ASSERT_EQ(Regsvr32(true), 0);
  ExpectUnregistered();
  // Unregistering what is not registered is no failure, and registration comes back whole.
  EXPECT_EQ(Regsvr32(true), 0);
  ASSERT_EQ(Regsvr32(false), 0);
  ExpectRegistered();
}

TEST(Registration, RegisteringAgainRebuildsTheClassKey) {
  ASSERT_EQ(Regsvr32(false), 0);
  // Leftovers of an older registration below the class key disappear; the rest is unchanged.
  HKEY stale = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, (ClassKey() + L"\\LocalServer32").c_str(), 0,
                            nullptr, 0, KEY_WRITE, nullptr, &stale, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(stale);
  ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, (ClassKey() + L"\\InprocServer32").c_str(),
                            L"ThreadingModel", REG_SZ, L"Free", 10),
            ERROR_SUCCESS);
  ASSERT_EQ(Regsvr32(false), 0);
  ExpectRegistered();
}

TEST(Registration, UnregisteringLeavesOtherClassesAndAppIdsAlone) {
  ASSERT_EQ(Regsvr32(false), 0);
  const std::wstring neighbour = L"CLSID\\{0D6A5C11-77B2-4A8E-9F3C-5E1B2A3C4D5E}";
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, neighbour.c_str(), 0, nullptr, 0, KEY_WRITE,
                            nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  ASSERT_EQ(Regsvr32(true), 0);
  ExpectUnregistered();
  EXPECT_TRUE(KeyExists(HKEY_CLASSES_ROOT, neighbour));
  RegDeleteTreeW(HKEY_CLASSES_ROOT, neighbour.c_str());
}

TEST(Registration, FailuresAreReported) {
  // A volatile key cannot get non-volatile subkeys, so the ProgID's CLSID subkey fails.
  ASSERT_EQ(Regsvr32(true), 0);
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CLASSES_ROOT, L"Server.DeviceEnumeration.1", 0, nullptr,
                            REG_OPTION_VOLATILE, KEY_WRITE, nullptr, &key, nullptr),
            ERROR_SUCCESS);
  RegCloseKey(key);
  {
    ServerModule module;
    ASSERT_TRUE(module);
    EXPECT_EQ(module.Register(), HRESULT_FROM_WIN32(ERROR_CHILD_MUST_BE_VOLATILE));
  }
  EXPECT_NE(Regsvr32(false), 0);
  ASSERT_EQ(Regsvr32(true), 0);  // removes the volatile key with the rest
  EXPECT_FALSE(KeyExists(HKEY_CLASSES_ROOT, L"Server.DeviceEnumeration.1"));
  ASSERT_EQ(Regsvr32(false), 0);
  ExpectRegistered();
  ASSERT_EQ(Regsvr32(true), 0);
}

TEST(Registration, CallersThreadLocaleIsRestored) {
  ServerModule module;
  ASSERT_TRUE(module);
  const LCID german = MAKELCID(MAKELANGID(LANG_GERMAN, SUBLANG_GERMAN), SORT_DEFAULT);
  ASSERT_TRUE(SetThreadLocale(german));
  EXPECT_EQ(module.Register(), S_OK);
  EXPECT_EQ(GetThreadLocale(), german);
  EXPECT_EQ(module.Unregister(), S_OK);
  EXPECT_EQ(GetThreadLocale(), german);
  ExpectUnregistered();
}

}  // namespace
}  // namespace quill::test
