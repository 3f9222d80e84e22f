// IMacroHandling against the registry of the test prefix: ownership of every string, block and
// SAFEARRAY handed out, reference counts through spell books, the Managed round trips, the
// export and import files, and arguments that must be refused.
#include <ServerLib.h>
#include <ocidl.h>
#include <windows.h>

#include <array>
#include <cstring>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "middleware/storage/win/com/managed_arrays.h"
#include "middleware/storage/win/com/tests/store_com_fixture.h"

namespace quill::test {
namespace {

constexpr wchar_t kMacros[] = L"Macros";
constexpr wchar_t kBooks[] = L"SpellBooks";

_TMacroElement Element(LONG type, LONG a, LONG b, LONG c, LONG delay, LONG hold) {
  _TMacroElement e{};
  e.action.actionType = static_cast<_TButtonActionType>(type);
  e.action.info.alWords[0] = a;
  e.action.info.alWords[1] = b;
  e.action.info.alWords[2] = c;
  e.lDelayMs = delay;
  e.lHoldMs = hold;
  return e;
}

std::array<LONG, 6> Words(const _TMacroElement& e) {
  return {static_cast<LONG>(e.action.actionType), e.action.info.alWords[0], e.action.info.alWords[1],
          e.action.info.alWords[2], e.lDelayMs, e.lHoldMs};
}

class MacroHandlingTest : public StoreComTest {
 protected:
  // Saves a macro of the given elements (icon file "icon.ico", version 7, repeat 3).
  HRESULT Save(const wchar_t* name, std::vector<_TMacroElement> elements = {Element(1, 30, 0x1E, 0, 10, 20)}) {
    LPWSTR icon = const_cast<LPWSTR>(L"icon.ico");
    _TMacroElement* data = elements.data();
    _TMacroParams params{7, MACRO_OPTIONS_REPEAT_UNTIL_RELEASED, MACRO_TYPE_KEYSTROKE, 99, 3,
                         &icon, static_cast<LONG>(elements.size()), &data};
    return macros_->SaveMacro(name, &params);
  }
  HRESULT SaveBook(const wchar_t* name, std::vector<const wchar_t*> members) {
    std::vector<LPWSTR> names;
    for (const wchar_t* m : members) names.push_back(const_cast<LPWSTR>(m));
    return macros_->SaveSpellBook(name, static_cast<LONG>(names.size()), names.data());
  }
  int64_t RefCount(const wchar_t* macro) { return ReadDword(kMacros, macro, L"RefCount"); }
};

TEST_F(MacroHandlingTest, FactoryNeedsAnOpenedDeviceTypeAndGivesConnectionPointThatNeverFires) {
  com::ComPtr<server::CDeviceType> closed = MakeDeviceType(false);
  IMacroHandling* none = reinterpret_cast<IMacroHandling*>(1);
  EXPECT_EQ(closed->CreateMacroHandlingInterface(&none), E_FAIL);
  EXPECT_EQ(none, nullptr);
  EXPECT_EQ(device_->CreateMacroHandlingInterface(nullptr), E_POINTER);

  com::ComPtr<IConnectionPointContainer> container;
  ASSERT_EQ(macros_.As(container), S_OK);
  com::ComPtr<IConnectionPoint> point;
  ASSERT_EQ(container->FindConnectionPoint(IID__IMacroHandlingEvents, point.Put()), S_OK);
  EXPECT_EQ(container->FindConnectionPoint(IID__IUserActionEvents, point.Put()), CONNECT_E_NOCONNECTION);
  ASSERT_EQ(container->FindConnectionPoint(IID__IMacroHandlingEvents, point.Put()), S_OK);
  CountingSink<_IMacroHandlingEvents> sink;
  DWORD cookie = 0;
  ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
  EXPECT_EQ(cookie, 1u);
  EXPECT_EQ(sink.references(), 1u);
  ASSERT_EQ(Save(L"m"), S_OK);  // store calls fire nothing
  EXPECT_EQ(point->Unadvise(cookie), S_OK);
  EXPECT_EQ(sink.references(), 0u);

  com::ComPtr<IUnknown> identity;
  ASSERT_EQ(macros_.As(identity), S_OK);
  com::ComPtr<IUnknown> again;
  ASSERT_EQ(container.As(again), S_OK);
  EXPECT_EQ(identity.Get(), again.Get());
}

// The registered module's device type object makes both objects over the same store.
TEST_F(MacroHandlingTest, RegisteredModuleHandsOutBothInterfaces) {
  com::ComPtr<IDeviceEnumeration> enumeration;
  ASSERT_EQ(CoCreateInstance(CLSID_DeviceEnumeration, nullptr, CLSCTX_INPROC_SERVER, IID_IDeviceEnumeration,
                             enumeration.PutVoid()),
            S_OK);
  com::ComPtr<IDeviceType> device;
  ASSERT_EQ(enumeration->EnumDeviceType(0, device.Put()), S_OK);
  com::ComPtr<IMacroHandling> macros;
  com::ComPtr<IUserAction> actions;
  EXPECT_EQ(device->CreateMacroHandlingInterface(macros.Put()), E_FAIL);  // not opened yet
  device->OpenDeviceInterface(0x0C31);
  ASSERT_EQ(device->CreateMacroHandlingInterface(macros.Put()), S_OK);
  ASSERT_EQ(device->CreateUserActionInterface(actions.Put()), S_OK);
  ASSERT_EQ(Save(L"FromHere"), S_OK);
  LONG count = 0;
  ASSERT_EQ(macros->LoadNumMacros(&count), S_OK);
  EXPECT_EQ(count, 1);
  ASSERT_EQ(actions->LoadNumUserActions(&count), S_OK);
  EXPECT_EQ(count, 0);
}

TEST_F(MacroHandlingTest, CreationReturnsTheRecordInformationFailure) {
  ASSERT_EQ(Regsvr32(true), 0);
  IMacroHandling* none = reinterpret_cast<IMacroHandling*>(1);
  const HRESULT hr = device_->CreateMacroHandlingInterface(&none);
  // A never-opened device type object has no device key name: E_FAIL before anything else.
  com::ComPtr<server::CDeviceType> closed = MakeDeviceType(false);
  IMacroHandling* closed_none = reinterpret_cast<IMacroHandling*>(1);
  const HRESULT closed_hr = closed->CreateMacroHandlingInterface(&closed_none);
  ASSERT_EQ(Regsvr32(false), 0);
  EXPECT_EQ(hr, TYPE_E_LIBNOTREGISTERED);
  EXPECT_EQ(closed_hr, E_FAIL);
  EXPECT_EQ(closed_none, nullptr);
  EXPECT_EQ(none, nullptr);
  // The user-action object needs no type library.
  com::ComPtr<IUserAction> actions;
  EXPECT_EQ(device_->CreateUserActionInterface(actions.Put()), S_OK);
}

TEST_F(MacroHandlingTest, SaveAndLoadHandOutCallerOwnedCopies) {
  ASSERT_EQ(Save(L"Combo", {Element(1, 30, 0x1E, 2, 10, 20), Element(5, -1, 7, 8, 0, 65535)}), S_OK);
  EXPECT_EQ(RefCount(L"Combo"), 0);
  EXPECT_EQ(ReadDword(kMacros, L"Combo", L"NumElements"), 2);
  EXPECT_EQ(ReadDword(kMacros, L"Combo", L"Options"), MACRO_OPTIONS_REPEAT_UNTIL_RELEASED);
  const std::vector<uint8_t> second = ReadBinary(kMacros, L"Combo", L"0001");
  ASSERT_EQ(second.size(), 24u);
  EXPECT_EQ(second[0], 5);
  EXPECT_EQ(std::vector<uint8_t>(second.begin() + 4, second.begin() + 8), (std::vector<uint8_t>{0xFF, 0xFF, 0xFF, 0xFF}));

  LPWSTR icon = reinterpret_cast<LPWSTR>(1);
  _TMacroElement* elements = reinterpret_cast<_TMacroElement*>(1);
  _TMacroParams params{};
  params.FixedDelay = 1234;
  params.ppszIconFile = &icon;
  params.ppElements = &elements;
  ASSERT_EQ(macros_->LoadMacro(L"combo", &params), S_OK);  // names ignore case, as the registry
  EXPECT_EQ(params.lVersion, 7);
  EXPECT_EQ(params.options, MACRO_OPTIONS_REPEAT_UNTIL_RELEASED);
  EXPECT_EQ(params.type, MACRO_TYPE_KEYSTROKE);
  EXPECT_EQ(params.lRepeat, 3);
  EXPECT_EQ(params.FixedDelay, 1234u);  // not stored, left as the caller had it
  ASSERT_EQ(params.lNumElements, 2);
  ASSERT_NE(icon, nullptr);
  EXPECT_STREQ(icon, L"icon.ico");
  EXPECT_EQ(AllocationSize(icon), sizeof(L"icon.ico"));
  ASSERT_NE(elements, nullptr);
  EXPECT_EQ(AllocationSize(elements), 2 * sizeof(_TMacroElement));
  EXPECT_EQ(Words(elements[0]), (std::array<LONG, 6>{1, 30, 0x1E, 2, 10, 20}));
  EXPECT_EQ(Words(elements[1]), (std::array<LONG, 6>{5, -1, 7, 8, 0, 65535}));
  CoTaskMemFree(icon);
  CoTaskMemFree(elements);

  // Without an icon cell only the elements are handed out; a null icon string saves "".
  params = {};
  params.ppElements = &elements;
  ASSERT_EQ(macros_->LoadMacro(L"Combo", &params), S_OK);
  CoTaskMemFree(elements);
  LPWSTR no_icon = nullptr;
  params.ppszIconFile = &no_icon;
  params.lNumElements = 0;
  ASSERT_EQ(macros_->SaveMacro(L"Plain", &params), S_OK);
  params.ppElements = &elements;
  ASSERT_EQ(macros_->LoadMacro(L"Plain", &params), S_OK);
  ASSERT_NE(no_icon, nullptr);
  EXPECT_STREQ(no_icon, L"");
  CoTaskMemFree(no_icon);
  CoTaskMemFree(elements);
}

TEST_F(MacroHandlingTest, MacroWithoutElementsGivesAValidEmptyBlock) {
  ASSERT_EQ(Save(L"Empty", {}), S_OK);
  LPWSTR icon = nullptr;
  _TMacroElement* elements = nullptr;
  _TMacroParams params{};
  params.lNumElements = 5;
  params.ppszIconFile = &icon;
  params.ppElements = &elements;
  ASSERT_EQ(macros_->LoadMacro(L"Empty", &params), S_OK);
  EXPECT_EQ(params.lNumElements, 0);
  ASSERT_NE(elements, nullptr);
  EXPECT_EQ(AllocationSize(elements), 0u);
  CoTaskMemFree(elements);
  CoTaskMemFree(icon);
}

TEST_F(MacroHandlingTest, SpellBooksCountReferencesAndGuardDeletion) {
  ASSERT_EQ(Save(L"A"), S_OK);
  ASSERT_EQ(Save(L"B"), S_OK);
  ASSERT_EQ(SaveBook(L"Book", {L"A", L"B"}), S_OK);
  EXPECT_EQ(RefCount(L"A"), 1);
  ASSERT_EQ(SaveBook(L"Book", {L"A", L"B"}), S_OK);  // the old members are released first
  EXPECT_EQ(RefCount(L"A"), 1);
  ASSERT_EQ(Save(L"A"), S_OK);  // a re-saved macro keeps its count
  EXPECT_EQ(RefCount(L"A"), 1);
  ASSERT_EQ(SaveBook(L"Other", {L"A"}), S_OK);
  EXPECT_EQ(RefCount(L"A"), 2);
  EXPECT_EQ(RefCount(L"B"), 1);

  LONG count = -1;
  ASSERT_EQ(macros_->LoadNumMacrosInSpellBook(L"Book", &count), S_OK);
  EXPECT_EQ(count, 2);
  count = -1;
  EXPECT_EQ(macros_->LoadNumMacrosInSpellBook(L"Missing", &count), E_FAIL);
  EXPECT_EQ(count, 0);

  EXPECT_EQ(macros_->DeleteMacro(L"A"), E_FAIL);
  EXPECT_TRUE(ItemExists(kMacros, L"A"));
  ASSERT_EQ(macros_->DeleteSpellBook(L"Book"), S_OK);
  ASSERT_EQ(macros_->DeleteSpellBook(L"Other"), S_OK);
  EXPECT_FALSE(ItemExists(kBooks, L"Book"));
  EXPECT_EQ(RefCount(L"A"), 0);
  EXPECT_EQ(macros_->DeleteMacro(L"A"), S_OK);
  EXPECT_FALSE(ItemExists(kMacros, L"A"));
  EXPECT_EQ(macros_->DeleteMacro(L"A"), E_FAIL);
  EXPECT_EQ(macros_->DeleteSpellBook(L"Book"), E_FAIL);

  LPWSTR icon = reinterpret_cast<LPWSTR>(1);
  _TMacroElement* elements = reinterpret_cast<_TMacroElement*>(1);
  _TMacroParams params{};
  params.lNumElements = 9;
  params.ppszIconFile = &icon;
  params.ppElements = &elements;
  EXPECT_EQ(macros_->LoadMacro(L"A", &params), E_FAIL);
  EXPECT_EQ(icon, nullptr);
  EXPECT_EQ(elements, nullptr);
  EXPECT_EQ(params.lNumElements, 0);
}

// A book naming a macro that is not stored is refused as a whole: the members before it are
// not left counted.
TEST_F(MacroHandlingTest, SpellBookWithMissingMemberChangesNothing) {
  ASSERT_EQ(Save(L"A"), S_OK);
  EXPECT_EQ(SaveBook(L"Book", {L"A", L"Missing"}), E_FAIL);
  EXPECT_EQ(RefCount(L"A"), 0);
  EXPECT_FALSE(ItemExists(kBooks, L"Book"));
}

TEST_F(MacroHandlingTest, NameListsAreFirstNInEnumerationOrder) {
  for (const wchar_t* name : {L"M1", L"M2", L"M3"}) ASSERT_EQ(Save(name), S_OK);
  ASSERT_EQ(SaveBook(L"B1", {L"M1", L"M2", L"M3"}), S_OK);
  ASSERT_EQ(SaveBook(L"B2", {L"M2"}), S_OK);
  LONG count = -1;
  ASSERT_EQ(macros_->LoadNumMacros(&count), S_OK);
  EXPECT_EQ(count, 3);
  ASSERT_EQ(macros_->LoadNumSpellBooks(&count), S_OK);
  EXPECT_EQ(count, 2);

  std::vector<LPWSTR> names(3, nullptr);
  ASSERT_EQ(macros_->LoadMacroList(3, names.data()), S_OK);
  EXPECT_STREQ(names[0], L"M1");
  EXPECT_STREQ(names[2], L"M3");
  for (LPWSTR name : names) EXPECT_EQ(AllocationSize(name), 3 * sizeof(wchar_t));
  FreeNames(names);
  ASSERT_EQ(macros_->LoadSpellBookList(1, names.data()), S_OK);
  EXPECT_STREQ(names[0], L"B1");
  EXPECT_EQ(names[1], nullptr);
  FreeNames(names);
  ASSERT_EQ(macros_->LoadSpellBook(L"B1", 2, names.data()), S_OK);  // fewer than the book holds
  EXPECT_STREQ(names[0], L"M1");
  EXPECT_STREQ(names[1], L"M2");
  EXPECT_EQ(names[2], nullptr);
  FreeNames(names);

  // More than exist: E_FAIL and every slot null (no name is written).
  std::vector<LPWSTR> many(4, reinterpret_cast<LPWSTR>(1));
  EXPECT_EQ(macros_->LoadMacroList(4, many.data()), E_FAIL);
  for (LPWSTR name : many) EXPECT_EQ(name, nullptr);
  many.assign(4, reinterpret_cast<LPWSTR>(1));
  EXPECT_EQ(macros_->LoadSpellBookList(3, many.data()), E_FAIL);
  EXPECT_EQ(many[0], nullptr);
  EXPECT_EQ(many[2], nullptr);
  EXPECT_EQ(many[3], reinterpret_cast<LPWSTR>(1));  // beyond the n slots: not touched
  many.assign(4, reinterpret_cast<LPWSTR>(1));
  EXPECT_EQ(macros_->LoadSpellBook(L"B2", 2, many.data()), E_FAIL);
  EXPECT_EQ(many[0], nullptr);
  EXPECT_EQ(many[1], nullptr);
  EXPECT_EQ(many[2], reinterpret_cast<LPWSTR>(1));
  EXPECT_EQ(macros_->LoadMacroList(0, nullptr), S_OK);
}

TEST_F(MacroHandlingTest, ManagedMacroRoundTripIsWordForWord) {
  com::ComPtr<IRecordInfo> info;
  ASSERT_EQ(server::ServerRecordInfo(GUID_TMacroElementManaged, info.Put()), S_OK);
  SAFEARRAY* in = SafeArrayCreateVectorEx(VT_RECORD, 0, 3, info.Get());
  ASSERT_NE(in, nullptr);
  auto* words = static_cast<TMacroElementManaged*>(in->pvData);
  words[0] = {1, 0x1E, 30, 0, 15, 40};
  words[1] = {2, 1, 0, 0, 0, 0};
  words[2] = {-3, 0x7FFFFFFF, -2, 9, 100000, 1};
  ASSERT_EQ(macros_->SaveMacroManaged(L"Managed", 4, MACRO_OPTIONS_REPEAT_UNTIL_SAME, MACRO_TYPE_MACRO, 2,
                                      L"m.ico", 3, in),
            S_OK);

  // The stored elements are the words in _TMacroElement order.
  const std::vector<uint8_t> third = ReadBinary(kMacros, L"Managed", L"0002");
  ASSERT_EQ(third.size(), 24u);
  LONG stored[6];
  std::memcpy(stored, third.data(), sizeof stored);
  EXPECT_EQ(stored[0], -3);
  EXPECT_EQ(stored[1], 0x7FFFFFFF);
  EXPECT_EQ(stored[4], 100000);

  LONG version = 0, repeat = 0, count = 0;
  _TMacroOptions options{};
  _TMacroType type{};
  LPWSTR icon = nullptr;
  SAFEARRAY* out = nullptr;
  ASSERT_EQ(macros_->LoadMacroManaged(L"Managed", &version, &options, &type, &repeat, &icon, &count, &out), S_OK);
  EXPECT_EQ(version, 4);
  EXPECT_EQ(options, MACRO_OPTIONS_REPEAT_UNTIL_SAME);
  EXPECT_EQ(type, MACRO_TYPE_MACRO);
  EXPECT_EQ(repeat, 2);
  ASSERT_NE(icon, nullptr);
  EXPECT_STREQ(icon, L"m.ico");
  CoTaskMemFree(icon);
  ASSERT_EQ(count, 3);
  ASSERT_NE(out, nullptr);
  VARTYPE vartype = VT_EMPTY;
  EXPECT_EQ(SafeArrayGetVartype(out, &vartype), S_OK);
  EXPECT_EQ(vartype, VT_RECORD);
  EXPECT_EQ(SafeArrayGetDim(out), 1u);
  LONG lower = -1, upper = -1;
  EXPECT_EQ(SafeArrayGetLBound(out, 1, &lower), S_OK);
  EXPECT_EQ(SafeArrayGetUBound(out, 1, &upper), S_OK);
  EXPECT_EQ(lower, 0);
  EXPECT_EQ(upper, 2);
  com::ComPtr<IRecordInfo> out_info;
  ASSERT_EQ(SafeArrayGetRecordInfo(out, out_info.Put()), S_OK);
  GUID guid{};
  ASSERT_EQ(out_info->GetGuid(&guid), S_OK);
  EXPECT_TRUE(IsEqualGUID(guid, GUID_TMacroElementManaged));
  EXPECT_EQ(out->cbElements, sizeof(TMacroElementManaged));
  EXPECT_EQ(std::memcmp(out->pvData, in->pvData, 3 * sizeof(TMacroElementManaged)), 0);
  EXPECT_EQ(SafeArrayDestroy(out), S_OK);

  // A missing macro: count 0, no icon string, no array.
  count = 5;
  icon = reinterpret_cast<LPWSTR>(1);
  out = reinterpret_cast<SAFEARRAY*>(1);
  EXPECT_EQ(macros_->LoadMacroManaged(L"Gone", &version, &options, &type, &repeat, &icon, &count, &out), E_FAIL);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(icon, nullptr);
  EXPECT_EQ(out, nullptr);

  // The element array must hold the elements the call names, as records.
  EXPECT_EQ(macros_->SaveMacroManaged(L"Short", 1, MACRO_OPTIONS_USE_REPEAT_COUNT, MACRO_TYPE_ACTION, 0, L"", 4, in),
            E_INVALIDARG);
  SAFEARRAY* longs = SafeArrayCreateVector(VT_I4, 0, 18);
  EXPECT_EQ(macros_->SaveMacroManaged(L"Short", 1, MACRO_OPTIONS_USE_REPEAT_COUNT, MACRO_TYPE_ACTION, 0, L"", 3, longs),
            E_INVALIDARG);
  EXPECT_EQ(macros_->SaveMacroManaged(L"Short", 1, MACRO_OPTIONS_USE_REPEAT_COUNT, MACRO_TYPE_ACTION, 0, L"", 1, nullptr),
            E_POINTER);
  EXPECT_FALSE(ItemExists(kMacros, L"Short"));
  ASSERT_EQ(macros_->SaveMacroManaged(L"None", 1, MACRO_OPTIONS_USE_REPEAT_COUNT, MACRO_TYPE_ACTION, 0, nullptr, 0,
                                      nullptr),
            S_OK);
  ASSERT_EQ(macros_->LoadMacroManaged(L"None", &version, &options, &type, &repeat, &icon, &count, &out), S_OK);
  EXPECT_EQ(count, 0);
  ASSERT_NE(out, nullptr);
  EXPECT_EQ(out->rgsabound[0].cElements, 0u);
  EXPECT_STREQ(icon, L"");
  CoTaskMemFree(icon);
  SafeArrayDestroy(out);
  SafeArrayDestroy(longs);
  SafeArrayDestroy(in);
}

TEST_F(MacroHandlingTest, ManagedNameListsAreBstrVectors) {
  for (const wchar_t* name : {L"M1", L"M2"}) ASSERT_EQ(Save(name), S_OK);
  SAFEARRAY* members = SafeArrayCreateVector(VT_BSTR, 0, 2);
  ASSERT_NE(members, nullptr);
  static_cast<BSTR*>(members->pvData)[0] = SysAllocString(L"M2");
  static_cast<BSTR*>(members->pvData)[1] = SysAllocString(L"M1");
  ASSERT_EQ(macros_->SaveSpellBookManaged(L"Book", 2, members), S_OK);
  EXPECT_EQ(RefCount(L"M1"), 1);
  ASSERT_EQ(macros_->SaveSpellBookManaged(L"Single", 1, members), S_OK);  // the first of two
  EXPECT_EQ(macros_->SaveSpellBookManaged(L"Bad", 3, members), E_INVALIDARG);
  SafeArrayDestroy(members);

  SAFEARRAY* names = nullptr;
  ASSERT_EQ(macros_->LoadSpellBookManaged(L"Book", 2, &names), S_OK);
  EXPECT_EQ(TakeBstrVector(names, 2), (std::vector<std::wstring>{L"M2", L"M1"}));
  ASSERT_EQ(macros_->LoadSpellBookListManaged(2, &names), S_OK);
  EXPECT_EQ(TakeBstrVector(names, 2), (std::vector<std::wstring>{L"Book", L"Single"}));
  ASSERT_EQ(macros_->LoadMacroListManaged(2, &names), S_OK);
  EXPECT_EQ(TakeBstrVector(names, 2), (std::vector<std::wstring>{L"M1", L"M2"}));
  ASSERT_EQ(macros_->LoadMacroListManaged(0, &names), S_OK);
  EXPECT_EQ(TakeBstrVector(names, 0).size(), 0u);

  names = reinterpret_cast<SAFEARRAY*>(1);
  EXPECT_EQ(macros_->LoadSpellBookManaged(L"Single", 2, &names), E_FAIL);
  EXPECT_EQ(names, nullptr);
  names = reinterpret_cast<SAFEARRAY*>(1);
  EXPECT_EQ(macros_->LoadMacroListManaged(3, &names), E_FAIL);
  EXPECT_EQ(names, nullptr);
  // A count no store reaches is refused before anything is allocated for it.
  names = reinterpret_cast<SAFEARRAY*>(1);
  EXPECT_EQ(macros_->LoadMacroListManaged(0x7FFFFFFF, &names), E_OUTOFMEMORY);
  EXPECT_EQ(names, nullptr);
  EXPECT_EQ(macros_->LoadSpellBookManaged(L"Book", 0x7FFFFFFF, &names), E_OUTOFMEMORY);
  EXPECT_EQ(macros_->LoadSpellBookListManaged(-1, &names), E_INVALIDARG);
  EXPECT_EQ(macros_->LoadSpellBookListManaged(1, nullptr), E_POINTER);
}

TEST_F(MacroHandlingTest, ExportThenImportThroughAFile) {
  ASSERT_EQ(Save(L"A", {Element(1, 2, 3, 4, 5, 6)}), S_OK);
  ASSERT_EQ(Save(L"B", {Element(7, 8, 9, 10, 11, 12), Element(0, 0, 0, 0, 1, 1)}), S_OK);
  ASSERT_EQ(Save(L"Solo"), S_OK);
  ASSERT_EQ(SaveBook(L"Book", {L"A", L"B"}), S_OK);
  const std::wstring book_file = TempFile(L"mh_book");
  const std::wstring macro_file = TempFile(L"mh_macro");
  const std::wstring all_file = TempFile(L"mh_all");
  ASSERT_EQ(macros_->ExportSpellBook(L"Book", book_file.c_str()), S_OK);
  ASSERT_EQ(macros_->ExportMacro(L"Solo", macro_file.c_str()), S_OK);
  ASSERT_EQ(macros_->ExportAllSpellBooks(all_file.c_str()), S_OK);
  EXPECT_EQ(macros_->ExportSpellBook(L"Missing", TempFile(L"mh_none").c_str()), E_FAIL);
  EXPECT_EQ(GetFileAttributesW(TempFile(L"mh_none").c_str()), INVALID_FILE_ATTRIBUTES);

  ClearStore();
  EXPECT_EQ(macros_->ImportMacro(L"Other", macro_file.c_str()), E_FAIL);
  ASSERT_EQ(macros_->ImportMacro(L"Solo", macro_file.c_str()), S_OK);
  ASSERT_EQ(macros_->ImportSpellBook(L"Book", book_file.c_str()), S_OK);
  LONG count = 0;
  ASSERT_EQ(macros_->LoadNumMacros(&count), S_OK);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(RefCount(L"A"), 1);
  EXPECT_EQ(RefCount(L"B"), 1);
  EXPECT_EQ(RefCount(L"Solo"), 0);
  _TMacroElement* elements = nullptr;
  _TMacroParams params{};
  params.ppElements = &elements;
  ASSERT_EQ(macros_->LoadMacro(L"B", &params), S_OK);
  ASSERT_EQ(params.lNumElements, 2);
  EXPECT_EQ(Words(elements[0]), (std::array<LONG, 6>{7, 8, 9, 10, 11, 12}));
  CoTaskMemFree(elements);
  std::vector<LPWSTR> names(2, nullptr);
  ASSERT_EQ(macros_->LoadSpellBook(L"Book", 2, names.data()), S_OK);
  EXPECT_STREQ(names[1], L"B");
  FreeNames(names);

  ClearStore();
  ASSERT_EQ(macros_->ImportAllSpellBooks(all_file.c_str()), S_OK);
  ASSERT_EQ(macros_->LoadNumSpellBooks(&count), S_OK);
  EXPECT_EQ(count, 1);
  const std::wstring macros_file = TempFile(L"mh_macros");
  ASSERT_EQ(macros_->ExportAllMacros(macros_file.c_str()), S_OK);
  ClearStore();
  ASSERT_EQ(macros_->ImportAllMacros(macros_file.c_str()), S_OK);
  ASSERT_EQ(macros_->LoadNumMacros(&count), S_OK);
  EXPECT_EQ(count, 2);
  // A missing file holds nothing to import, and an import does not create it.
  const std::wstring absent = TempFile(L"mh_absent");
  EXPECT_EQ(macros_->ImportAllMacros(absent.c_str()), S_OK);
  EXPECT_EQ(GetFileAttributesW(absent.c_str()), INVALID_FILE_ATTRIBUTES);
  ASSERT_EQ(macros_->LoadNumMacros(&count), S_OK);
  EXPECT_EQ(count, 2);
}

// The store works without the device; the exchange files need the device entry.
TEST_F(MacroHandlingTest, ExchangeFailsOnceTheDeviceTypeIsClosedOrGone) {
  ASSERT_EQ(Save(L"A"), S_OK);
  const std::wstring file = TempFile(L"mh_closed");
  ASSERT_EQ(device_->CloseDeviceInterface(), S_OK);
  EXPECT_EQ(macros_->ExportMacro(L"A", file.c_str()), E_FAIL);
  EXPECT_EQ(GetFileAttributesW(file.c_str()), INVALID_FILE_ATTRIBUTES);
  device_.Reset();
  EXPECT_EQ(macros_->ExportAllMacros(file.c_str()), E_FAIL);
  EXPECT_EQ(macros_->ImportAllMacros(file.c_str()), E_FAIL);
  LONG count = 0;
  EXPECT_EQ(macros_->LoadNumMacros(&count), S_OK);
  EXPECT_EQ(count, 1);
}

TEST_F(MacroHandlingTest, RefusesNullPointersNegativeCountsAndBadNames) {
  LONG count = 0;
  LPWSTR slot = nullptr;
  _TMacroParams params{};
  EXPECT_EQ(macros_->LoadNumSpellBooks(nullptr), E_POINTER);
  EXPECT_EQ(macros_->LoadNumMacros(nullptr), E_POINTER);
  EXPECT_EQ(macros_->LoadSpellBookList(1, nullptr), E_POINTER);
  EXPECT_EQ(macros_->LoadSpellBookList(-1, &slot), E_INVALIDARG);
  EXPECT_EQ(macros_->LoadMacroList(-2, &slot), E_INVALIDARG);
  EXPECT_EQ(macros_->LoadNumMacrosInSpellBook(nullptr, &count), E_POINTER);
  EXPECT_EQ(macros_->LoadNumMacrosInSpellBook(L"B", nullptr), E_POINTER);
  EXPECT_EQ(macros_->SaveSpellBook(nullptr, 0, nullptr), E_POINTER);
  EXPECT_EQ(macros_->SaveSpellBook(L"B", 1, nullptr), E_POINTER);
  EXPECT_EQ(macros_->SaveSpellBook(L"B", 1, &slot), E_POINTER);  // a null member name
  EXPECT_EQ(macros_->SaveSpellBook(L"B", -1, &slot), E_INVALIDARG);
  EXPECT_EQ(macros_->LoadSpellBook(nullptr, 1, &slot), E_POINTER);
  EXPECT_EQ(macros_->LoadSpellBook(L"B", -1, &slot), E_INVALIDARG);
  EXPECT_EQ(macros_->DeleteSpellBook(nullptr), E_POINTER);
  EXPECT_EQ(macros_->SaveMacro(nullptr, &params), E_POINTER);
  EXPECT_EQ(macros_->SaveMacro(L"M", nullptr), E_POINTER);
  params.lNumElements = -1;
  EXPECT_EQ(macros_->SaveMacro(L"M", &params), E_INVALIDARG);
  params.lNumElements = 1;  // elements named but not given
  EXPECT_EQ(macros_->SaveMacro(L"M", &params), E_POINTER);
  EXPECT_EQ(macros_->LoadMacro(L"M", nullptr), E_POINTER);
  EXPECT_EQ(macros_->LoadMacro(L"M", &params), E_POINTER);  // no element cell
  LPWSTR icon = reinterpret_cast<LPWSTR>(1);
  params.ppszIconFile = &icon;
  EXPECT_EQ(macros_->LoadMacro(L"M", &params), E_POINTER);
  EXPECT_EQ(icon, nullptr);  // nothing the caller could take for a string to free
  EXPECT_EQ(params.lNumElements, 0);
  EXPECT_EQ(macros_->DeleteMacro(nullptr), E_POINTER);
  EXPECT_EQ(macros_->ExportMacro(nullptr, L"x"), E_POINTER);
  EXPECT_EQ(macros_->ExportMacro(L"M", nullptr), E_POINTER);
  EXPECT_EQ(macros_->ImportAllSpellBooks(nullptr), E_POINTER);
  EXPECT_EQ(macros_->LoadMacroManaged(L"M", nullptr, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr),
            E_POINTER);
  LONG version = 7, repeat = 7, elements = 7;
  _TMacroOptions options = MACRO_OPTIONS_REPEAT_UNTIL_SAME;
  _TMacroType type = MACRO_TYPE_MACRO;
  icon = reinterpret_cast<LPWSTR>(1);
  EXPECT_EQ(macros_->LoadMacroManaged(L"M", &version, &options, &type, &repeat, &icon, &elements, nullptr),
            E_POINTER);
  EXPECT_EQ(elements, 0);
  EXPECT_EQ(icon, nullptr);

  // Names the registry cannot hold as an item come back as the store's error.
  const std::wstring too_long(300, L'x');
  for (const wchar_t* bad : {L"", L"a\\b", too_long.c_str()}) {
    const HRESULT saved = Save(bad);
    EXPECT_TRUE(FAILED(saved)) << saved;
    EXPECT_TRUE(FAILED(macros_->DeleteMacro(bad)));
    EXPECT_TRUE(FAILED(SaveBook(bad, {})));
    EXPECT_TRUE(FAILED(macros_->LoadNumMacrosInSpellBook(bad, &count)));
  }
  ASSERT_EQ(macros_->LoadNumMacros(&count), S_OK);
  EXPECT_EQ(count, 0);
}

}  // namespace
}  // namespace quill::test
