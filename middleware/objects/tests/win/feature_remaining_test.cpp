// The small feature objects (IDefaultMode, IOTFS, ISensorRomSwitching, IButtonControl,
// IBattery, IWirelessDistance), the factories of the product table, and the connection point
// of every feature object.
#include <functional>
#include <string>
#include <vector>

#include "middleware/objects/tests/win/feature_fixture.h"
#include "middleware/objects/win/features/battery.h"
#include "middleware/objects/win/features/button_control.h"
#include "middleware/objects/win/features/default_mode.h"
#include "middleware/objects/win/features/dpi.h"
#include "middleware/objects/win/features/dpi_settings.h"
#include "middleware/objects/win/features/led_status.h"
#include "middleware/objects/win/features/otfs.h"
#include "middleware/objects/win/features/performance_settings.h"
#include "middleware/objects/win/features/sensor_rom_switching.h"
#include "middleware/objects/win/features/wireless_distance.h"

namespace quill::test {
namespace {

using com::ComPtr;
using namespace quill::server;

class RemainingFeatureTest : public FeatureTest {};

struct Call {
  const char* name;
  std::function<HRESULT()> run;
};
void ExpectAll(const std::vector<Call>& calls, HRESULT expected) {
  for (const Call& call : calls) EXPECT_EQ(call.run(), expected) << call.name;
}

// The object answers `iid` and is a container with exactly the point for `events`.
void ExpectFeature(IUnknown* object, REFIID iid, REFIID events, const char* name) {
  ASSERT_NE(object, nullptr) << name;
  ComPtr<IUnknown> answer;
  EXPECT_EQ(object->QueryInterface(iid, reinterpret_cast<void**>(answer.Put())), S_OK) << name;
  ComPtr<IConnectionPointContainer> container;
  ASSERT_EQ(object->QueryInterface(IID_IConnectionPointContainer,
                                   reinterpret_cast<void**>(container.Put())),
            S_OK)
      << name;
  ComPtr<IConnectionPoint> point;
  EXPECT_EQ(container->FindConnectionPoint(events, point.Put()), S_OK) << name;
  EXPECT_EQ(container->FindConnectionPoint(IID_IUnknown, point.Put()), CONNECT_E_NOCONNECTION)
      << name;
}

TEST_F(RemainingFeatureTest, FactoriesAndFeatureObjectsAnswerTheirInterfaces) {
  ComPtr<IDefaultMode> mode;
  ComPtr<IWirelessDistance> distance;
  ComPtr<IBattery> battery;
  ComPtr<IOTFS> otfs, otfs2;
  ComPtr<ISensorRomSwitching> rom;
  ComPtr<IPollingRate> rate;
  ASSERT_EQ(open_->CreateDefaultModeInterface(mode.Put()), S_OK);
  ASSERT_EQ(open_->CreateWirelessDistanceInterface(distance.Put()), S_OK);
  ASSERT_EQ(closed_->CreateBatteryInterface(battery.Put()), S_OK);  // open or not
  ASSERT_EQ(open_->CreateOTFSInterface(otfs.Put()), S_OK);
  ASSERT_EQ(open_->CreateOTFSInterface(otfs2.Put()), S_OK);
  EXPECT_NE(otfs.Get(), otfs2.Get());  // a new object per call
  ASSERT_EQ(open_->CreateSensorRomSwitchingInterface(rom.Put()), S_OK);
  ASSERT_EQ(open_->CreatePollingRateInterface(rate.Put()), S_OK);
  ExpectFeature(mode.Get(), __uuidof(IDefaultMode), __uuidof(_IDefaultModeEvents), "mode");
  ExpectFeature(distance.Get(), __uuidof(IWirelessDistance), __uuidof(_IWirelessDistanceEvents),
                "distance");
  ExpectFeature(battery.Get(), __uuidof(IBattery), __uuidof(_IBatteryEvents), "battery");
  ExpectFeature(otfs.Get(), __uuidof(IOTFS), __uuidof(_IOTFSEvents), "otfs");
  ExpectFeature(rom.Get(), __uuidof(ISensorRomSwitching), __uuidof(_ISensorRomSwitchingEvents),
                "rom");
  ExpectFeature(rate.Get(), __uuidof(IPollingRate), __uuidof(_IPollingRateEvents), "rate");
  ExpectFeature(Make<CDpi>()->Identity(), __uuidof(IDpi), __uuidof(_IDpiEvents), "dpi");
  ExpectFeature(Make<CLedStatus>()->Identity(), __uuidof(ILedStatus),
                __uuidof(_ILedStatusEvents), "led");
  ExpectFeature(Make<CDpiSettings>()->Identity(), __uuidof(IDpiSettings),
                __uuidof(_IDpiSettingsEvents), "settings");
  ExpectFeature(Make<CPerformanceSettings>()->Identity(), __uuidof(IPerformanceSettings),
                __uuidof(_IPerformanceSettingsEvents), "performance");
  ExpectFeature(Make<CButtonControl>()->Identity(), __uuidof(IButtonControl),
                __uuidof(_IButtonControlEvents), "buttons");
}

TEST_F(RemainingFeatureTest, OtfsKeepsOnlyZeroOrOne) {
  ComPtr<COTFS> otfs = Make<COTFS>();
  struct Case {
    LONG set, expected;
  };
  for (const Case& c : {Case{1, 1}, Case{2, 1}, Case{0, 0}, Case{-1, 0}, Case{1, 1}}) {
    EXPECT_EQ(otfs->SetStatus(c.set), S_OK);
    LONG status = -7;
    EXPECT_EQ(otfs->GetStatus(&status), S_OK);
    EXPECT_EQ(status, c.expected) << c.set;
  }
  LONG status = -7;
  EXPECT_EQ(Make<COTFS>()->GetStatus(&status), S_OK);
  EXPECT_EQ(status, 0);  // a new object starts from 0
  EXPECT_EQ(AllRequests(), 0);
}

TEST_F(RemainingFeatureTest, SensorRomStatusRoundTrips) {
  ComPtr<CSensorRomSwitching> rom = Make<CSensorRomSwitching>();
  for (LONG set : {1, 0, 0x102}) {
    ASSERT_EQ(rom->SetStatus(set), S_OK);
    LONG status = -1;
    ASSERT_EQ(rom->GetStatus(&status), S_OK);
    EXPECT_EQ(status, set & 0xFF);
  }
}

TEST_F(RemainingFeatureTest, ButtonFlagsLiveInTheObject) {
  ComPtr<CButtonControl> buttons = Make<CButtonControl>();
  EXPECT_EQ(buttons->RegisterButtonClickEvent(BUTTON_DEFINITION_DPI_UP), S_OK);
  EXPECT_EQ(buttons->RegisterButtonClickEvent(BUTTON_DEFINITION_OTFS), S_OK);
  EXPECT_EQ(buttons->UnregisterButtonClickEvent(BUTTON_DEFINITION_OTFS), S_OK);
  for (size_t b = 0; b < CButtonControl::kButtons; ++b) {
    EXPECT_EQ(buttons->Registered(b), b == BUTTON_DEFINITION_DPI_UP) << b;
  }
  for (auto bad : {BUTTON_DEFINITION_BUTTONCOUNT, BUTTON_DEFINITION_MASK,
                   BUTTON_DEFINITION_FLAG_MODIFIER}) {
    EXPECT_EQ(buttons->RegisterButtonClickEvent(bad), E_INVALIDARG) << bad;
  }
}

TEST_F(RemainingFeatureTest, StubsControlChannelAndDownloadMode) {
  ComPtr<CDefaultMode> mode = Make<CDefaultMode>();
  ComPtr<CBattery> battery = Make<CBattery>();
  ComPtr<CWirelessDistance> distance = Make<CWirelessDistance>();
  LONG value = 5;
  EXPECT_EQ(mode->Enable(), S_OK);
  EXPECT_EQ(mode->Disable(), S_OK);
  _TWirelessDistanceInfoType range{1, 2, 3, 4, 5, 6};
  ExpectAll({{"IsInDefaultMode", [&] { return mode->IsInDefaultMode(&value); }},
             {"GetRemaingPower", [&] { return battery->GetRemaingPower(&value); }},
             {"IsCharging", [&] { return battery->IsCharging(&value); }}},
            E_NOTIMPL);
  ExpectAll({{"SetAuto", [&] { return distance->SetAuto(1); }},
             {"GetRange", [&] { return distance->GetRange(&range); }}},
            E_HANDLE);
  EXPECT_EQ(range.bIsAuto, 1);
  EXPECT_EQ(range.lDefault, 6);  // untouched
  // Download mode belongs to another product: refused before any traffic.
  ExpectAll({{"EnableDownloadMode", [&] { return mode->EnableDownloadMode(); }},
             {"DisableDownloadMode", [&] { return mode->DisableDownloadMode(); }}},
            E_FAIL);
  EXPECT_EQ(AllRequests(), 0);
}

TEST_F(RemainingFeatureTest, TheWiredMouseRefusesTheDistanceReportOnItsReportId) {
  ComPtr<IWirelessDistance> distance;
  ASSERT_EQ(open_->CreateWirelessDistanceInterface(distance.Put()), S_OK);
  LONG value = 9;
  EXPECT_EQ(distance->Set(3), E_ABORT);
  EXPECT_EQ(distance->Get(&value), E_ABORT);
  EXPECT_EQ(value, 9);
  // Both reached the mouse as report 0x51 and were refused there; nothing else was sent.
  const std::string log = Ctl("log").output;
  size_t refused = 0;
  for (size_t at = log.find("report ID 81"); at != std::string::npos; at = log.find("report ID 81", at + 1))
    ++refused;
  EXPECT_GE(refused, 2u) << log;
  EXPECT_EQ(AllRequests(), static_cast<int>(refused)) << log;
}

TEST_F(RemainingFeatureTest, NullOutPointersAndMissingHandler) {
  ComPtr<CSensorRomSwitching> rom = Make<CSensorRomSwitching>();
  ComPtr<CWirelessDistance> distance = Make<CWirelessDistance>();
  ComPtr<COTFS> otfs = Make<COTFS>();
  ExpectAll({{"rom GetStatus", [&] { return rom->GetStatus(nullptr); }},
             {"GetRange", [&] { return distance->GetRange(nullptr); }},
             {"Get", [&] { return distance->Get(nullptr); }},
             {"otfs GetStatus", [&] { return otfs->GetStatus(nullptr); }}},
            E_POINTER);
  ComPtr<CSensorRomSwitching> closed_rom = Make<CSensorRomSwitching>(closed_.Get());
  ComPtr<CWirelessDistance> closed_distance = Make<CWirelessDistance>(closed_.Get());
  ComPtr<CDefaultMode> closed_mode = Make<CDefaultMode>(closed_.Get());
  LONG value = 0;
  _TWirelessDistanceInfoType range{};
  ExpectAll({{"rom SetStatus", [&] { return closed_rom->SetStatus(1); }},
             {"rom GetStatus", [&] { return closed_rom->GetStatus(&value); }},
             {"SetAuto", [&] { return closed_distance->SetAuto(1); }},
             {"GetRange", [&] { return closed_distance->GetRange(&range); }},
             {"Set", [&] { return closed_distance->Set(3); }},
             {"Get", [&] { return closed_distance->Get(&value); }},
             {"EnableDownloadMode", [&] { return closed_mode->EnableDownloadMode(); }}},
            E_FAIL);
  EXPECT_EQ(AllRequests(), 0);
}

}  // namespace
}  // namespace quill::test
