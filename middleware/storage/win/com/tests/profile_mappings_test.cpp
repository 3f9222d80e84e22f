// IProfile's current mapping set ("LastActive", the control-channel upload) and the
// eight-byte-per-button block conversions.
#include <cstring>
#include <string>
#include <vector>

#include "middleware/objects/tests/win/test_support.h"
#include "middleware/storage/storage_errors.h"
#include "middleware/storage/win/com/profile.h"
#include "middleware/storage/win/com/tests/profile_fixture.h"

namespace quill::test {
namespace {

class ProfileMappingsTest : public ProfileTest {
 protected:
  // Records of a left click, a macro "Fire", a user action "Launch" and a DPI-stage change.
  void SetUp() override {
    ProfileTest::SetUp();
    records_[0] = Record(BUTTON_DEFINITION_LEFT_MOUSE, BUTTON_MAPPING_BUTTONS, BUTTON_ACTION_PRESSED, {1, 0, 0});
    records_[1] = Record(BUTTON_DEFINITION_MOUSE_4, BUTTON_MAPPING_MACRO, 0, {0, 3, 4});
    records_[1].actionOrMacro.ppszName = &macro_name_;
    records_[2] = Record(BUTTON_DEFINITION_MOUSE_5, BUTTON_MAPPING_USER_ACTION, 0, {0, 5, 6});
    records_[2].actionOrMacro.ppszName = &action_name_;
    records_[3] = Record(BUTTON_DEFINITION_DPI_UP, BUTTON_MAPPING_DEVICE_ACTION, BUTTON_ACTION_PROPERTY_CHANGE,
                         {PROPERTY_DPI_STAGE, 0, 2});
  }
  static _TButtonMappingInfo Record(LONG button, LONG type, LONG action, std::array<LONG, 3> info) {
    _TButtonMappingInfo r{};
    r.lButton = button;
    r.mappingType = static_cast<_TButtonMappingType>(type);
    r.actionOrMacro.actionInfo.actionType = static_cast<_TButtonActionType>(action);
    for (int i = 0; i < 3; ++i) r.actionOrMacro.actionInfo.info.alWords[i] = info[i];
    return r;
  }
  // The set as the store keeps it (the naming records' first two words are the pointer's).
  std::vector<storage::ButtonMapping> Stored() const {
    return {Mapping(1, 6, 5, {1, 0, 0}), Mapping(5, 2, 0, {0, 3, 4}, u"Fire"),
            Mapping(4, 3, 0, {0, 5, 6}, u"Launch"), Mapping(6, 1, 2, {4, 0, 2})};
  }
  std::vector<storage::ButtonMapping> Get() {
    LONG count = -1;
    _TButtonMappingInfo* block = nullptr;
    EXPECT_EQ(profile_->GetButtonMappings(&count, &block), S_OK);
    std::vector<storage::ButtonMapping> out;
    for (LONG i = 0; i < count; ++i) {
      const _TButtonMappingInfo& r = block[i];
      storage::ButtonMapping m = Mapping(r.lButton, r.mappingType, r.actionOrMacro.actionInfo.actionType,
                                         {r.actionOrMacro.actionInfo.info.alWords[0],
                                          r.actionOrMacro.actionInfo.info.alWords[1],
                                          r.actionOrMacro.actionInfo.info.alWords[2]});
      if (m.NamesObject()) {
        m.action_type = m.info[0] = 0;
        m.name = reinterpret_cast<const char16_t*>(*r.actionOrMacro.ppszName);
        CoTaskMemFree(*r.actionOrMacro.ppszName);
      }
      out.push_back(m);
    }
    CoTaskMemFree(block);
    return out;
  }

