// The built type library: identity, coclass, the method order of every interface (so that a
// slot moved in the IDL is caught), records and enumerations, and record information for the
// SAFEARRAYs of the "Managed" methods.
#include <windows.h>
#include <ole2.h>
#include <oleauto.h>

#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "ServerLib.h"

namespace {

struct Bstr {
    BSTR s = nullptr;
    ~Bstr() { SysFreeString(s); }
    std::wstring str() const { return s ? std::wstring(s, SysStringLen(s)) : std::wstring(); }
};

template <class T>
struct Com {
    T* p = nullptr;
    Com() = default;
    Com(const Com&) = delete;
    Com& operator=(const Com&) = delete;
    ~Com() { if (p) p->Release(); }
    T** put() { if (p) { p->Release(); p = nullptr; } return &p; }
    T* operator->() const { return p; }
};

std::wstring ExeDir() {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    std::wstring s(path, n);
    return s.substr(0, s.find_last_of(L"\\/") + 1);
}

std::wstring ExePath() {
    wchar_t path[MAX_PATH];
    DWORD n = GetModuleFileNameW(nullptr, path, MAX_PATH);
    return std::wstring(path, n);
}

std::wstring TlbPath() { return ExeDir() + L"ServerLib.tlb"; }

class ComApartment : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_HRESULT_SUCCEEDED(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)); }
    void TearDown() override { CoUninitialize(); }
};

// The type library loaded from the built .tlb file.
class TypeLib : public ComApartment {
protected:
    void SetUp() override {
        ComApartment::SetUp();
        ASSERT_HRESULT_SUCCEEDED(LoadTypeLibEx(TlbPath().c_str(), REGKIND_NONE, lib.put()));
    }
    void TearDown() override {
        lib.put();
        ComApartment::TearDown();
    }
    Com<ITypeLib> lib;
};

std::wstring NameOf(ITypeInfo* info, MEMBERID id) {
    Bstr name;
    UINT got = 0;
    if (FAILED(info->GetNames(id, &name.s, 1, &got)) || got != 1) return L"?";
    return name.str();
}

std::wstring TypeName(ITypeInfo* info) {
    Bstr name;
    info->GetDocumentation(MEMBERID_NIL, &name.s, nullptr, nullptr, nullptr);
    return name.str();
}

// Interfaces of the library with their methods in slot order (after IUnknown's three).
struct InterfaceSlots {
    const IID* iid;
    const wchar_t* name;
    std::vector<const wchar_t*> methods;
};

