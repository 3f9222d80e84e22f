// IMeridex, its profile manager and profile objects against the emulated mouse, and what
// becomes of them when the device type object goes first.
#include <string>
#include <vector>

#include "middleware/objects/tests/win/feature_fixture.h"
#include "middleware/objects/win/features/meridex.h"

namespace quill::test {
namespace {

using com::ComPtr;

class ProfileManagerSink : public CountingSink<_IMeridexProfileManagerEvents> {
 public:
  STDMETHODIMP OnMeridexProfileManagerEvent(_TMeridexProfileManagerInfo* info) override {
    active.push_back(info->ActiveProfile);
    return S_OK;
  }
  std::vector<LONG> active;
};

class MeridexTest : public FeatureTest {
 protected:
  void SetUp() override {
    FeatureTest::SetUp();
    ASSERT_EQ(open_->CreateMeridexInterface(meridex_.Put()), S_OK);
    ASSERT_EQ(meridex_->CreateInterfaceInstance(__uuidof(IMeridexProfileManager),
                                                reinterpret_cast<IUnknown**>(manager_.Put())),
              S_OK);
  }
  void TearDown() override {
    manager_.Reset();
    meridex_.Reset();
    FeatureTest::TearDown();
  }
  LONG Number(IMeridexProfileObject* profile) {
    LONG number = -1;
    EXPECT_EQ(profile->GetProfileNumber(&number), S_OK);
    return number;
  }
  LONG Active() {
    LONG number = -1;
    EXPECT_EQ(manager_->GetActiveProfileNumber(&number), S_OK);
    return number;
  }