  wchar_t macro_text_[8] = L"Fire";
  LPWSTR macro_name_ = macro_text_;
  LPWSTR action_name_ = const_cast<LPWSTR>(L"Launch");
  _TButtonMappingInfo records_[4];
};

TEST_F(ProfileMappingsTest, BeforeAnySetTheSetIsEmptyInAValidBlock) {
  LONG count = -1;
  _TButtonMappingInfo* block = reinterpret_cast<_TButtonMappingInfo*>(1);
  ASSERT_EQ(profile_->GetButtonMappings(&count, &block), S_OK);
  EXPECT_EQ(count, 0);
  EXPECT_NE(block, nullptr);
  CoTaskMemFree(block);
  EXPECT_EQ(profile_->GetButtonMappings(nullptr, &block), E_POINTER);
  EXPECT_EQ(block, nullptr);
}

TEST_F(ProfileMappingsTest, SetStoresLastActiveAndGetHandsOutSeparateNameCopies) {
  StoreMacro(u"Fire");
  StoreUserAction(u"Launch");
  // The upload needs the driver control channel, which is never open; the set is kept and
  // written as "LastActive" all the same, without touching any reference count.
  EXPECT_EQ(profile_->SetButtonMappings(4, records_), E_HANDLE);
  EXPECT_EQ(AllRequests(), 0);
  storage::ProfileRecord last;
  ASSERT_TRUE(LoadLastActive(last));
  EXPECT_EQ(last.version, 0);
  EXPECT_EQ(last.mappings, Stored());
  EXPECT_EQ(RefCount(Macros(), u"Fire"), 0);
  EXPECT_EQ(RefCount(UserActions(), u"Launch"), 0);

  std::wcscpy(macro_text_, L"Other");  // the object copied the name
  LONG count = 0;
  _TButtonMappingInfo* block = nullptr;
  ASSERT_EQ(profile_->GetButtonMappings(&count, &block), S_OK);
  ASSERT_EQ(count, 4);
  EXPECT_EQ(block[1].mappingType, BUTTON_MAPPING_MACRO);
  LPWSTR* const cell = block[1].actionOrMacro.ppszName;
  ASSERT_NE(cell, nullptr);
  EXPECT_STREQ(*cell, L"Fire");
  EXPECT_NE(*cell, macro_name_);
  EXPECT_EQ(AllocationSize(*cell), 5 * sizeof(wchar_t));  // its own CoTaskMem string
  EXPECT_STREQ(*block[2].actionOrMacro.ppszName, L"Launch");
  EXPECT_EQ(block[3].actionOrMacro.actionInfo.info.property.lVal, 2);
  // The name cells lie in the block itself, after the records.
  const auto* begin = reinterpret_cast<const BYTE*>(block);
  const auto* at = reinterpret_cast<const BYTE*>(cell);
  EXPECT_GE(at, begin + 4 * sizeof(_TButtonMappingInfo));
  EXPECT_LT(at, begin + AllocationSize(block));
  CoTaskMemFree(*cell);
  CoTaskMemFree(*block[2].actionOrMacro.ppszName);
  CoTaskMemFree(block);

  // A second call hands out new copies of the same set.
  EXPECT_EQ(Get(), Stored());
}

TEST_F(ProfileMappingsTest, RefusedSetsLeaveTheCurrentSetAndLastActive) {
  ASSERT_EQ(profile_->SetButtonMappings(1, records_), E_HANDLE);
  const std::vector<storage::ButtonMapping> first = {Stored()[0]};
  const std::wstring long_name(256, L'n');
  LPWSTR long_text = const_cast<LPWSTR>(long_name.c_str());
  LPWSTR empty_text = const_cast<LPWSTR>(L"");
  LPWSTR null_text = nullptr;
  LPWSTR back_slash = const_cast<LPWSTR>(L"a\\b");
  const struct {
    const char* what;
    LONG count;
    LPWSTR* name_cell;  // of record 1
    HRESULT expected;
  } cases[] = {
      {"negative count", -1, &macro_name_, E_INVALIDARG},
      {"more records than buttons", 11, &macro_name_, E_INVALIDARG},
      {"no name cell", 2, nullptr, E_POINTER},
      {"null name", 2, &null_text, E_POINTER},
      {"name too long", 2, &long_text, storage::kE_INVALID_NAME},
      {"empty name", 2, &empty_text, storage::kE_INVALID_NAME},
      {"name with a backslash", 2, &back_slash, storage::kE_INVALID_NAME},
  };
  std::vector<_TButtonMappingInfo> many(11, records_[0]);
  for (const auto& c : cases) {
    _TButtonMappingInfo* records = c.count > 4 ? many.data() : records_;
    LPWSTR* const kept = records_[1].actionOrMacro.ppszName;
    records_[1].actionOrMacro.ppszName = c.name_cell;
    EXPECT_EQ(profile_->SetButtonMappings(c.count, records), c.expected) << c.what;
    records_[1].actionOrMacro.ppszName = kept;
    EXPECT_EQ(Get(), first) << c.what;
    storage::ProfileRecord last;
    ASSERT_TRUE(LoadLastActive(last));
    EXPECT_EQ(last.mappings, first) << c.what;
  }
  EXPECT_EQ(profile_->SetButtonMappings(1, nullptr), E_POINTER);
  EXPECT_EQ(profile_->SetButtonMappings(10, many.data()), E_HANDLE);  // as many as the buttons
  EXPECT_EQ(Get().size(), 10u);
  EXPECT_EQ(profile_->SetButtonMappings(0, nullptr), E_HANDLE);  // an empty set is a set
  EXPECT_TRUE(Get().empty());
}

TEST_F(ProfileMappingsTest, WithoutTheDeviceTheSetIsKeptButNotSaved) {
  ASSERT_EQ(open_->CloseDeviceInterface(), S_OK);
  EXPECT_EQ(profile_->SetButtonMappings(1, records_), E_FAIL);
  EXPECT_EQ(Get(), std::vector<storage::ButtonMapping>{Stored()[0]});
  storage::ProfileRecord last;
  EXPECT_FALSE(LoadLastActive(last));
  // The store needs no device.
  StoreProfile(u"A");
  EXPECT_EQ(profile_->DeleteProfile(L"A"), S_OK);
}

TEST_F(ProfileMappingsTest, ProfileObjectNeedsAnOpenedDeviceType) {
  IProfile* made = reinterpret_cast<IProfile*>(1);
  EXPECT_EQ(closed_->CreateProfileInterface(&made), E_FAIL);  // no device key name
  EXPECT_EQ(made, nullptr);
  EXPECT_EQ(closed_->CreateProfileInterface(nullptr), E_POINTER);
}

// The three operations after IProfile's methods, reached through the object's table as a
// client would.
TEST_F(ProfileMappingsTest, ButtonBlockOperationsFollowTheInterfaceInTheTable) {
  using ToBlock = HRESULT(STDMETHODCALLTYPE*)(IProfile*, const _TProfileParams*, ULONG, BYTE*);
  using FromBlock = HRESULT(STDMETHODCALLTYPE*)(IProfile*, ULONG, const BYTE*, _TProfileParams*);
  using CreateRate = HRESULT(STDMETHODCALLTYPE*)(IProfile*, IPollingRate**);
  void* const* table = *reinterpret_cast<void* const* const*>(profile_.Get());
  constexpr size_t kFirst = 3 + 36;
  const auto create_rate = reinterpret_cast<CreateRate>(table[kFirst]);
  const auto to_block = reinterpret_cast<ToBlock>(table[kFirst + 1]);
  const auto from_block = reinterpret_cast<FromBlock>(table[kFirst + 2]);

  com::ComPtr<IPollingRate> rate;
  ASSERT_EQ(create_rate(profile_.Get(), rate.Put()), S_OK);
  LONG hz = 0;
  EXPECT_EQ(rate->GetRate(&hz), S_OK);

  _TButtonMappingInfo records[] = {
      Record(BUTTON_DEFINITION_RIGHT_MOUSE, BUTTON_MAPPING_DEVICE_ACTION, BUTTON_ACTION_CLICK,
             {MOUSE_CLICK_DOUBLE_LCLICK, 0, 0}),
      Record(BUTTON_DEFINITION_MOUSE_4, BUTTON_MAPPING_DEVICE_ACTION, BUTTON_ACTION_KEYCODE, {0x1E, 0x41, 0}),
      records_[1],  // a macro: code 0
  };
  _TButtonMappingInfo* array = records;
  _TProfileParams params{0, 3, &array};
  BYTE block[88];
  std::memset(block, 0xEE, sizeof block);
  ASSERT_EQ(to_block(profile_.Get(), &params, sizeof block, block), S_OK);
  EXPECT_EQ(block[16 + 8], 2);     // slot 2, the right button
  EXPECT_EQ(block[17 + 8], 13);    // double left click
  EXPECT_EQ(block[16 + 24], 4);    // slot 4, MOUSE_4
  EXPECT_EQ(block[17 + 24], 0x24); // a key
  EXPECT_EQ(block[18 + 24], 0x1E);
  EXPECT_EQ(block[17], 0);         // slot 1 has no record
  EXPECT_EQ(to_block(profile_.Get(), &params, 87, block), E_INVALIDARG);
  params.lNumMappings = 11;
  EXPECT_EQ(to_block(profile_.Get(), &params, sizeof block, block), E_INVALIDARG);
  EXPECT_EQ(to_block(profile_.Get(), nullptr, sizeof block, block), E_POINTER);

  _TButtonMappingInfo* out = reinterpret_cast<_TButtonMappingInfo*>(1);
  _TProfileParams result{0, 0, &out};
  ASSERT_EQ(from_block(profile_.Get(), sizeof block, block, &result), S_OK);
  ASSERT_EQ(result.lNumMappings, 9);
  EXPECT_EQ(AllocationSize(out), 216u);
  EXPECT_EQ(out[1].lButton, BUTTON_DEFINITION_RIGHT_MOUSE);
  EXPECT_EQ(out[1].actionOrMacro.actionInfo.info.click.mouseClick, MOUSE_CLICK_DOUBLE_LCLICK);
  EXPECT_EQ(out[3].actionOrMacro.actionInfo.actionType, BUTTON_ACTION_KEYCODE);
  EXPECT_EQ(out[3].actionOrMacro.actionInfo.info.keycode.lVirtualKey, 0x1E);
  EXPECT_EQ(out[0].mappingType, BUTTON_MAPPING_DISABLED);
  CoTaskMemFree(out);
  out = reinterpret_cast<_TButtonMappingInfo*>(1);
  EXPECT_EQ(from_block(profile_.Get(), 80, block, &result), E_INVALIDARG);
  EXPECT_EQ(out, nullptr);
}

}  // namespace
}  // namespace quill::test