const std::vector<InterfaceSlots>& AllInterfaces() {
    static const std::vector<InterfaceSlots> table = {
        {&IID_IDeviceEnumeration, L"IDeviceEnumeration",
         {L"OpenDeviceEnumerationInterface", L"CloseDeviceEnumerationInterface", L"EnumDeviceType",
          L"GetMiddlewareVersion"}},
        {&IID_IDeviceType, L"IDeviceType",
         {L"OpenDeviceInterface", L"CloseDeviceInterface", L"SwitchToNextDevice", L"GetDriverVersion",
          L"GetHardwareId", L"GetSerialNumber", L"GetFirmwareVersion", L"GetDeviceCapabilities",
          L"GetBusType", L"CreateProfileInterface", L"CreateMacroHandlingInterface",
          L"CreateUserActionInterface", L"CreateDefaultModeInterface", L"CreateWirelessDistanceInterface",
          L"CreateBatteryInterface", L"CreateMeridexInterface", L"CreateOTFSInterface",
          L"CreatePollingRateInterface", L"IsConnected", L"CreateSensorRomSwitchingInterface"}},
        {&IID_IProfile, L"IProfile",
         {L"LoadNumProfileGroups", L"LoadProfileGroupList", L"LoadNumProfilesInGroup", L"SaveProfileGroup",
          L"LoadProfileGroup", L"DeleteProfileGroup", L"ExportProfileGroup", L"ImportProfileGroup",
          L"ExportAllProfileGroups", L"ImportAllProfileGroups", L"SetButtonMappings", L"GetButtonMappings",
          L"LoadNumProfiles", L"LoadProfileList", L"SaveProfile", L"LoadProfile", L"DeleteProfile",
          L"ExportProfile", L"ImportProfile", L"ExportAllProfiles", L"ImportAllProfiles",
          L"CreateButtonControlInterface", L"CreateDpiSettingsInterface", L"CreateLedStatusInterface",
          L"CreatePerformanceSettingsInterface", L"CreateDpiInterface", L"LoadProfileGroupListManaged",
          L"LoadProfileGroupManaged", L"LoadProfileListManaged", L"SaveProfileGroupManaged",
          L"SetButtonMappingsManaged", L"SaveProfileManaged", L"GetButtonMappingsManaged",
          L"LoadProfileManaged", L"SetActiveProfile", L"GetActiveProfile"}},
        {&IID_IMacroHandling, L"IMacroHandling",
         {L"LoadNumSpellBooks", L"LoadSpellBookList", L"LoadNumMacrosInSpellBook", L"SaveSpellBook",
          L"LoadSpellBook", L"DeleteSpellBook", L"ExportSpellBook", L"ImportSpellBook",
          L"ExportAllSpellBooks", L"ImportAllSpellBooks", L"LoadNumMacros", L"LoadMacroList", L"SaveMacro",
          L"LoadMacro", L"DeleteMacro", L"ExportMacro", L"ImportMacro", L"ExportAllMacros",
          L"ImportAllMacros", L"LoadSpellBookListManaged", L"LoadSpellBookManaged", L"LoadMacroListManaged",
          L"SaveSpellBookManaged", L"SaveMacroManaged", L"LoadMacroManaged"}},
        {&IID_IUserAction, L"IUserAction",
         {L"LoadNumUserActions", L"LoadUserActionList", L"SaveUserAction", L"LoadUserAction",
          L"DeleteUserAction", L"ExportUserAction", L"ImportUserAction", L"ExportAllUserActions",
          L"ImportAllUserActions", L"LoadUserActionListManaged", L"SaveUserActionManaged",
          L"LoadUserActionManaged"}},
        {&IID_IDpi, L"IDpi", {L"GetDpiLevel", L"SetDpiLevel", L"GetDpiStages", L"SetDpiStages"}},
        {&IID_IDpiSettings, L"IDpiSettings",
         {L"SetSettings", L"GetSettings", L"GetLevelList", L"GetLevelListManaged", L"SetLevelList"}},
        {&IID_IPollingRate, L"IPollingRate", {L"SetRate", L"GetRate", L"GetRateList", L"GetRateListManaged"}},
        {&IID_ILedStatus, L"ILedStatus", {L"SetStatus", L"GetStatus"}},
        {&IID_IPerformanceSettings, L"IPerformanceSettings",
         {L"SetWindowsPointerSpeed", L"GetWindowsPointerSpeed", L"SetAccelerationControl",
          L"GetAccelerationStatus", L"SetAcceleration", L"GetAcceleration", L"SetSensitivity",
          L"GetSensitivity", L"SetXYMasterSensitivityControl", L"GetXYMasterSensitivityStatus",
          L"SetXYSensitivity", L"GetXYSensitivity", L"SetUniversalScrollControl",
          L"GetUniversalScrollStatus", L"SetScrollSpeed", L"GetScrollSpeed",
          L"SetOnTheFlySensitivityShowOnScreenControl", L"GetOnTheFlySensitivityShowOnScreenStatus",
          L"SetDoubleClickSpeed", L"GetDoubleClickSpeed", L"SetAutoSwitchControl", L"GetAutoSwitchStatus",
          L"SetOnScreenDisplayControl", L"GetOnScreenDisplayStatus"}},
        {&IID_IButtonControl, L"IButtonControl", {L"RegisterButtonClickEvent", L"UnregisterButtonClickEvent"}},
        {&IID_IDefaultMode, L"IDefaultMode",
         {L"Enable", L"Disable", L"IsInDefaultMode", L"EnableDownloadMode", L"DisableDownloadMode"}},
        {&IID_IOTFS, L"IOTFS", {L"SetStatus", L"GetStatus"}},
        {&IID_ISensorRomSwitching, L"ISensorRomSwitching", {L"SetStatus", L"GetStatus"}},
        {&IID_IBattery, L"IBattery", {L"GetRemaingPower", L"IsCharging"}},
        {&IID_IWirelessDistance, L"IWirelessDistance", {L"SetAuto", L"GetRange", L"Set", L"Get"}},
        {&IID_IMeridex, L"IMeridex", {L"GetTotalSpace", L"GetRemainingSpace", L"CreateInterfaceInstance"}},
        {&IID_IMeridexDpiTable, L"IMeridexDpiTable", {L"LoadDpiTable"}},
        {&IID_IMeridexProfileManager, L"IMeridexProfileManager",
         {L"GetProfileByIndex", L"OpenProfile", L"SetActiveProfile", L"GetActiveProfile", L"CreateProfile",
          L"DeleteProfile", L"Reserved1", L"Reserved2", L"NotifyActiveProfile", L"GetActiveProfileNumber",
          L"ProfileExists"}},
        {&IID_IMeridexProfileObject, L"IMeridexProfileObject",
         {L"CreateSubInterface", L"GetProfileNumber", L"SetProfileName", L"GetProfileName",
          L"SetProfileMappings", L"GetProfileMappings"}},
        {&IID_IMeridexMacroManager, L"IMeridexMacroManager",
         {L"GetMacroByIndex", L"OpenMacro", L"CreateMacro", L"DeleteMacro", L"Bind", L"ReadDirectory",
          L"CompactDirectory", L"HasFreeSpace"}},
        {&IID_IMeridexMacroObject, L"IMeridexMacroObject",
         {L"GetMacroId", L"SetMacroName", L"GetMacroName", L"SetMacro", L"GetMacro", L"ReadMacroHeader",
          L"UploadStream", L"DownloadStream", L"BindMacro", L"SetMacroSize", L"GetMacroSize",
          L"EncodeAction", L"EncodeElement", L"EncodeMacro", L"DecodeAction", L"DecodeElement",
          L"DecodeMacro", L"ReadMacroDirectory", L"CheckSpace"}},
        // Event interfaces.
        {&IID__IDeviceEnumerationEvents, L"_IDeviceEnumerationEvents", {}},
        {&IID__IDeviceTypeEvents, L"_IDeviceTypeEvents", {}},
        {&IID__IProfileEvents, L"_IProfileEvents", {}},
        {&IID__IMacroHandlingEvents, L"_IMacroHandlingEvents", {}},
        {&IID__IUserActionEvents, L"_IUserActionEvents", {}},
        {&IID__IDpiEvents, L"_IDpiEvents", {L"OnDpiEvent"}},
        {&IID__IDpiSettingsEvents, L"_IDpiSettingsEvents", {}},
        {&IID__IPollingRateEvents, L"_IPollingRateEvents", {}},
        {&IID__ILedStatusEvents, L"_ILedStatusEvents", {}},
        {&IID__IPerformanceSettingsEvents, L"_IPerformanceSettingsEvents", {L"OnSensitivitySettings"}},
        {&IID__IButtonControlEvents, L"_IButtonControlEvents", {}},
        {&IID__IDefaultModeEvents, L"_IDefaultModeEvents", {}},
        {&IID__IOTFSEvents, L"_IOTFSEvents", {L"OnOTFSEvent"}},
        {&IID__ISensorRomSwitchingEvents, L"_ISensorRomSwitchingEvents", {}},
        {&IID__IBatteryEvents, L"_IBatteryEvents", {}},
        {&IID__IWirelessDistanceEvents, L"_IWirelessDistanceEvents", {}},
        {&IID__IMeridexEvents, L"_IMeridexEvents", {L"OnMeridexEvent"}},
        {&IID__IMeridexProfileManagerEvents, L"_IMeridexProfileManagerEvents",
         {L"OnMeridexProfileManagerEvent"}},
    };
    return table;
}

