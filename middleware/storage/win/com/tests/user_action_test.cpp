// IUserAction against the registry of the test prefix: the bytes in the registry and back, the
// CoTaskMem block and VT_UI1 array handed out, reference counts guarding deletion, the export
// and import files, and arguments that must be refused.
#include <ServerLib.h>
#include <ocidl.h>
#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "middleware/storage/win/com/tests/store_com_fixture.h"

namespace quill::test {
namespace {

constexpr wchar_t kActions[] = L"UserActions";

class UserActionTest : public StoreComTest {
 protected:
  HRESULT Save(const wchar_t* name, LONG code, std::vector<BYTE> bytes) {
    BYTE* data = bytes.data();
    _TUserActionParams params{code, static_cast<LONG>(bytes.size()), &data};
    return actions_->SaveUserAction(name, &params);
  }
  // The bytes of LoadUserAction, after checking the block's size; the block is freed.
  std::vector<BYTE> Load(const wchar_t* name, LONG* code = nullptr) {
    BYTE* data = reinterpret_cast<BYTE*>(1);
    _TUserActionParams params{-1, -1, &data};
    const HRESULT hr = actions_->LoadUserAction(name, &params);
    EXPECT_EQ(hr, S_OK);
    if (FAILED(hr)) return {};
    EXPECT_NE(data, nullptr);
    EXPECT_EQ(AllocationSize(data), static_cast<SIZE_T>(params.lNumData));
    std::vector<BYTE> bytes(data, data + params.lNumData);
    CoTaskMemFree(data);
    if (code) *code = params.lCode;
    return bytes;
  }
};

TEST_F(UserActionTest, FactoryNeedsAnOpenedDeviceTypeAndGivesConnectionPointThatNeverFires) {
  com::ComPtr<server::CDeviceType> closed = MakeDeviceType(false);
  IUserAction* none = reinterpret_cast<IUserAction*>(1);
  EXPECT_EQ(closed->CreateUserActionInterface(&none), E_FAIL);
  EXPECT_EQ(none, nullptr);
  com::ComPtr<IConnectionPointContainer> container;
  ASSERT_EQ(actions_.As(container), S_OK);
  com::ComPtr<IConnectionPoint> point;
  ASSERT_EQ(container->FindConnectionPoint(IID__IUserActionEvents, point.Put()), S_OK);
  IID iid{};
  ASSERT_EQ(point->GetConnectionInterface(&iid), S_OK);
  EXPECT_TRUE(IsEqualIID(iid, IID__IUserActionEvents));
  CountingSink<_IUserActionEvents> sink;
  CountingSink<_IUserActionEvents> lacking(false);
  DWORD cookie = 0;
  EXPECT_EQ(point->Advise(&lacking, &cookie), CONNECT_E_CANNOTCONNECT);
  ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
  ASSERT_EQ(Save(L"a", 1, {1}), S_OK);
  EXPECT_EQ(sink.references(), 1u);
  EXPECT_EQ(point->Unadvise(cookie), S_OK);
  EXPECT_EQ(sink.references(), 0u);
}

TEST_F(UserActionTest, ManagedBytesReachTheRegistryAndComeBack) {
  SAFEARRAY* in = SafeArrayCreateVector(VT_UI1, 0, 3);
  ASSERT_NE(in, nullptr);
  const BYTE bytes[] = {0x01, 0x02, 0x03};
  memcpy(in->pvData, bytes, 3);
  ASSERT_EQ(actions_->SaveUserActionManaged(L"Launch", 42, 3, in), S_OK);
  SafeArrayDestroy(in);
  EXPECT_EQ(ReadDword(kActions, L"Launch", L"NumData"), 3);
  EXPECT_EQ(ReadDword(kActions, L"Launch", L"Code"), 42);
  EXPECT_EQ(ReadDword(kActions, L"Launch", L"RefCount"), 0);
  EXPECT_EQ(ReadBinary(kActions, L"Launch", L"Data"), (std::vector<uint8_t>{1, 2, 3}));

  LONG code = 0, count = 0;
  SAFEARRAY* out = nullptr;
  ASSERT_EQ(actions_->LoadUserActionManaged(L"Launch", &code, &count, &out), S_OK);
  EXPECT_EQ(code, 42);
  ASSERT_EQ(count, 3);
  ASSERT_NE(out, nullptr);
  VARTYPE vartype = VT_EMPTY;
  EXPECT_EQ(SafeArrayGetVartype(out, &vartype), S_OK);
  EXPECT_EQ(vartype, VT_UI1);
  EXPECT_EQ(SafeArrayGetDim(out), 1u);
  LONG lower = -1, upper = -1;
  SafeArrayGetLBound(out, 1, &lower);
  SafeArrayGetUBound(out, 1, &upper);
  EXPECT_EQ(lower, 0);
  EXPECT_EQ(upper, 2);
  EXPECT_EQ(std::vector<BYTE>(static_cast<BYTE*>(out->pvData), static_cast<BYTE*>(out->pvData) + 3),
            (std::vector<BYTE>{1, 2, 3}));
  EXPECT_EQ(SafeArrayDestroy(out), S_OK);
  EXPECT_EQ(Load(L"Launch", &code), (std::vector<BYTE>{1, 2, 3}));

  // A missing one: count 0 and no array.
  count = 9;
  out = reinterpret_cast<SAFEARRAY*>(1);
  EXPECT_EQ(actions_->LoadUserActionManaged(L"Gone", &code, &count, &out), E_FAIL);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(out, nullptr);

  // The array must hold the bytes the call names.
  SAFEARRAY* two = SafeArrayCreateVector(VT_UI1, 0, 2);
  SAFEARRAY* words = SafeArrayCreateVector(VT_I4, 0, 3);
  EXPECT_EQ(actions_->SaveUserActionManaged(L"Bad", 1, 3, two), E_INVALIDARG);
  EXPECT_EQ(actions_->SaveUserActionManaged(L"Bad", 1, 3, words), E_INVALIDARG);
  EXPECT_EQ(actions_->SaveUserActionManaged(L"Bad", 1, 1, nullptr), E_POINTER);
  EXPECT_EQ(actions_->SaveUserActionManaged(L"Bad", 1, -1, two), E_INVALIDARG);
  EXPECT_FALSE(ItemExists(kActions, L"Bad"));
  SafeArrayDestroy(two);
  SafeArrayDestroy(words);
  ASSERT_EQ(actions_->SaveUserActionManaged(L"Empty", 5, 0, nullptr), S_OK);
  EXPECT_EQ(Load(L"Empty"), std::vector<BYTE>{});  // a valid zero-length block
}

TEST_F(UserActionTest, ResavingKeepsTheCountThatGuardsDeletion) {
  ASSERT_EQ(Save(L"A", 1, {9, 9}), S_OK);
  ASSERT_TRUE(WriteDword(kActions, L"A", L"RefCount", 2));  // named by two stored mappings
  ASSERT_EQ(Save(L"A", 2, {7}), S_OK);
  EXPECT_EQ(ReadDword(kActions, L"A", L"RefCount"), 2);
  LONG code = 0;
  EXPECT_EQ(Load(L"A", &code), std::vector<BYTE>{7});
  EXPECT_EQ(code, 2);
  EXPECT_EQ(actions_->DeleteUserAction(L"A"), E_FAIL);
  EXPECT_TRUE(ItemExists(kActions, L"A"));
  ASSERT_TRUE(WriteDword(kActions, L"A", L"RefCount", 0));
  EXPECT_EQ(actions_->DeleteUserAction(L"A"), S_OK);
  EXPECT_FALSE(ItemExists(kActions, L"A"));

  BYTE* data = reinterpret_cast<BYTE*>(1);
  _TUserActionParams params{5, 5, &data};
  EXPECT_EQ(actions_->LoadUserAction(L"A", &params), E_FAIL);
  EXPECT_EQ(data, nullptr);
  EXPECT_EQ(params.lNumData, 0);
  EXPECT_EQ(actions_->DeleteUserAction(L"A"), E_FAIL);
}

TEST_F(UserActionTest, ListsAndExchangeFiles) {
  ASSERT_EQ(Save(L"U1", 1, {1}), S_OK);
  ASSERT_EQ(Save(L"U2", 2, {2, 2}), S_OK);
  LONG count = 0;
  ASSERT_EQ(actions_->LoadNumUserActions(&count), S_OK);
  EXPECT_EQ(count, 2);
  std::vector<LPWSTR> names(3, reinterpret_cast<LPWSTR>(1));
  EXPECT_EQ(actions_->LoadUserActionList(3, names.data()), E_FAIL);
  for (LPWSTR name : names) EXPECT_EQ(name, nullptr);
  ASSERT_EQ(actions_->LoadUserActionList(2, names.data()), S_OK);
  EXPECT_STREQ(names[0], L"U1");
  EXPECT_STREQ(names[1], L"U2");
  FreeNames(names);
  SAFEARRAY* list = nullptr;
  ASSERT_EQ(actions_->LoadUserActionListManaged(2, &list), S_OK);
  EXPECT_EQ(TakeBstrVector(list, 2), (std::vector<std::wstring>{L"U1", L"U2"}));
  list = reinterpret_cast<SAFEARRAY*>(1);
  EXPECT_EQ(actions_->LoadUserActionListManaged(3, &list), E_FAIL);
  EXPECT_EQ(list, nullptr);

  const std::wstring one = TempFile(L"ua_one");
  const std::wstring all = TempFile(L"ua_all");
  ASSERT_EQ(actions_->ExportUserAction(L"U2", one.c_str()), S_OK);
  ASSERT_EQ(actions_->ExportAllUserActions(all.c_str()), S_OK);
  EXPECT_EQ(actions_->ExportUserAction(L"Missing", TempFile(L"ua_none").c_str()), E_FAIL);
  ClearStore();
  EXPECT_EQ(actions_->ImportUserAction(L"U1", one.c_str()), E_FAIL);  // not in that file
  ASSERT_EQ(actions_->ImportUserAction(L"U2", one.c_str()), S_OK);
  LONG code = 0;
  EXPECT_EQ(Load(L"U2", &code), (std::vector<BYTE>{2, 2}));
  EXPECT_EQ(code, 2);
  ClearStore();
  ASSERT_EQ(actions_->ImportAllUserActions(all.c_str()), S_OK);
  ASSERT_EQ(actions_->LoadNumUserActions(&count), S_OK);
  EXPECT_EQ(count, 2);

  ASSERT_EQ(device_->CloseDeviceInterface(), S_OK);
  EXPECT_EQ(actions_->ExportAllUserActions(all.c_str()), E_FAIL);
  EXPECT_EQ(actions_->ImportUserAction(L"U2", one.c_str()), E_FAIL);
}

TEST_F(UserActionTest, RefusesNullPointersNegativeCountsAndBadNames) {
  LONG value = 0;
  LPWSTR slot = nullptr;
  SAFEARRAY* array = nullptr;
  _TUserActionParams params{};
  EXPECT_EQ(actions_->LoadNumUserActions(nullptr), E_POINTER);
  EXPECT_EQ(actions_->LoadUserActionList(1, nullptr), E_POINTER);
  EXPECT_EQ(actions_->LoadUserActionList(-1, &slot), E_INVALIDARG);
  EXPECT_EQ(actions_->SaveUserAction(nullptr, &params), E_POINTER);
  EXPECT_EQ(actions_->SaveUserAction(L"U", nullptr), E_POINTER);
  params.lNumData = -1;
  EXPECT_EQ(actions_->SaveUserAction(L"U", &params), E_INVALIDARG);
  params.lNumData = 2;  // bytes named but not given
  EXPECT_EQ(actions_->SaveUserAction(L"U", &params), E_POINTER);
  EXPECT_EQ(actions_->LoadUserAction(L"U", nullptr), E_POINTER);
  params.lCode = 7;
  EXPECT_EQ(actions_->LoadUserAction(L"U", &params), E_POINTER);  // no data cell
  EXPECT_EQ(params.lCode, 0);
  EXPECT_EQ(params.lNumData, 0);
  EXPECT_EQ(actions_->DeleteUserAction(nullptr), E_POINTER);
  EXPECT_EQ(actions_->ExportUserAction(L"U", nullptr), E_POINTER);
  EXPECT_EQ(actions_->ImportAllUserActions(nullptr), E_POINTER);
  EXPECT_EQ(actions_->LoadUserActionListManaged(-1, &array), E_INVALIDARG);
  LONG code = 7, count = 7;
  EXPECT_EQ(actions_->LoadUserActionManaged(L"U", &code, &count, nullptr), E_POINTER);
  EXPECT_EQ(code, 0);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(actions_->LoadUserActionManaged(nullptr, &value, &value, &array), E_POINTER);

  const std::wstring too_long(300, L'y');
  for (const wchar_t* bad : {L"", L"x\\y", too_long.c_str()}) {
    EXPECT_TRUE(FAILED(Save(bad, 1, {1})));
    EXPECT_TRUE(FAILED(actions_->DeleteUserAction(bad)));
  }
  ASSERT_EQ(actions_->LoadNumUserActions(&value), S_OK);
  EXPECT_EQ(value, 0);
}

}  // namespace
}  // namespace quill::test
