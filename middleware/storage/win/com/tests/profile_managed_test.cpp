// IProfile's "Managed" methods: SAFEARRAYs in and out, their element types and ownership.

#include <cstring>
#include <string>
#include <vector>

#include "middleware/storage/storage_errors.h"
#include "middleware/storage/win/com/managed_arrays.h"
#include "middleware/storage/win/com/tests/profile_fixture.h"

namespace quill::test {
namespace {

using server::SafeArrayPtr;

class ProfileManagedTest : public ProfileTest {
 protected:
  void SetUp() override {
    ProfileTest::SetUp();
    if (HasFatalFailure()) return;
    ASSERT_EQ(server::ServerRecordInfo(GUID_TButtonMappingManaged, info_.Put()), S_OK);
  }
  void TearDown() override {
    info_.Reset();
    ProfileTest::TearDown();
  }

  // A VT_RECORD vector of the elements, and the two name vectors of the same length with the
  // names at their indexes (empty names stay null).
  struct Input {
    SafeArrayPtr mappings, macros, actions;
  };
  Input MakeInput(const std::vector<TButtonMappingManaged>& elements, const std::vector<std::wstring>& macros,
                  const std::vector<std::wstring>& actions) {
    Input in;
    const LONG n = static_cast<LONG>(elements.size());
    SAFEARRAY* made = nullptr;
    EXPECT_EQ(server::MakeRecordVector(info_.Get(), n, &made), S_OK);
    in.mappings.Reset(made);
    if (n) std::memcpy(made->pvData, elements.data(), elements.size() * sizeof(TButtonMappingManaged));
    for (auto [names, out] : {std::pair{&macros, &in.macros}, std::pair{&actions, &in.actions}}) {
      EXPECT_EQ(server::MakeBstrVector(n, &made), S_OK);
      out->Reset(made);
      for (size_t i = 0; i < names->size(); ++i) {
        if (!(*names)[i].empty()) static_cast<BSTR*>(made->pvData)[i] = SysAllocString((*names)[i].c_str());
      }
    }
    return in;
  }
  static std::vector<std::wstring> Strings(SAFEARRAY* array) {
    std::vector<std::wstring> out;
    VARTYPE type = VT_EMPTY;
    EXPECT_EQ(SafeArrayGetVartype(array, &type), S_OK);
    EXPECT_EQ(type, VT_BSTR);
    EXPECT_EQ(SafeArrayGetDim(array), 1u);
    EXPECT_EQ(array->rgsabound[0].lLbound, 0);
    for (ULONG i = 0; i < array->rgsabound[0].cElements; ++i) {
      const BSTR s = static_cast<BSTR*>(array->pvData)[i];
      out.push_back(s ? s : L"(null)");
    }
    return out;
  }