TEST_F(TypeLib, IdentityVersionAndHelpString) {
    TLIBATTR* attr = nullptr;
    ASSERT_HRESULT_SUCCEEDED(lib->GetLibAttr(&attr));
    EXPECT_TRUE(IsEqualGUID(attr->guid, LIBID_ServerLib));
    EXPECT_EQ(attr->wMajorVerNum, 1);
    EXPECT_EQ(attr->wMinorVerNum, 0);
    EXPECT_EQ(attr->syskind, SYS_WIN64);
    lib->ReleaseTLibAttr(attr);

    Bstr name, doc;
    ASSERT_HRESULT_SUCCEEDED(lib->GetDocumentation(-1, &name.s, &doc.s, nullptr, nullptr));
    EXPECT_EQ(name.str(), L"ServerLib");
    EXPECT_EQ(doc.str(), L"Server 1.0 Type Library");
}

// The copy embedded as resource TYPELIB 1 (ServerLib.rc, as the server module embeds it) is the
// same library.
TEST_F(ComApartment, EmbeddedResourceLoads) {
    Com<ITypeLib> lib;
    ASSERT_HRESULT_SUCCEEDED(LoadTypeLibEx(ExePath().c_str(), REGKIND_NONE, lib.put()));
    TLIBATTR* attr = nullptr;
    ASSERT_HRESULT_SUCCEEDED(lib->GetLibAttr(&attr));
    EXPECT_TRUE(IsEqualGUID(attr->guid, LIBID_ServerLib));
    EXPECT_EQ(attr->wMajorVerNum, 1);
    lib->ReleaseTLibAttr(attr);
    Com<ITypeInfo> info;
    EXPECT_HRESULT_SUCCEEDED(lib->GetTypeInfoOfGuid(IID_IDeviceType, info.put()));
}

TEST_F(TypeLib, CoclassDeviceEnumeration) {
    Com<ITypeInfo> info;
    ASSERT_HRESULT_SUCCEEDED(lib->GetTypeInfoOfGuid(CLSID_DeviceEnumeration, info.put()));
    TYPEATTR* attr = nullptr;
    ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attr));
    EXPECT_EQ(attr->typekind, TKIND_COCLASS);
    EXPECT_EQ(attr->cImplTypes, 2);
    info->ReleaseTypeAttr(attr);

    Bstr name, doc;
    ASSERT_HRESULT_SUCCEEDED(info->GetDocumentation(MEMBERID_NIL, &name.s, &doc.s, nullptr, nullptr));
    EXPECT_EQ(name.str(), L"DeviceEnumeration");
    EXPECT_EQ(doc.str(), L"DeviceEnumeration Class");

    struct Expected { const IID* iid; INT flags; };
    const Expected impl[2] = {{&IID_IDeviceEnumeration, IMPLTYPEFLAG_FDEFAULT},
                              {&IID__IDeviceEnumerationEvents, IMPLTYPEFLAG_FDEFAULT | IMPLTYPEFLAG_FSOURCE}};
    for (UINT i = 0; i < 2; ++i) {
        INT flags = 0;
        ASSERT_HRESULT_SUCCEEDED(info->GetImplTypeFlags(i, &flags));
        EXPECT_EQ(flags, impl[i].flags) << i;
        HREFTYPE ref = 0;
        ASSERT_HRESULT_SUCCEEDED(info->GetRefTypeOfImplType(i, &ref));
        Com<ITypeInfo> ifc;
        ASSERT_HRESULT_SUCCEEDED(info->GetRefTypeInfo(ref, ifc.put()));
        TYPEATTR* ia = nullptr;
        ASSERT_HRESULT_SUCCEEDED(ifc->GetTypeAttr(&ia));
        EXPECT_TRUE(IsEqualGUID(ia->guid, *impl[i].iid)) << i;
        ifc->ReleaseTypeAttr(ia);
    }
}