  ComPtr<IMeridex> meridex_;
  ComPtr<IMeridexProfileManager> manager_;
};

TEST_F(MeridexTest, InterfacesOfTheMeridexObject) {
  ComPtr<IMeridex> again;
  ASSERT_EQ(open_->CreateMeridexInterface(again.Put()), S_OK);
  EXPECT_EQ(again.Get(), meridex_.Get());  // cached by the device type
  IUnknown* out = reinterpret_cast<IUnknown*>(1);
  EXPECT_EQ(meridex_->CreateInterfaceInstance(__uuidof(IDpi), &out), E_NOINTERFACE);
  EXPECT_EQ(out, nullptr);
  EXPECT_EQ(meridex_->CreateInterfaceInstance(__uuidof(IMeridexProfileManager), nullptr),
            E_POINTER);
  ComPtr<IMeridexDpiTable> table;
  EXPECT_EQ(meridex_->QueryInterface(__uuidof(IMeridexDpiTable),
                                     reinterpret_cast<void**>(table.Put())),
            S_OK);
  LONG total = -1, remaining = -1;
  EXPECT_EQ(meridex_->GetTotalSpace(&total), S_OK);
  EXPECT_EQ(meridex_->GetRemainingSpace(&remaining), S_OK);
  EXPECT_GT(total, 0);
  EXPECT_LE(remaining, total);
  EXPECT_EQ(meridex_->GetTotalSpace(nullptr), E_POINTER);
  EXPECT_EQ(meridex_->GetRemainingSpace(nullptr), E_POINTER);
}

TEST_F(MeridexTest, ProfileLifecycleAndNames) {
  ComPtr<IMeridexProfileObject> first, created, active;
  ASSERT_EQ(manager_->GetProfileByIndex(0, first.Put()), S_OK);
  EXPECT_EQ(Number(first.Get()), 1);
  ASSERT_EQ(manager_->CreateProfile(created.Put()), S_OK);
  const LONG slot = Number(created.Get());
  EXPECT_EQ(manager_->ProfileExists(slot), S_OK);

  ASSERT_EQ(created->SetProfileName(L"Sniper"), S_OK);
  BSTR name = nullptr;
  ASSERT_EQ(created->GetProfileName(&name), S_OK);
  EXPECT_STREQ(name, L"Sniper");
  EXPECT_EQ(SysStringLen(name), 6u);
  SysFreeString(name);

  ASSERT_EQ(manager_->SetActiveProfile(created.Get()), S_OK);
  EXPECT_EQ(Active(), slot);
  ASSERT_EQ(manager_->GetActiveProfile(active.Put()), S_OK);
  EXPECT_EQ(Number(active.Get()), slot);
  EXPECT_EQ(manager_->DeleteProfile(created.Get()), E_ACCESSDENIED);  // active
  EXPECT_EQ(manager_->DeleteProfile(first.Get()), E_ACCESSDENIED);    // the base profile
  ASSERT_EQ(manager_->SetActiveProfile(first.Get()), S_OK);
  ASSERT_EQ(manager_->DeleteProfile(created.Get()), S_OK);
  EXPECT_EQ(manager_->ProfileExists(slot), E_FAIL);
  ComPtr<IMeridexProfileObject> gone;
  EXPECT_EQ(manager_->OpenProfile(slot, gone.Put()), E_FAIL);
  EXPECT_EQ(gone.Get(), nullptr);
}

TEST_F(MeridexTest, ArgumentChecksOfTheManager) {
  ComPtr<IMeridexProfileObject> profile;
  IMeridexProfileObject* out = reinterpret_cast<IMeridexProfileObject*>(1);
  struct Case {
    const char* name;
    HRESULT result;
    HRESULT expected;
  };
  for (const Case& c : {
           Case{"OpenProfile 0", manager_->OpenProfile(0, profile.Put()), E_INVALIDARG},
           Case{"OpenProfile 6", manager_->OpenProfile(6, profile.Put()), E_INVALIDARG},
           Case{"GetProfileByIndex 5", manager_->GetProfileByIndex(5, profile.Put()), E_INVALIDARG},
           Case{"GetProfileByIndex 3", manager_->GetProfileByIndex(3, &out), E_FAIL},
           Case{"OpenProfile null", manager_->OpenProfile(1, nullptr), E_POINTER},
           Case{"GetProfileByIndex null", manager_->GetProfileByIndex(0, nullptr), E_POINTER},
           Case{"GetActiveProfile null", manager_->GetActiveProfile(nullptr), E_POINTER},
           Case{"CreateProfile null", manager_->CreateProfile(nullptr), E_POINTER},
           Case{"SetActiveProfile null", manager_->SetActiveProfile(nullptr), E_POINTER},
           Case{"DeleteProfile null", manager_->DeleteProfile(nullptr), E_POINTER},
           Case{"GetActiveProfileNumber null", manager_->GetActiveProfileNumber(nullptr), E_POINTER},
           Case{"Reserved1", manager_->Reserved1(), S_OK},
           Case{"Reserved2", manager_->Reserved2(), S_OK},
       }) {
    EXPECT_EQ(c.result, c.expected) << c.name;
  }
  EXPECT_EQ(out, nullptr);
}

TEST_F(MeridexTest, NotifyActiveProfileReachesEverySink) {
  EXPECT_EQ(manager_->NotifyActiveProfile(), E_FAIL);  // no sink
  ComPtr<IConnectionPointContainer> container;
  ASSERT_EQ(manager_->QueryInterface(IID_IConnectionPointContainer,
                                     reinterpret_cast<void**>(container.Put())),
            S_OK);
  ComPtr<IConnectionPoint> point;
  ASSERT_EQ(container->FindConnectionPoint(__uuidof(_IMeridexProfileManagerEvents), point.Put()),
            S_OK);
  ProfileManagerSink& a = MakeSink<ProfileManagerSink>();
  ProfileManagerSink& b = MakeSink<ProfileManagerSink>();
  DWORD ca = 0, cb = 0;
  ASSERT_EQ(point->Advise(&a, &ca), S_OK);
  ASSERT_EQ(point->Advise(&b, &cb), S_OK);
  EXPECT_EQ(manager_->NotifyActiveProfile(), S_OK);
  EXPECT_EQ(a.active, std::vector<LONG>{1});
  EXPECT_EQ(b.active, std::vector<LONG>{1});
  point->Unadvise(ca);
  point->Unadvise(cb);
}

TEST_F(MeridexTest, ProfileObjectSubInterfacesAndMappings) {
  ComPtr<IMeridexProfileObject> created;
  ASSERT_EQ(manager_->CreateProfile(created.Put()), S_OK);
  const LONG slot = Number(created.Get());

  ComPtr<IUnknown> unknown;
  ASSERT_EQ(created->CreateSubInterface(__uuidof(IDpi), unknown.Put()), S_OK);
  ComPtr<IDpi> dpi;
  ASSERT_EQ(unknown->QueryInterface(__uuidof(IDpi), reinterpret_cast<void**>(dpi.Put())), S_OK);
  _stDpiStageType stages{};
  stages.ulTotalStages = 2;
  stages.lDefaultStage = 1;
  stages.lCurrentStage = 1;
  stages.Sensitivity[0] = {450, 450};
  stages.Sensitivity[1] = {900, 900};
  ASSERT_EQ(dpi->SetDpiStages(0, &stages), S_OK);
  ComPtr<IUnknown> led;
  EXPECT_EQ(created->CreateSubInterface(__uuidof(ILedStatus), led.Put()), S_OK);
  EXPECT_EQ(created->CreateSubInterface(__uuidof(IMeridex), unknown.Put()), E_NOINTERFACE);
  EXPECT_EQ(created->CreateSubInterface(__uuidof(IDpi), nullptr), E_POINTER);

  // The stages went to this profile's block: the first profile's stages are not these.
  ComPtr<IMeridexProfileObject> first;
  ASSERT_EQ(manager_->OpenProfile(1, first.Put()), S_OK);
  ComPtr<IUnknown> first_unknown;
  ASSERT_EQ(first->CreateSubInterface(__uuidof(IDpi), first_unknown.Put()), S_OK);
  ComPtr<IDpi> first_dpi;
  ASSERT_EQ(first_unknown->QueryInterface(__uuidof(IDpi), reinterpret_cast<void**>(first_dpi.Put())),
            S_OK);
  for (IDpi* d : {dpi.Get(), first_dpi.Get()}) {
    ULONG size = 0;
    _stDpiStageType* read = nullptr;
    ASSERT_EQ(d->GetDpiStages(&size, &read), S_OK);
    EXPECT_EQ(read->Sensitivity[0].ulXSensitivity == 450u, d == dpi.Get());
    CoTaskMemFree(read);
  }

  // Mappings: nine records into the caller's array; one changed record comes back.
  _TButtonMappingInfo records[9] = {};
  _TButtonMappingInfo* array = records;
  _TProfileParams params{0, 0, &array};
  ASSERT_EQ(created->GetProfileMappings(&params), S_OK);
  EXPECT_EQ(params.lNumMappings, 9);
  records[2].mappingType = BUTTON_MAPPING_BUTTONS;
  records[2].actionOrMacro.actionInfo.actionType = BUTTON_ACTION_PRESSED;
  records[2].actionOrMacro.actionInfo.info.pressed.button = MOUSE_BUTTON_DPI_UP;
  const _TButtonMappingInfo changed = records[2];
  ASSERT_EQ(created->SetProfileMappings(&params), S_OK);
  _TButtonMappingInfo back[9] = {};
  _TButtonMappingInfo* back_array = back;
  _TProfileParams back_params{0, 0, &back_array};
  ASSERT_EQ(created->GetProfileMappings(&back_params), S_OK);
  EXPECT_EQ(back[2].lButton, changed.lButton);
  EXPECT_EQ(back[2].mappingType, BUTTON_MAPPING_BUTTONS);
  EXPECT_EQ(back[2].actionOrMacro.actionInfo.info.pressed.button, MOUSE_BUTTON_DPI_UP);

  _TProfileParams too_many{0, 10, &array};
  EXPECT_EQ(created->SetProfileMappings(&too_many), E_INVALIDARG);
  _TProfileParams no_array{0, 3, nullptr};
  EXPECT_EQ(created->SetProfileMappings(&no_array), E_POINTER);
  EXPECT_EQ(created->GetProfileMappings(&no_array), E_POINTER);
  EXPECT_EQ(created->SetProfileMappings(nullptr), E_POINTER);
  EXPECT_EQ(created->GetProfileName(nullptr), E_POINTER);
  EXPECT_EQ(created->SetProfileName(nullptr), E_POINTER);
  ASSERT_EQ(manager_->DeleteProfile(created.Get()), S_OK);
  (void)slot;
}

TEST_F(MeridexTest, ObjectsThatOutliveTheirDeviceTypeFailCleanly) {
  ComPtr<IMeridexProfileObject> first;
  ASSERT_EQ(manager_->OpenProfile(1, first.Put()), S_OK);
  open_.Reset();  // the device type object goes; the client still holds its features
  LONG value = 0;
  IUnknown* out = nullptr;
  BSTR name = nullptr;
  ComPtr<IMeridexProfileObject> profile;
  EXPECT_EQ(meridex_->GetTotalSpace(&value), E_HANDLE);
  EXPECT_EQ(meridex_->CreateInterfaceInstance(__uuidof(IMeridexProfileManager), &out), E_HANDLE);
  EXPECT_EQ(manager_->GetActiveProfileNumber(&value), E_HANDLE);
  EXPECT_EQ(manager_->OpenProfile(1, profile.Put()), E_HANDLE);
  EXPECT_EQ(first->GetProfileName(&name), E_HANDLE);
  EXPECT_EQ(first->CreateSubInterface(__uuidof(IDpi), &out), E_HANDLE);
  EXPECT_EQ(Number(first.Get()), 1);  // no device needed
}

}  // namespace
}  // namespace quill::test
