// IProfile's device side: the profile list, the active profile through the control channel, the
// default layout, the feature objects it creates and its connection point.

#include <string>
#include <vector>

#include "middleware/objects/tests/win/test_support.h"
#include "middleware/objects/win/com/module_lock.h"
#include "middleware/storage/win/com/tests/profile_fixture.h"

namespace quill::test {
namespace {

using Names = std::vector<std::wstring>;
class ProfileDeviceTest : public ProfileTest {};

TEST_F(ProfileDeviceTest, ProfileListIsTheNumbersUpTo999) {
  std::vector<LPWSTR> slots(1000, reinterpret_cast<LPWSTR>(1));
  ASSERT_EQ(profile_->LoadProfileList(5, slots.data()), S_OK);
  EXPECT_EQ(AllocationSize(slots[4]), 2 * sizeof(wchar_t));
  EXPECT_EQ(TakeStrings(slots.data(), 5), (Names{L"1", L"2", L"3", L"4", L"5"}));
  EXPECT_EQ(AllRequests(), 0);  // whatever the device holds
  ASSERT_EQ(profile_->LoadProfileList(999, slots.data()), S_OK);
  EXPECT_EQ(TakeStrings(slots.data(), 999).back(), L"999");
  slots[0] = reinterpret_cast<LPWSTR>(1);
  EXPECT_EQ(profile_->LoadProfileList(1000, slots.data()), E_INVALIDARG);
  EXPECT_EQ(slots[0], nullptr);
  EXPECT_EQ(profile_->LoadProfileList(-1, slots.data()), E_INVALIDARG);
  EXPECT_EQ(profile_->LoadProfileList(1, nullptr), E_POINTER);
  EXPECT_EQ(profile_->LoadProfileList(0, nullptr), S_OK);
}

TEST_F(ProfileDeviceTest, ActiveProfileAndCountGoThroughTheUnopenedControlChannel) {
  BSTR three = SysAllocString(L"3");
  BSTR not_a_number = SysAllocString(L"x3");
  EXPECT_EQ(profile_->SetActiveProfile(three), E_HANDLE);  // parsed, then the channel refuses
  EXPECT_EQ(profile_->SetActiveProfile(not_a_number), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(profile_->SetActiveProfile(nullptr), DISP_E_TYPEMISMATCH);
  EXPECT_EQ(AllRequests(), 0);  // nothing reached the mouse
  SysFreeString(three);
  SysFreeString(not_a_number);

  BSTR active = reinterpret_cast<BSTR>(1);
  EXPECT_EQ(profile_->GetActiveProfile(&active), E_HANDLE);
  EXPECT_EQ(active, nullptr);
  EXPECT_EQ(profile_->GetActiveProfile(nullptr), E_POINTER);
  LONG count = 7;
  EXPECT_EQ(profile_->LoadNumProfiles(&count), E_HANDLE);
  EXPECT_EQ(count, 0);
  EXPECT_EQ(profile_->LoadNumProfiles(nullptr), E_POINTER);
  EXPECT_EQ(AllRequests(), 0);

  ASSERT_EQ(open_->CloseDeviceInterface(), S_OK);  // no device: E_FAIL, after the parse
  three = SysAllocString(L"3");
  EXPECT_EQ(profile_->SetActiveProfile(three), E_FAIL);
  SysFreeString(three);
  EXPECT_EQ(profile_->GetActiveProfile(&active), E_FAIL);
}

TEST_F(ProfileDeviceTest, SaveProfileWritesTheDefaultLayoutAndLoadProfileReadsTheBlock) {
  _TProfileParams params{5, 0, nullptr};
  ASSERT_EQ(profile_->SaveProfile(L"Ignored", &params), S_OK);
  EXPECT_EQ(RequestsWith(0x06, 0x41), 1);
  EXPECT_EQ(Requests(0x06), 1);
  ASSERT_EQ(profile_->LoadProfile(nullptr, &params), S_OK);
  EXPECT_EQ(RequestsWith(0x06, 0x01), 1);
  EXPECT_EQ(params.lVersion, 5);  // left as it was
  ClearLog();
  ASSERT_EQ(open_->CloseDeviceInterface(), S_OK);
  EXPECT_EQ(profile_->SaveProfile(L"x", nullptr), E_FAIL);
  EXPECT_EQ(profile_->LoadProfile(L"x", nullptr), E_FAIL);
  EXPECT_EQ(AllRequests(), 0);
}

TEST_F(ProfileDeviceTest, FeatureObjectsWorkAndLiveWithTheProfileObject) {
  const LONG before = com::ModuleLock::Count();
  com::ComPtr<IButtonControl> buttons;
  com::ComPtr<IDpiSettings> settings;
  com::ComPtr<ILedStatus> leds;
  com::ComPtr<IPerformanceSettings> performance;
  com::ComPtr<IDpi> dpi;
  ASSERT_EQ(profile_->CreateButtonControlInterface(buttons.Put()), S_OK);
  ASSERT_EQ(profile_->CreateDpiSettingsInterface(settings.Put()), S_OK);
  ASSERT_EQ(profile_->CreateLedStatusInterface(leds.Put()), S_OK);
  ASSERT_EQ(profile_->CreatePerformanceSettingsInterface(performance.Put()), S_OK);
  ASSERT_EQ(profile_->CreateDpiInterface(dpi.Put()), S_OK);
  _stSensitivityType level{};
  EXPECT_EQ(dpi->GetDpiLevel(&level), S_OK);  // bound to the opened device
  EXPECT_GT(level.ulXSensitivity, 0u);
  LONG status = 0;
  EXPECT_EQ(leds->GetStatus(&status), S_OK);
  EXPECT_EQ(buttons->RegisterButtonClickEvent(BUTTON_DEFINITION_LEFT_MOUSE), S_OK);

  // The client's references go; the profile object keeps the objects until it goes itself,
  // which it does once the device type object's slot holds a newer one.
  buttons.Reset();
  settings.Reset();
  leds.Reset();
  performance.Reset();
  dpi.Reset();
  EXPECT_EQ(com::ModuleLock::Count(), before + 5);
  com::ComPtr<IProfile> newer;
  ASSERT_EQ(open_->CreateProfileInterface(newer.Put()), S_OK);
  profile_.Reset();
  EXPECT_EQ(com::ModuleLock::Count(), before);  // one profile object for the other, nothing else

  EXPECT_EQ(newer->CreateDpiInterface(nullptr), E_POINTER);
  open_.Reset();  // the device type object goes: nothing to bind to
  IDpi* none = reinterpret_cast<IDpi*>(1);
  EXPECT_EQ(newer->CreateDpiInterface(&none), E_FAIL);
  EXPECT_EQ(none, nullptr);
  LONG groups = -1;
  EXPECT_EQ(newer->LoadNumProfileGroups(&groups), S_OK);  // the store stays usable
  EXPECT_EQ(groups, 0);
}

TEST_F(ProfileDeviceTest, AnswersItsInterfacesAndAcceptsSinksOnItsConnectionPoint) {
  com::ComPtr<IUnknown> unknown;
  EXPECT_EQ(profile_->QueryInterface(IID_IUnknown, unknown.PutVoid()), S_OK);
  com::ComPtr<IProfile> again;
  EXPECT_EQ(profile_->QueryInterface(IID_IProfile, again.PutVoid()), S_OK);
  EXPECT_EQ(again.Get(), profile_.Get());
  com::ComPtr<IUnknown> other;
  EXPECT_EQ(profile_->QueryInterface(IID_IMacroHandling, other.PutVoid()), E_NOINTERFACE);
  EXPECT_EQ(profile_->QueryInterface(IID__IProfileEvents, other.PutVoid()), E_NOINTERFACE);
  com::ComPtr<IConnectionPointContainer> container;
  ASSERT_EQ(profile_->QueryInterface(IID_IConnectionPointContainer, container.PutVoid()), S_OK);
  com::ComPtr<IConnectionPoint> point;
  ASSERT_EQ(container->FindConnectionPoint(IID__IProfileEvents, point.Put()), S_OK);
  com::ComPtr<IConnectionPoint> none;
  EXPECT_EQ(container->FindConnectionPoint(IID__IMacroHandlingEvents, none.Put()), CONNECT_E_NOCONNECTION);
  CountingSink<_IProfileEvents>& sink = MakeSink<CountingSink<_IProfileEvents>>();
  DWORD cookie = 0;
  ASSERT_EQ(point->Advise(&sink, &cookie), S_OK);
  EXPECT_EQ(cookie, 1u);
  EXPECT_EQ(point->Unadvise(cookie), S_OK);
  EXPECT_EQ(sink.references(), 0u);
}

}  // namespace
}  // namespace quill::test