// Every interface: a plain IUnknown-derived interface (not dispatch), with exactly the expected
// methods at the expected virtual-table slots.
TEST_F(TypeLib, EveryInterfaceHasItsMethodsInSlotOrder) {
    for (const auto& expected : AllInterfaces()) {
        SCOPED_TRACE(expected.name);
        Com<ITypeInfo> info;
        ASSERT_HRESULT_SUCCEEDED(lib->GetTypeInfoOfGuid(*expected.iid, info.put()));
        EXPECT_EQ(TypeName(info.p), expected.name);
        TYPEATTR* attr = nullptr;
        ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attr));
        EXPECT_EQ(attr->typekind, TKIND_INTERFACE);
        EXPECT_EQ(attr->wTypeFlags & (TYPEFLAG_FDUAL | TYPEFLAG_FDISPATCHABLE), 0);
        EXPECT_EQ(attr->cbSizeVft, (3 + expected.methods.size()) * sizeof(void*));
        EXPECT_EQ(attr->cImplTypes, 1);
        const UINT count = attr->cFuncs;
        info->ReleaseTypeAttr(attr);
        EXPECT_EQ(count, expected.methods.size());
        if (count != expected.methods.size()) continue;

        HREFTYPE ref = 0;
        ASSERT_HRESULT_SUCCEEDED(info->GetRefTypeOfImplType(0, &ref));
        Com<ITypeInfo> base;
        ASSERT_HRESULT_SUCCEEDED(info->GetRefTypeInfo(ref, base.put()));
        TYPEATTR* ba = nullptr;
        ASSERT_HRESULT_SUCCEEDED(base->GetTypeAttr(&ba));
        EXPECT_TRUE(IsEqualGUID(ba->guid, IID_IUnknown)) << "derives from IUnknown directly";
        base->ReleaseTypeAttr(ba);

        for (UINT i = 0; i < count; ++i) {
            FUNCDESC* fd = nullptr;
            ASSERT_HRESULT_SUCCEEDED(info->GetFuncDesc(i, &fd));
            EXPECT_EQ(NameOf(info.p, fd->memid), expected.methods[i]) << "slot " << i + 1;
            EXPECT_EQ(fd->oVft, static_cast<SHORT>((3 + i) * sizeof(void*))) << expected.methods[i];
            EXPECT_EQ(fd->funckind, FUNC_PUREVIRTUAL);
            info->ReleaseFuncDesc(fd);
        }
    }
}

// The table above is complete: the library holds no interface it does not list.
TEST_F(TypeLib, TableListsEveryInterfaceOfTheLibrary) {
    size_t interfaces = 0;
    for (UINT i = 0; i < lib->GetTypeInfoCount(); ++i) {
        TYPEKIND kind;
        ASSERT_HRESULT_SUCCEEDED(lib->GetTypeInfoType(i, &kind));
        if (kind != TKIND_INTERFACE) continue;
        ++interfaces;
        Com<ITypeInfo> info;
        ASSERT_HRESULT_SUCCEEDED(lib->GetTypeInfo(i, info.put()));
        TYPEATTR* attr = nullptr;
        ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attr));
        bool listed = false;
        for (const auto& e : AllInterfaces()) listed = listed || IsEqualGUID(*e.iid, attr->guid);
        EXPECT_TRUE(listed) << "unlisted interface at index " << i;
        info->ReleaseTypeAttr(attr);
    }
    EXPECT_EQ(interfaces, AllInterfaces().size());
}

// One adapter serves the "Managed" list, group-load and group-save methods of IProfile,
// IMacroHandling and IUserAction by calling the unmanaged method at the same slot.
TEST_F(TypeLib, SharedAdapterSlotsAgree) {
    auto slot = [&](const IID& iid, const wchar_t* method) -> int {
        for (const auto& e : AllInterfaces()) {
            if (!IsEqualGUID(*e.iid, iid)) continue;
            for (size_t i = 0; i < e.methods.size(); ++i)
                if (std::wcscmp(e.methods[i], method) == 0) return static_cast<int>(i);
        }
        return -1;
    };
    EXPECT_EQ(slot(IID_IProfile, L"LoadProfileGroupList"), slot(IID_IMacroHandling, L"LoadSpellBookList"));
    EXPECT_EQ(slot(IID_IProfile, L"LoadProfileGroupList"), slot(IID_IUserAction, L"LoadUserActionList"));
    EXPECT_EQ(slot(IID_IProfile, L"LoadProfileGroup"), slot(IID_IMacroHandling, L"LoadSpellBook"));
    EXPECT_EQ(slot(IID_IProfile, L"SaveProfileGroup"), slot(IID_IMacroHandling, L"SaveSpellBook"));
    EXPECT_GE(slot(IID_IProfile, L"SaveProfileGroup"), 0);
}

