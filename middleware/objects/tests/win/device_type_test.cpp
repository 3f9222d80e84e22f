// The entry objects without a mouse: closed device type objects, fixed answers, the factory
// slots, and the interfaces each object answers.
#include "middleware/objects/tests/win/test_support.h"
#include "middleware/objects/win/device_enumeration.h"
#include "middleware/objects/win/device_type.h"

namespace quill::test {
namespace {

using com::ComPtr;

std::wstring TakeString(LPWSTR text) {
  std::wstring copy = text ? text : L"<null>";
  CoTaskMemFree(text);
  return copy;
}

using EntryObjectTest = EntryObjectsTest;

TEST_F(EntryObjectTest, EnumerationAnswersWithoutDevice) {
  EXPECT_EQ(enumeration_->OpenDeviceEnumerationInterface(), S_OK);
  EXPECT_EQ(enumeration_->CloseDeviceEnumerationInterface(), S_OK);
  ULONG version = 0;
  EXPECT_EQ(enumeration_->GetMiddlewareVersion(&version), S_OK);
  EXPECT_EQ(version, 1020u);
  EXPECT_EQ(enumeration_->GetMiddlewareVersion(nullptr), E_POINTER);
  EXPECT_EQ(enumeration_->EnumDeviceType(0x0C31, nullptr), E_POINTER);
  // Every call makes a new object.
  ComPtr<IDeviceType> other;
  ASSERT_EQ(enumeration_->EnumDeviceType(0xFFFF, other.Put()), S_OK);
  EXPECT_NE(other, device_);
}

TEST_F(EntryObjectTest, NeverOpenedDeviceTypeNeedsAHandlerForDeviceQueries) {
  LPWSTR text = reinterpret_cast<LPWSTR>(1);
  EXPECT_EQ(device_->GetSerialNumber(&text), E_HANDLE);
  EXPECT_EQ(text, nullptr);
  text = reinterpret_cast<LPWSTR>(1);
  EXPECT_EQ(device_->GetFirmwareVersion(&text), E_HANDLE);
  EXPECT_EQ(text, nullptr);
  text = reinterpret_cast<LPWSTR>(1);
  EXPECT_EQ(device_->GetHardwareId(&text), E_HANDLE);
  EXPECT_EQ(text, nullptr);
  _TBusType bus = static_cast<_TBusType>(7);
  EXPECT_EQ(device_->GetBusType(&bus), E_HANDLE);
  EXPECT_EQ(bus, BUS_TYPE_USB);
  LONG connected = 7;
  EXPECT_EQ(device_->IsConnected(&connected), S_OK);  // no Quillfern product ID opened
  EXPECT_EQ(connected, 0);
  EXPECT_EQ(device_->SwitchToNextDevice(), E_NOTIMPL);
  EXPECT_EQ(device_->CloseDeviceInterface(), S_OK);
  for (auto call : {&IDeviceType::GetSerialNumber, &IDeviceType::GetFirmwareVersion,
                    &IDeviceType::GetHardwareId, &IDeviceType::GetDriverVersion}) {
    EXPECT_EQ(((*device_.Get()).*call)(nullptr), E_POINTER);
  }
  EXPECT_EQ(device_->IsConnected(nullptr), E_POINTER);
  EXPECT_EQ(device_->GetBusType(nullptr), E_POINTER);
  EXPECT_EQ(device_->GetDeviceCapabilities(nullptr), E_POINTER);
}

TEST_F(EntryObjectTest, DriverVersionAndCapabilitiesNeedNoDevice) {
  LPWSTR text = nullptr;
  ASSERT_EQ(device_->GetDriverVersion(&text), S_OK);
  EXPECT_EQ(AllocationSize(text), 5 * sizeof(wchar_t));  // exactly "1.01" and its terminator
  EXPECT_EQ(TakeString(text), L"1.01");

  _TDeviceCapabilities caps;
  caps.ulPid = 1;
  caps.bHasMeridex = 0x5A5A;
  caps.lNoOfMouseButtons = caps.lNoOfTotalButtons = -1;
  caps.ulMaxMacroLen = 0;
  caps.bDpiSettingsSupported = caps.bPollingRateSupported = -1;
  ASSERT_EQ(device_->GetDeviceCapabilities(&caps), S_OK);
  EXPECT_EQ(caps.ulPid, 0u);  // nothing opened yet
  EXPECT_EQ(caps.lNoOfMouseButtons, 9);
  EXPECT_EQ(caps.lNoOfTotalButtons, 10);
  EXPECT_EQ(caps.ulMaxMacroLen, 500u);
  EXPECT_EQ(caps.bDpiSettingsSupported, 1);
  EXPECT_EQ(caps.bPollingRateSupported, 1);
  EXPECT_EQ(caps.bHasMeridex, 0x5A5A);  // left as the caller set it
}

// The store interfaces belong to the device key name of an opened object: a never-opened one
// has none, and their factories fail with a null out-pointer (E_FAIL, or first the record
// information lookup's error while the type library is not registered).
TEST_F(EntryObjectTest, StoreFactoriesOfANeverOpenedObjectFail) {
  void* out = reinterpret_cast<void*>(1);
#define EXPECT_FACTORY_FAILS(method, type)                                  \
  out = reinterpret_cast<void*>(1);                                         \
  EXPECT_TRUE(FAILED(device_->method(reinterpret_cast<type**>(&out))));     \
  EXPECT_EQ(out, nullptr);                                                  \
  EXPECT_EQ(device_->method(nullptr), E_POINTER)
  EXPECT_FACTORY_FAILS(CreateProfileInterface, IProfile);
  EXPECT_FACTORY_FAILS(CreateMacroHandlingInterface, IMacroHandling);
  EXPECT_FACTORY_FAILS(CreateUserActionInterface, IUserAction);
#undef EXPECT_FACTORY_FAILS
}

TEST_F(EntryObjectTest, EachObjectAnswersItsInterfacesOnly) {
  const struct {
    IUnknown* object;
    std::vector<const IID*> answers, refuses;
  } cases[] = {
      {enumeration_.Get(),
       {&IID_IUnknown, &IID_IDeviceEnumeration, &IID_IConnectionPointContainer},
       {&IID_IDeviceType, &IID_IConnectionPoint, &IID_IDispatch, &IID__IDeviceEnumerationEvents}},
      {device_.Get(),
       {&IID_IUnknown, &IID_IDeviceType, &IID_IConnectionPointContainer},
       {&IID_IDeviceEnumeration, &IID_IClassFactory, &IID__IDeviceTypeEvents, &IID_IMeridex}},
  };
  for (const auto& c : cases) {
    ComPtr<IUnknown> identity;
    ASSERT_EQ(c.object->QueryInterface(IID_IUnknown, identity.PutVoid()), S_OK);
    for (const IID* iid : c.answers) {
      ComPtr<IUnknown> got, back;
      ASSERT_EQ(c.object->QueryInterface(*iid, got.PutVoid()), S_OK) << GuidText(*iid).c_str();
      ASSERT_EQ(got->QueryInterface(IID_IUnknown, back.PutVoid()), S_OK);
      EXPECT_EQ(back, identity);  // one identity whatever the interface
    }
    for (const IID* iid : c.refuses) {
      void* got = reinterpret_cast<void*>(1);
      EXPECT_EQ(c.object->QueryInterface(*iid, &got), E_NOINTERFACE);
      EXPECT_EQ(got, nullptr);
    }
    EXPECT_EQ(c.object->QueryInterface(IID_IUnknown, nullptr), E_POINTER);
  }
}

// ---- factory slots, with stand-in feature objects --------------------------------------------

// Answers IUnknown and the one interface it stands in for; counts the live ones.
class FakeFeature final : public IUnknown {
 public:
  FakeFeature(REFIID iid, server::CDeviceType& owner) : iid_(iid), owner_(owner) { ++live; }
  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    *object = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, iid_)) return E_NOINTERFACE;
    *object = this;
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return ++references_; }
  STDMETHODIMP_(ULONG) Release() override {
    const ULONG left = --references_;
    if (left == 0) {
      --live;
      delete this;
    }
    return left;
  }
  ULONG references() const { return references_; }
  server::CDeviceType& owner() const { return owner_; }
  static inline int live = 0;

 private:
  const IID iid_;
  server::CDeviceType& owner_;
  ULONG references_ = 1;
};