  com::ComPtr<IRecordInfo> info_;
  const std::vector<TButtonMappingManaged> elements_ = {
      {BUTTON_DEFINITION_LEFT_MOUSE, BUTTON_MAPPING_BUTTONS, BUTTON_ACTION_PRESSED, 1, 0, 0},
      {BUTTON_DEFINITION_MOUSE_4, BUTTON_MAPPING_MACRO, 0x1234, 7, 3, 4},  // the action word is the name's
      {BUTTON_DEFINITION_MOUSE_5, BUTTON_MAPPING_USER_ACTION, 0, 8, 5, 6},
      {BUTTON_DEFINITION_DPI_UP, BUTTON_MAPPING_DEVICE_ACTION, BUTTON_ACTION_PROPERTY_CHANGE, PROPERTY_DPI_STAGE, 0, 2},
  };
  const std::vector<std::wstring> macro_names_ = {L"", L"Fire", L"", L""};
  const std::vector<std::wstring> action_names_ = {L"", L"", L"Launch", L""};
};

TEST_F(ProfileManagedTest, MappingsRoundTripAsThreeArraysOfEqualLength) {
  Input in = MakeInput(elements_, macro_names_, action_names_);
  EXPECT_EQ(profile_->SetButtonMappingsManaged(4, in.mappings.Get(), in.macros.Get(), in.actions.Get()), E_HANDLE);
  // The caller's arrays are left as they were.
  EXPECT_EQ(static_cast<TButtonMappingManaged*>(in.mappings.Get()->pvData)[1].lActionType, 0x1234);
  storage::ProfileRecord last;
  ASSERT_TRUE(LoadLastActive(last));
  ASSERT_EQ(last.mappings.size(), 4u);
  EXPECT_EQ(last.mappings[1], Mapping(5, 2, 0, {7, 3, 4}, u"Fire"));

  LONG count = -1;
  SAFEARRAY *mappings = nullptr, *macros = nullptr, *actions = nullptr;
  ASSERT_EQ(profile_->GetButtonMappingsManaged(&count, &mappings, &macros, &actions), S_OK);
  SafeArrayPtr owned[] = {SafeArrayPtr(mappings), SafeArrayPtr(macros), SafeArrayPtr(actions)};
  ASSERT_EQ(count, 4);
  for (SAFEARRAY* array : {mappings, macros, actions}) {
    EXPECT_EQ(array->rgsabound[0].cElements, 4u);
    EXPECT_EQ(array->rgsabound[0].lLbound, 0);
  }
  VARTYPE type = VT_EMPTY;
  ASSERT_EQ(SafeArrayGetVartype(mappings, &type), S_OK);
  EXPECT_EQ(type, VT_RECORD);
  com::ComPtr<IRecordInfo> record;
  ASSERT_EQ(SafeArrayGetRecordInfo(mappings, record.Put()), S_OK);
  GUID guid{};
  ASSERT_EQ(record->GetGuid(&guid), S_OK);
  EXPECT_TRUE(IsEqualGUID(guid, GUID_TButtonMappingManaged));
  const auto* out = static_cast<const TButtonMappingManaged*>(mappings->pvData);
  for (size_t i = 0; i < 4; ++i) {
    TButtonMappingManaged expected = elements_[i];
    if (i == 1) expected.lActionType = 0;  // names travel beside, the action word is 0
    EXPECT_EQ(std::memcmp(&out[i], &expected, sizeof expected), 0) << i;
  }
  EXPECT_EQ(Strings(macros), (std::vector<std::wstring>{L"(null)", L"Fire", L"(null)", L"(null)"}));
  EXPECT_EQ(Strings(actions), (std::vector<std::wstring>{L"(null)", L"(null)", L"Launch", L"(null)"}));
}

TEST_F(ProfileManagedTest, BadInputArraysAreRefusedAndTheSetStays) {
  Input good = MakeInput({elements_[0]}, {L""}, {L""});
  ASSERT_EQ(profile_->SetButtonMappingsManaged(1, good.mappings.Get(), nullptr, nullptr), E_HANDLE);  // no names needed
  Input in = MakeInput(elements_, macro_names_, action_names_);
  Input short_names = MakeInput(elements_, macro_names_, action_names_);
  SAFEARRAY* made = nullptr;
  ASSERT_EQ(server::MakeBstrVector(1, &made), S_OK);
  short_names.macros.Reset(made);
  SafeArrayPtr numbers(SafeArrayCreateVector(VT_I4, 0, 24));
  Input unnamed = MakeInput(elements_, {L"", L"", L"", L""}, action_names_);
  const struct {
    const char* what;
    LONG count;
    SAFEARRAY *mappings, *macros, *actions;
    HRESULT expected;
  } cases[] = {
      {"fewer elements than the count", 5, in.mappings.Get(), in.macros.Get(), in.actions.Get(), E_INVALIDARG},
      {"negative count", -1, in.mappings.Get(), in.macros.Get(), in.actions.Get(), E_INVALIDARG},
      {"no mapping array", 4, nullptr, in.macros.Get(), in.actions.Get(), E_POINTER},
      {"not a record array", 4, numbers.Get(), in.macros.Get(), in.actions.Get(), E_INVALIDARG},
      {"names array too short", 4, in.mappings.Get(), short_names.macros.Get(), in.actions.Get(), E_INVALIDARG},
      {"macro without names", 4, in.mappings.Get(), nullptr, in.actions.Get(), E_POINTER},
      {"names array of records", 4, in.mappings.Get(), in.mappings.Get(), in.actions.Get(), E_INVALIDARG},
      {"macro with an empty name", 4, unnamed.mappings.Get(), unnamed.macros.Get(), unnamed.actions.Get(),
       storage::kE_INVALID_NAME},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(profile_->SetButtonMappingsManaged(c.count, c.mappings, c.macros, c.actions), c.expected) << c.what;
    LONG count = 0;
    SAFEARRAY *mappings = nullptr, *macros = nullptr, *actions = nullptr;
    ASSERT_EQ(profile_->GetButtonMappingsManaged(&count, &mappings, &macros, &actions), S_OK);
    SafeArrayPtr owned[] = {SafeArrayPtr(mappings), SafeArrayPtr(macros), SafeArrayPtr(actions)};
    EXPECT_EQ(count, 1) << c.what;
  }
  SAFEARRAY* out = reinterpret_cast<SAFEARRAY*>(1);
  EXPECT_EQ(profile_->GetButtonMappingsManaged(nullptr, &out, &out, &out), E_POINTER);
  EXPECT_EQ(out, nullptr);
}

TEST_F(ProfileManagedTest, NameListsComeAsBstrVectors) {
  SAFEARRAY* made = nullptr;
  ASSERT_EQ(profile_->LoadProfileListManaged(5, &made), S_OK);
  SafeArrayPtr list(made);
  EXPECT_EQ(Strings(made), (std::vector<std::wstring>{L"1", L"2", L"3", L"4", L"5"}));

  StoreProfile(u"A");
  StoreProfile(u"B");
  Input names = MakeInput({}, {}, {});
  ASSERT_EQ(server::MakeBstrVector(2, &made), S_OK);
  SafeArrayPtr members(made);
  static_cast<BSTR*>(made->pvData)[0] = SysAllocString(L"B");
  static_cast<BSTR*>(made->pvData)[1] = SysAllocString(L"A");
  ASSERT_EQ(profile_->SaveProfileGroupManaged(L"G", 2, members.Get()), S_OK);
  EXPECT_EQ(profile_->SaveProfileGroupManaged(L"H", 3, members.Get()), E_INVALIDARG);  // holds 2

  ASSERT_EQ(profile_->LoadProfileGroupListManaged(1, &made), S_OK);
  SafeArrayPtr groups(made);
  EXPECT_EQ(Strings(made), (std::vector<std::wstring>{L"G"}));
  ASSERT_EQ(profile_->LoadProfileGroupManaged(L"G", 2, &made), S_OK);
  SafeArrayPtr loaded(made);
  EXPECT_EQ(Strings(made), (std::vector<std::wstring>{L"B", L"A"}));
  made = reinterpret_cast<SAFEARRAY*>(1);
  EXPECT_EQ(profile_->LoadProfileGroupManaged(L"G", 3, &made), E_FAIL);
  EXPECT_EQ(made, nullptr);
}

TEST_F(ProfileManagedTest, SaveAndLoadProfileManagedReachTheDevice) {
  Input in = MakeInput(elements_, macro_names_, action_names_);
  ASSERT_EQ(profile_->SaveProfileManaged(L"Any", 3, 4, in.mappings.Get(), in.macros.Get(), in.actions.Get()), S_OK);
  EXPECT_EQ(RequestsWith(0x06, 0x41), 1);  // the default-layout write
  EXPECT_EQ(static_cast<TButtonMappingManaged*>(in.mappings.Get()->pvData)[1].lActionType, 0x1234);
  EXPECT_EQ(profile_->SaveProfileManaged(L"Any", 3, 5, in.mappings.Get(), in.macros.Get(), in.actions.Get()),
            E_INVALIDARG);
  EXPECT_EQ(RequestsWith(0x06, 0x41), 1);  // refused before any traffic

  LONG version = -1, count = -1;
  SAFEARRAY *mappings = nullptr, *macros = nullptr, *actions = nullptr;
  ASSERT_EQ(profile_->LoadProfileManaged(L"Any", &version, &count, &mappings, &macros, &actions), S_OK);
  SafeArrayPtr owned[] = {SafeArrayPtr(mappings), SafeArrayPtr(macros), SafeArrayPtr(actions)};
  EXPECT_EQ(RequestsWith(0x06, 0x01), 1);  // the block read
  EXPECT_EQ(version, 0);  // the read leaves the parameters as they were
  EXPECT_EQ(count, 0);
  for (SAFEARRAY* array : {mappings, macros, actions}) {
    ASSERT_NE(array, nullptr);
    EXPECT_EQ(array->rgsabound[0].cElements, 0u);
  }
}

}  // namespace
}  // namespace quill::test