// Records and unions keep their field order, widths and sizes in the type library as well.
TEST_F(TypeLib, RecordsHaveTheirFieldsInOrder) {
    struct Record {
        const wchar_t* name;
        TYPEKIND kind;
        UINT size;
        std::vector<std::pair<const wchar_t*, VARTYPE>> fields;  // VT_USERDEFINED for nested types
    };
    const std::vector<Record> records = {
        {L"_TDeviceCapabilities", TKIND_RECORD, 28,
         {{L"ulPid", VT_UI4}, {L"lNoOfMouseButtons", VT_I4}, {L"lNoOfTotalButtons", VT_I4},
          {L"bHasMeridex", VT_I4}, {L"ulMaxMacroLen", VT_UI4}, {L"bDpiSettingsSupported", VT_I4},
          {L"bPollingRateSupported", VT_I4}}},
        {L"_TDeviceEnumerationGlobal", TKIND_RECORD, 8, {{L"usPid", VT_UI2}, {L"lPidNumDevices", VT_I4}}},
        {L"_TDeviceEnumerationStatus", TKIND_RECORD, 16,
         {{L"lTotalNumDevices", VT_I4}, {L"lNumDeviceGroups", VT_I4}, {L"ppGroups", VT_PTR}}},
        {L"_TDeviceStatus", TKIND_RECORD, 12,
         {{L"lNewNumDevices", VT_I4}, {L"lActiveDeviceIndex", VT_I4}, {L"bIsNewActiveDevice", VT_I4}}},
        {L"_TButtonStatus", TKIND_RECORD, 8, {{L"button", VT_USERDEFINED}, {L"bState", VT_I4}}},
        {L"_stSensitivityType", TKIND_RECORD, 8, {{L"ulXSensitivity", VT_UI4}, {L"ulYSensitivity", VT_UI4}}},
        {L"_stDpiStageType", TKIND_RECORD, 100,
         {{L"ulTotalStages", VT_UI4}, {L"CurrentDpiStage", VT_USERDEFINED}, {L"lCurrentStage", VT_I4},
          {L"lDefaultStage", VT_I4}, {L"Sensitivity", VT_CARRAY}}},
        {L"_TXYSensitivityStatus", TKIND_RECORD, 32,
         {{L"bMasterEnableDisableChanged", VT_I4}, {L"bIncrementDecrementChanged", VT_I4},
          {L"bXSensitivityChanged", VT_I4}, {L"bYSensitivityChanged", VT_I4}, {L"bMasterEnableDisable", VT_I4},
          {L"bIncrementDecrement", VT_I4}, {L"lXSensitivity", VT_I4}, {L"lYSensitivity", VT_I4}}},
        {L"_TInfo", TKIND_UNION, 12,
         {{L"alWords", VT_CARRAY}, {L"click", VT_USERDEFINED}, {L"keycode", VT_USERDEFINED},
          {L"property", VT_USERDEFINED}, {L"rawValue", VT_USERDEFINED}, {L"pressed", VT_USERDEFINED},
          {L"macro", VT_USERDEFINED}}},
        {L"_TActionInfo", TKIND_RECORD, 16, {{L"actionType", VT_USERDEFINED}, {L"info", VT_USERDEFINED}}},
        {L"_TActionOrMacro", TKIND_UNION, 16, {{L"actionInfo", VT_USERDEFINED}, {L"ppszName", VT_PTR}}},
        {L"_TButtonMappingInfo", TKIND_RECORD, 24,
         {{L"lButton", VT_I4}, {L"mappingType", VT_USERDEFINED}, {L"actionOrMacro", VT_USERDEFINED}}},
        {L"_TProfileParams", TKIND_RECORD, 16,
         {{L"lVersion", VT_I4}, {L"lNumMappings", VT_I4}, {L"ppMappings", VT_PTR}}},
        {L"TButtonMappingManaged", TKIND_RECORD, 24,
         {{L"lButtonType", VT_I4}, {L"lButtonMapping", VT_I4}, {L"lActionType", VT_I4}, {L"lParam0", VT_I4},
          {L"lParam1", VT_I4}, {L"lParam2", VT_I4}}},
        {L"_TMacroElement", TKIND_RECORD, 24,
         {{L"action", VT_USERDEFINED}, {L"lDelayMs", VT_I4}, {L"lHoldMs", VT_I4}}},
        {L"_TMacroParams", TKIND_RECORD, 48,
         {{L"lVersion", VT_I4}, {L"options", VT_USERDEFINED}, {L"type", VT_USERDEFINED}, {L"FixedDelay", VT_UI4},
          {L"lRepeat", VT_I4}, {L"ppszIconFile", VT_PTR}, {L"lNumElements", VT_I4}, {L"ppElements", VT_PTR}}},
        {L"TMacroElementManaged", TKIND_RECORD, 24,
         {{L"lActionType", VT_I4}, {L"lParam0", VT_I4}, {L"lParam1", VT_I4}, {L"lParam2", VT_I4},
          {L"lDelayMs", VT_I4}, {L"lHoldMs", VT_I4}}},
        {L"_TUserActionParams", TKIND_RECORD, 16, {{L"lCode", VT_I4}, {L"lNumData", VT_I4}, {L"ppData", VT_PTR}}},
        {L"_TMeridexInfoType", TKIND_RECORD, 16,
         {{L"ValidFields", VT_I4}, {L"DpiX", VT_I4}, {L"DpiY", VT_I4}, {L"ActiveProfile", VT_I4}}},
        {L"_TBatteryStatusType", TKIND_RECORD, 8, {{L"lPower", VT_I4}, {L"bIsCharging", VT_I4}}},
        {L"_TWirelessDistanceInfoType", TKIND_RECORD, 24,
         {{L"bIsAuto", VT_I4}, {L"lCurrentDist", VT_I4}, {L"lMin", VT_I4}, {L"lMax", VT_I4}, {L"lGran", VT_I4},
          {L"lDefault", VT_I4}}},
        {L"_TDefaultModeInfo", TKIND_RECORD, 4, {{L"IsEnabled", VT_I4}}},
        {L"_TMeridexProfileManagerInfo", TKIND_RECORD, 4, {{L"ActiveProfile", VT_I4}}},
    };
    for (const auto& r : records) {
        SCOPED_TRACE(r.name);
        Com<ITypeInfo> info;
        MEMBERID id = 0;
        USHORT found = 1;
        std::wstring name(r.name);
        ASSERT_HRESULT_SUCCEEDED(lib->FindName(name.data(), 0, info.put(), &id, &found));
        ASSERT_EQ(found, 1);
        TYPEATTR* attr = nullptr;
        ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attr));
        EXPECT_EQ(attr->typekind, r.kind);
        EXPECT_EQ(attr->cbSizeInstance, r.size);
        const UINT vars = attr->cVars;
        info->ReleaseTypeAttr(attr);
        ASSERT_EQ(vars, r.fields.size());
        for (UINT i = 0; i < vars; ++i) {
            VARDESC* vd = nullptr;
            ASSERT_HRESULT_SUCCEEDED(info->GetVarDesc(i, &vd));
            EXPECT_EQ(NameOf(info.p, vd->memid), r.fields[i].first) << "field " << i;
            EXPECT_EQ(vd->elemdescVar.tdesc.vt, r.fields[i].second) << r.fields[i].first;
            info->ReleaseVarDesc(vd);
        }
    }
}