template <const IID* Iid>
HRESULT MakeFake(server::CDeviceType& owner, IUnknown** object) {
  *object = new FakeFeature(*Iid, owner);
  return S_OK;
}
HRESULT MakeNothing(server::CDeviceType&, IUnknown** object) {
  *object = nullptr;
  return E_OUTOFMEMORY;
}
HRESULT MakeWrongKind(server::CDeviceType& owner, IUnknown** object) {
  *object = new FakeFeature(IID_IBattery, owner);  // not what the slot hands out
  return S_OK;
}

// A feature object written the way the module's own are (ComObject, EventSource, MakeFeature).
class CTestBattery final
    : public com::ComObject<IBattery, com::EventSource<_IBatteryEvents>> {
 public:
  explicit CTestBattery(server::CDeviceType& owner) : owner_(&owner) {}
  STDMETHODIMP GetRemaingPower(LONG* power) override {
    *power = owner_->pid();
    return owner_->handler() ? S_OK : E_FAIL;
  }
  STDMETHODIMP IsCharging(LONG* charging) override {
    *charging = 0;
    return E_NOTIMPL;
  }

 private:
  server::CDeviceType* owner_;
};

constexpr server::FeatureMakerTable kFakeMakers = {
    &MakeFake<&IID_IProfile>,     &MakeFake<&IID_IMacroHandling>,
    &MakeFake<&IID_IUserAction>,  &MakeFake<&IID_IDefaultMode>,
    &MakeNothing,                 &server::MakeFeature<CTestBattery>,
    &MakeFake<&IID_IMeridex>,     &MakeFake<&IID_IOTFS>,
    &MakeFake<&IID_IPollingRate>, &MakeWrongKind,
};