TEST_F(TypeLib, EnumerationValues) {
    struct Value { const wchar_t* name; LONG value; };
    const std::vector<std::pair<const wchar_t*, std::vector<Value>>> enums = {
        {L"_TBusType", {{L"BUS_TYPE_USB", 0}}},
        {L"_TButtonDefinitionType",
         {{L"BUTTON_DEFINITION_LEFT_MOUSE", 1}, {L"BUTTON_DEFINITION_RIGHT_MOUSE", 2},
          {L"BUTTON_DEFINITION_CENTER_MOUSE", 3}, {L"BUTTON_DEFINITION_MOUSE_5", 4},
          {L"BUTTON_DEFINITION_MOUSE_4", 5}, {L"BUTTON_DEFINITION_DPI_UP", 6}, {L"BUTTON_DEFINITION_DPI_DOWN", 7},
          {L"BUTTON_DEFINITION_SCROLL_UP", 8}, {L"BUTTON_DEFINITION_SCROLL_DOWN", 9},
          {L"BUTTON_DEFINITIO_TEPA_END", 10}, {L"BUTTON_DEFINITION_X1", 11}, {L"BUTTON_DEFINITION_X2", 12},
          {L"BUTTON_DEFINITION_X3", 13}, {L"BUTTON_DEFINITION_X4", 14}, {L"BUTTON_DEFINITION_X5", 15},
          {L"BUTTON_DEFINITION_MODIFIER", 16}, {L"BUTTON_DEFINITION_OTFS", 17},
          {L"BUTTON_DEFINITION_BUTTONCOUNT", 18}, {L"BUTTON_DEFINITION_MASK", 65535},
          {L"BUTTON_DEFINITION_FLAG_MODIFIER", static_cast<LONG>(0x80000000u)}}},
        {L"_TButtonMappingType",
         {{L"BUTTON_MAPPING_DISABLED", 0}, {L"BUTTON_MAPPING_DEVICE_ACTION", 1}, {L"BUTTON_MAPPING_MACRO", 2},
          {L"BUTTON_MAPPING_USER_ACTION", 3}, {L"BUTTON_MAPPING_MULTIMEDIA", 4}, {L"BUTTON_MAPPING_ADVANCED", 5},
          {L"BUTTON_MAPPING_BUTTONS", 6}}},
        {L"_TButtonActionType",
         {{L"BUTTON_ACTION_CLICK", 0}, {L"BUTTON_ACTION_KEYCODE", 1}, {L"BUTTON_ACTION_PROPERTY_CHANGE", 2},
          {L"BUTTON_ACTION_INTERRUPT", 3}, {L"BUTTON_ACTION_RAW_VALUE", 4}, {L"BUTTON_ACTION_PRESSED", 5}}},
        {L"_TMacroOptions",
         {{L"MACRO_OPTIONS_USE_REPEAT_COUNT", 0}, {L"MACRO_OPTIONS_REPEAT_UNTIL_SAME", 1},
          {L"MACRO_OPTIONS_REPEAT_UNTIL_RELEASED", 2}}},
        {L"_TMacroType", {{L"MACRO_TYPE_ACTION", 0}, {L"MACRO_TYPE_KEYSTROKE", 1}, {L"MACRO_TYPE_MACRO", 2}}},
        {L"_TDevicePropertyType", {{L"PROPERTY_DPI_STAGE", 4}, {L"PROPERTY_PROFILE", 5}}},
    };
    for (const auto& [type, values] : enums) {
        SCOPED_TRACE(type);
        Com<ITypeInfo> info;
        MEMBERID id = 0;
        USHORT found = 1;
        std::wstring name(type);
        ASSERT_HRESULT_SUCCEEDED(lib->FindName(name.data(), 0, info.put(), &id, &found));
        ASSERT_EQ(found, 1);
        TYPEATTR* attr = nullptr;
        ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attr));
        EXPECT_EQ(attr->typekind, TKIND_ENUM);
        const UINT vars = attr->cVars;
        info->ReleaseTypeAttr(attr);
        ASSERT_EQ(vars, values.size());
        for (UINT i = 0; i < vars; ++i) {
            VARDESC* vd = nullptr;
            ASSERT_HRESULT_SUCCEEDED(info->GetVarDesc(i, &vd));
            EXPECT_EQ(NameOf(info.p, vd->memid), values[i].name);
            VARIANT v;
            VariantInit(&v);
            ASSERT_HRESULT_SUCCEEDED(VariantChangeType(&v, vd->lpvarValue, 0, VT_I4));
            EXPECT_EQ(V_I4(&v), values[i].value) << values[i].name;
            info->ReleaseVarDesc(vd);
        }
    }
}

// The "Managed" methods take SAFEARRAYs of the records that carry a GUID.
TEST_F(TypeLib, ManagedParametersAreSafeArraysOfRecords) {
    struct Param { const IID* iid; const wchar_t* method; UINT index; const wchar_t* element; bool out; };
    const Param params[] = {
        {&IID_IProfile, L"SetButtonMappingsManaged", 1, L"TButtonMappingManaged", false},
        {&IID_IProfile, L"SaveProfileManaged", 3, L"TButtonMappingManaged", false},
        {&IID_IProfile, L"GetButtonMappingsManaged", 1, L"TButtonMappingManaged", true},
        {&IID_IProfile, L"LoadProfileManaged", 3, L"TButtonMappingManaged", true},
        {&IID_IMacroHandling, L"SaveMacroManaged", 7, L"TMacroElementManaged", false},
        {&IID_IMacroHandling, L"LoadMacroManaged", 7, L"TMacroElementManaged", true},
    };
    for (const auto& p : params) {
        SCOPED_TRACE(p.method);
        Com<ITypeInfo> info;
        ASSERT_HRESULT_SUCCEEDED(lib->GetTypeInfoOfGuid(*p.iid, info.put()));
        MEMBERID id = 0;
        LPOLESTR names[1] = {const_cast<LPOLESTR>(p.method)};
        ASSERT_HRESULT_SUCCEEDED(info->GetIDsOfNames(names, 1, &id));
        TYPEATTR* attr = nullptr;
        ASSERT_HRESULT_SUCCEEDED(info->GetTypeAttr(&attr));
        const UINT count = attr->cFuncs;
        info->ReleaseTypeAttr(attr);
        bool seen = false;
        for (UINT i = 0; i < count && !seen; ++i) {
            FUNCDESC* fd = nullptr;
            ASSERT_HRESULT_SUCCEEDED(info->GetFuncDesc(i, &fd));
            if (fd->memid == id) {
                seen = true;
                ASSERT_LT(p.index, static_cast<UINT>(fd->cParams));
                const TYPEDESC* t = &fd->lprgelemdescParam[p.index].tdesc;
                if (p.out) {
                    ASSERT_EQ(t->vt, VT_PTR);
                    t = t->lptdesc;
                }
                ASSERT_EQ(t->vt, VT_SAFEARRAY);
                ASSERT_EQ(t->lptdesc->vt, VT_USERDEFINED);
                Com<ITypeInfo> element;
                ASSERT_HRESULT_SUCCEEDED(info->GetRefTypeInfo(t->lptdesc->hreftype, element.put()));
                EXPECT_EQ(TypeName(element.p), p.element);
            }
            info->ReleaseFuncDesc(fd);
        }
        EXPECT_TRUE(seen);
    }
}