class FactorySlotTest : public ComTest {
 protected:
  void SetUp() override {
    ComTest::SetUp();
    FakeFeature::live = 0;
    device_ = com::MakeComObject<server::CDeviceType>(
        [] { return std::unique_ptr<DriverHandler>(); }, kFakeMakers);
    ASSERT_TRUE(device_);
  }
  void TearDown() override {
    device_.Reset();
    EXPECT_EQ(FakeFeature::live, 0);
    ComTest::TearDown();
  }
  static FakeFeature* Fake(IUnknown* p) { return static_cast<FakeFeature*>(p); }
  ComPtr<server::CDeviceType> device_;
};

TEST_F(FactorySlotTest, EachCallMakesANewObjectKeptInItsSlot) {
  ComPtr<IOTFS> first, second;
  ASSERT_EQ(device_->CreateOTFSInterface(first.Put()), S_OK);
  FakeFeature* fake = Fake(reinterpret_cast<IUnknown*>(first.Get()));
  EXPECT_EQ(&fake->owner(), device_.Get());
  EXPECT_EQ(fake->references(), 2u);  // the caller's and the slot's
  EXPECT_EQ(device_->SlotObject(server::FeatureSlot::kOTFS), reinterpret_cast<IUnknown*>(fake));

  ASSERT_EQ(device_->CreateOTFSInterface(second.Put()), S_OK);
  EXPECT_NE(first.Get(), second.Get());
  EXPECT_EQ(device_->SlotObject(server::FeatureSlot::kOTFS),
            reinterpret_cast<IUnknown*>(second.Get()));
  // The replaced object lost the slot's reference: the caller's is the last one.
  EXPECT_EQ(fake->references(), 1u);
  EXPECT_EQ(FakeFeature::live, 2);
  first.Reset();
  EXPECT_EQ(FakeFeature::live, 1);
  // The slot keeps the current object alive after the caller lets go; the device type object
  // releases it when it goes.
  second.Reset();
  EXPECT_EQ(FakeFeature::live, 1);
}

TEST_F(FactorySlotTest, MeridexObjectIsMadeOnceAndHandedOutAgain) {
  ComPtr<IMeridex> first, second;
  ASSERT_EQ(device_->CreateMeridexInterface(first.Put()), S_OK);
  ASSERT_EQ(device_->CreateMeridexInterface(second.Put()), S_OK);
  EXPECT_EQ(first.Get(), second.Get());
  EXPECT_EQ(FakeFeature::live, 1);
  EXPECT_EQ(Fake(reinterpret_cast<IUnknown*>(first.Get()))->references(), 3u);
}

TEST_F(FactorySlotTest, PollingRateObjectBelongsToTheCallerAlone) {
  ComPtr<IPollingRate> rate;
  ASSERT_EQ(device_->CreatePollingRateInterface(rate.Put()), S_OK);
  EXPECT_EQ(Fake(reinterpret_cast<IUnknown*>(rate.Get()))->references(), 1u);
  EXPECT_EQ(device_->SlotObject(server::FeatureSlot::kPollingRate), nullptr);
  rate.Reset();
  EXPECT_EQ(FakeFeature::live, 0);
}

TEST_F(FactorySlotTest, FailuresLeaveNothingHandedOutAndTheSlotAsItWas) {
  ComPtr<IWirelessDistance> distance;
  IWirelessDistance* raw = reinterpret_cast<IWirelessDistance*>(1);
  EXPECT_EQ(device_->CreateWirelessDistanceInterface(&raw), E_OUTOFMEMORY);
  EXPECT_EQ(raw, nullptr);
  ISensorRomSwitching* rom = reinterpret_cast<ISensorRomSwitching*>(1);
  EXPECT_EQ(device_->CreateSensorRomSwitchingInterface(&rom), E_NOINTERFACE);
  EXPECT_EQ(rom, nullptr);
  EXPECT_EQ(device_->SlotObject(server::FeatureSlot::kSensorRomSwitching), nullptr);
  EXPECT_EQ(FakeFeature::live, 0);
}

TEST_F(FactorySlotTest, FactoriesWorkOnAClosedObjectAndSlotsGoWithIt) {
  const LONG objects_before = com::ModuleLock::Count();
  ComPtr<IProfile> profile;
  ComPtr<IMacroHandling> macros;
  ComPtr<IUserAction> actions;
  ComPtr<IDefaultMode> mode;
  ASSERT_EQ(device_->CreateProfileInterface(profile.Put()), S_OK);
  ASSERT_EQ(device_->CreateMacroHandlingInterface(macros.Put()), S_OK);
  ASSERT_EQ(device_->CreateUserActionInterface(actions.Put()), S_OK);
  ASSERT_EQ(device_->CreateDefaultModeInterface(mode.Put()), S_OK);
  EXPECT_FALSE(device_->core().is_open());
  profile.Reset();
  macros.Reset();
  actions.Reset();
  mode.Reset();
  EXPECT_EQ(FakeFeature::live, 4);

  // A feature object of the module's kind: bound to its device type, with its event point.
  ComPtr<IBattery> battery;
  ASSERT_EQ(device_->CreateBatteryInterface(battery.Put()), S_OK);
  LONG power = 0;
  EXPECT_EQ(battery->GetRemaingPower(&power), E_FAIL);  // not open: no handler
  ComPtr<IConnectionPointContainer> container;
  ASSERT_EQ(battery->QueryInterface(IID_IConnectionPointContainer, container.PutVoid()), S_OK);
  ComPtr<IConnectionPoint> point;
  EXPECT_EQ(container->FindConnectionPoint(IID__IBatteryEvents, point.Put()), S_OK);
  point.Reset();
  container.Reset();
  battery.Reset();
  EXPECT_EQ(com::ModuleLock::Count(), objects_before + 1);  // the battery, kept by its slot

  device_.Reset();
  EXPECT_EQ(FakeFeature::live, 0);
  EXPECT_EQ(com::ModuleLock::Count(), objects_before - 1);  // the device type object went too
}

}  // namespace
}  // namespace quill::test