// Registers the built .tlb for the test and restores the previous registration afterwards (the
// server module may have registered its embedded copy in the same prefix).
class RegisteredTypeLib : public TypeLib {
protected:
    void SetUp() override {
        TypeLib::SetUp();
        if (HasFatalFailure()) return;
        hadPrevious = SUCCEEDED(QueryPathOfRegTypeLib(LIBID_ServerLib, 1, 0, 0, &previous.s));
        std::wstring path = TlbPath();
        ASSERT_HRESULT_SUCCEEDED(RegisterTypeLib(lib.p, path.data(), nullptr));
    }
    void TearDown() override {
        if (hadPrevious) {
            Com<ITypeLib> old;
            LoadTypeLibEx(previous.s, REGKIND_REGISTER, old.put());
        } else {
            UnRegisterTypeLib(LIBID_ServerLib, 1, 0, 0, SYS_WIN64);
        }
        TypeLib::TearDown();
    }
    bool hadPrevious = false;
    Bstr previous;
};

TEST_F(RegisteredTypeLib, RecordGuidsMatchTheLibrary) {
    const std::pair<const GUID*, const wchar_t*> records[] = {
        {&GUID_TButtonMappingManaged, L"TButtonMappingManaged"},
        {&GUID_TMacroElementManaged, L"TMacroElementManaged"}};
    for (const auto& [guid, name] : records) {
        Com<ITypeInfo> info;
        ASSERT_HRESULT_SUCCEEDED(lib->GetTypeInfoOfGuid(*guid, info.put())) << "uuid of " << name;
        EXPECT_EQ(TypeName(info.p), name);
    }
}

// What IProfile and IMacroHandling do at creation and in their "Managed" methods: record
// information from the registered library (version 1.0, LCID 1033), then VT_RECORD vectors.
TEST_F(RegisteredTypeLib, RecordInfoAndRecordVectors) {
    const std::pair<const GUID*, const wchar_t*> records[] = {
        {&GUID_TButtonMappingManaged, L"TButtonMappingManaged"},
        {&GUID_TMacroElementManaged, L"TMacroElementManaged"}};
    for (const auto& [guid, name] : records) {
        SCOPED_TRACE(name);
        Com<IRecordInfo> ri;
        ASSERT_HRESULT_SUCCEEDED(GetRecordInfoFromGuids(LIBID_ServerLib, 1, 0, 1033, *guid, ri.put()));
        ULONG size = 0;
        ASSERT_HRESULT_SUCCEEDED(ri->GetSize(&size));
        EXPECT_EQ(size, 24u);
        Bstr recName;
        ASSERT_HRESULT_SUCCEEDED(ri->GetName(&recName.s));
        EXPECT_EQ(recName.str(), name);

        constexpr ULONG kCount = 9;
        SAFEARRAY* sa = SafeArrayCreateVectorEx(VT_RECORD, 0, kCount, ri.p);
        ASSERT_NE(sa, nullptr);
        VARTYPE vt = VT_EMPTY;
        EXPECT_HRESULT_SUCCEEDED(SafeArrayGetVartype(sa, &vt));
        EXPECT_EQ(vt, VT_RECORD);
        EXPECT_EQ(SafeArrayGetElemsize(sa), 24u);
        Com<IRecordInfo> back;
        EXPECT_HRESULT_SUCCEEDED(SafeArrayGetRecordInfo(sa, back.put()));
        EXPECT_EQ(back.p != nullptr ? back->IsMatchingType(ri.p) : FALSE, TRUE);

        LONG* words = nullptr;
        ASSERT_HRESULT_SUCCEEDED(SafeArrayAccessData(sa, reinterpret_cast<void**>(&words)));
        for (ULONG i = 0; i < kCount * 6; ++i) words[i] = static_cast<LONG>(i * 7 - 20);
        SafeArrayUnaccessData(sa);

        SAFEARRAY* copy = nullptr;
        ASSERT_HRESULT_SUCCEEDED(SafeArrayCopy(sa, &copy));
        LONG* copied = nullptr;
        ASSERT_HRESULT_SUCCEEDED(SafeArrayAccessData(copy, reinterpret_cast<void**>(&copied)));
        for (ULONG i = 0; i < kCount * 6; ++i) EXPECT_EQ(copied[i], static_cast<LONG>(i * 7 - 20)) << i;
        SafeArrayUnaccessData(copy);
        EXPECT_HRESULT_SUCCEEDED(SafeArrayDestroy(copy));
        EXPECT_HRESULT_SUCCEEDED(SafeArrayDestroy(sa));
    }
}

}  // namespace
