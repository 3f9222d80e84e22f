// IPollingRate, IDpi, ILedStatus, IDpiSettings and IPerformanceSettings against the emulated
// mouse and the Windows mouse settings of the test prefix.
#include <windows.h>

#include <array>
#include <functional>
#include <string>
#include <vector>

#include "middleware/objects/tests/win/feature_fixture.h"
#include "middleware/objects/win/features/dpi.h"
#include "middleware/objects/win/features/dpi_settings.h"
#include "middleware/objects/win/features/led_status.h"
#include "middleware/objects/win/features/performance_settings.h"
#include "middleware/objects/win/features/polling_rate.h"

namespace quill::test {
namespace {

using com::ComPtr;
using server::CDpi;
using server::CDpiSettings;
using server::CLedStatus;
using server::CPerformanceSettings;
using server::CPollingRate;

struct Call {
  const char* name;
  std::function<HRESULT()> run;
};

// Each call must give `expected`.
void ExpectAll(const std::vector<Call>& calls, HRESULT expected) {
  for (const Call& call : calls) EXPECT_EQ(call.run(), expected) << call.name;
}

class PerformanceFeatureTest : public FeatureTest {};

TEST_F(PerformanceFeatureTest, PollingRateRoundTripsAndRejectsOtherRates) {
  ComPtr<IPollingRate> rate;
  ASSERT_EQ(open_->CreatePollingRateInterface(rate.Put()), S_OK);  // the product's maker
  for (LONG hz : {125, 1000, 500}) {
    ASSERT_EQ(rate->SetRate(hz), S_OK) << hz;
    LONG read = 0;
    EXPECT_EQ(rate->GetRate(&read), S_OK);
    EXPECT_EQ(read, hz);
  }
  ClearLog();
  EXPECT_EQ(rate->SetRate(250), E_INVALIDARG);
  EXPECT_EQ(AllRequests(), 0);  // checked before any traffic
  LONG read = 0;
  EXPECT_EQ(rate->GetRate(&read), S_OK);
  EXPECT_EQ(read, 500);
}

TEST_F(PerformanceFeatureTest, RateListIsACallersBlockInFixedOrder) {
  ComPtr<CPollingRate> rate = Make<CPollingRate>(closed_.Get());  // no device needed
  LONG count = 0;
  LONG* rates = nullptr;
  ASSERT_EQ(rate->GetRateList(&count, &rates), S_OK);
  ASSERT_EQ(count, 3);
  EXPECT_EQ(std::vector<LONG>(rates, rates + 3), (std::vector<LONG>{1000, 500, 125}));
  EXPECT_EQ(AllocationSize(rates), 3 * sizeof(LONG));
  CoTaskMemFree(rates);
  SAFEARRAY* managed = reinterpret_cast<SAFEARRAY*>(1);
  EXPECT_EQ(rate->GetRateListManaged(&count, &managed), E_FAIL);
  EXPECT_EQ(managed, nullptr);
}

TEST_F(PerformanceFeatureTest, DpiLevelAndStagesRoundTrip) {
  ComPtr<CDpi> dpi = Make<CDpi>();
  ASSERT_EQ(dpi->SetDpiLevel({800, 1600}), S_OK);
  _stSensitivityType level{};
  ASSERT_EQ(dpi->GetDpiLevel(&level), S_OK);
  EXPECT_EQ(level.ulXSensitivity, 800u);
  EXPECT_EQ(level.ulYSensitivity, 1600u);

  _stDpiStageType stages{};
  stages.ulTotalStages = 3;
  stages.lDefaultStage = 2;
  stages.lCurrentStage = 3;
  const std::array<ULONG, 3> values = {400, 1200, 3200};
  for (size_t i = 0; i < values.size(); ++i) stages.Sensitivity[i] = {values[i], values[i] + 100};
  ComPtr<CDpi> profile1 = Make<CDpi>(nullptr, 1);  // the active profile of a new mouse
  ASSERT_EQ(profile1->SetDpiStages(0, &stages), S_OK);

  ULONG size = 0;
  _stDpiStageType* read = nullptr;
  ASSERT_EQ(profile1->GetDpiStages(&size, &read), S_OK);
  ASSERT_NE(read, nullptr);
  EXPECT_EQ(size, 100u);
  EXPECT_EQ(AllocationSize(read), 100u);
  EXPECT_EQ(read->ulTotalStages, 3u);
  EXPECT_EQ(read->lDefaultStage, 2);
  EXPECT_EQ(read->lCurrentStage, 3);
  for (size_t i = 0; i < values.size(); ++i) {
    EXPECT_EQ(read->Sensitivity[i].ulXSensitivity, values[i]) << i;
    EXPECT_EQ(read->Sensitivity[i].ulYSensitivity, values[i] + 100) << i;
  }
  CoTaskMemFree(read);
  // The active profile's current stage took the stage's DPI.
  ASSERT_EQ(dpi->GetDpiLevel(&level), S_OK);
  EXPECT_EQ(level.ulXSensitivity, 3200u);
  // Stages written to profile 2 leave the current DPI alone.
  stages.Sensitivity[2] = {6400, 6400};
  ASSERT_EQ(Make<CDpi>(nullptr, 2)->SetDpiStages(0, &stages), S_OK);
  ASSERT_EQ(dpi->GetDpiLevel(&level), S_OK);
  EXPECT_EQ(level.ulXSensitivity, 3200u);

  ClearLog();
  stages.ulTotalStages = 6;
  EXPECT_EQ(dpi->SetDpiStages(0, &stages), E_INVALIDARG);
  EXPECT_EQ(AllRequests(), 0);
}

TEST_F(PerformanceFeatureTest, LedBitsOfTheActiveProfile) {
  ComPtr<CLedStatus> led = Make<CLedStatus>();
  for (LONG bits : {5, 0, 0x107}) {
    ASSERT_EQ(led->SetStatus(bits), S_OK);
    LONG read = -1;
    ASSERT_EQ(led->GetStatus(&read), S_OK);
    EXPECT_EQ(read, bits & 0xFF);  // the low byte only
  }
}

TEST_F(PerformanceFeatureTest, NullOutPointersAndMissingHandler) {
  ComPtr<CPollingRate> rate = Make<CPollingRate>();
  ComPtr<CDpi> dpi = Make<CDpi>();
  ComPtr<CLedStatus> led = Make<CLedStatus>();
  ComPtr<CDpiSettings> settings = Make<CDpiSettings>();
  ComPtr<CPerformanceSettings> performance = Make<CPerformanceSettings>();
  ULONG size = 0;
  _stDpiStageType* stages = nullptr;
  LONG value = 0;
  LONG* list = nullptr;
  ExpectAll({{"GetRate", [&] { return rate->GetRate(nullptr); }},
             {"GetRateList", [&] { return rate->GetRateList(nullptr, &list); }},
             {"GetDpiLevel", [&] { return dpi->GetDpiLevel(nullptr); }},
             {"GetDpiStages size", [&] { return dpi->GetDpiStages(nullptr, &stages); }},
             {"GetDpiStages record", [&] { return dpi->GetDpiStages(&size, nullptr); }},
             {"SetDpiStages", [&] { return dpi->SetDpiStages(0, nullptr); }},
             {"GetStatus", [&] { return led->GetStatus(nullptr); }},
             {"GetSettings", [&] { return settings->GetSettings(nullptr); }},
             {"GetLevelList", [&] { return settings->GetLevelList(&value, nullptr); }},
             {"SetLevelList", [&] { return settings->SetLevelList(2, nullptr); }},
             {"GetWindowsPointerSpeed", [&] { return performance->GetWindowsPointerSpeed(nullptr); }},
             {"GetAcceleration", [&] { return performance->GetAcceleration(nullptr); }},
             {"GetAccelerationStatus", [&] { return performance->GetAccelerationStatus(nullptr); }}},
            E_POINTER);
  EXPECT_EQ(AllRequests(), 0);

  ComPtr<CPollingRate> closed_rate = Make<CPollingRate>(closed_.Get());
  ComPtr<CDpi> closed_dpi = Make<CDpi>(closed_.Get(), 2);
  ComPtr<CLedStatus> closed_led = Make<CLedStatus>(closed_.Get());
  ComPtr<CDpiSettings> closed_settings = Make<CDpiSettings>(closed_.Get());
  _stSensitivityType level{};
  _stDpiStageType record{};
  ExpectAll({{"SetRate", [&] { return closed_rate->SetRate(1000); }},
             {"GetRate", [&] { return closed_rate->GetRate(&value); }},
             {"GetDpiLevel", [&] { return closed_dpi->GetDpiLevel(&level); }},
             {"SetDpiLevel", [&] { return closed_dpi->SetDpiLevel({800, 800}); }},
             {"GetDpiStages", [&] { return closed_dpi->GetDpiStages(&size, &stages); }},
             {"SetDpiStages", [&] { return closed_dpi->SetDpiStages(0, &record); }},
             {"SetStatus", [&] { return closed_led->SetStatus(1); }},
             {"GetStatus", [&] { return closed_led->GetStatus(&value); }},
             {"SetSettings", [&] { return closed_settings->SetSettings(1); }}},
            E_FAIL);
  EXPECT_EQ(stages, nullptr);
  EXPECT_EQ(AllRequests(), 0);
}

TEST_F(PerformanceFeatureTest, DpiSettingsGoThroughTheClosedControlChannel) {
  ComPtr<CDpiSettings> settings = Make<CDpiSettings>();
  LONG value = 77;
  LONG count = 9;
  LONG* list = reinterpret_cast<LONG*>(1);
  SAFEARRAY* managed = reinterpret_cast<SAFEARRAY*>(1);
  ExpectAll({{"SetSettings", [&] { return settings->SetSettings(3); }},
             {"GetSettings", [&] { return settings->GetSettings(&value); }},
             {"GetLevelList", [&] { return settings->GetLevelList(&count, &list); }},
             {"GetLevelListManaged", [&] { return settings->GetLevelListManaged(&count, &managed); }}},
            E_HANDLE);
  EXPECT_EQ(value, 77);  // untouched
  EXPECT_EQ(count, 0);
  EXPECT_EQ(list, nullptr);
  EXPECT_EQ(managed, nullptr);
  LONG levels[] = {800, 1600};
  EXPECT_EQ(settings->SetLevelList(2, levels), S_OK);
  EXPECT_EQ(settings->SetLevelList(-1, levels), E_INVALIDARG);
  EXPECT_EQ(settings->SetLevelList(256, levels), E_INVALIDARG);  // beyond the 1024-byte table
  EXPECT_EQ(AllRequests(), 0);
}

// The Windows mouse triple and speed, restored afterwards.
class PointerSettingsTest : public PerformanceFeatureTest {
 protected:
  void SetUp() override {
    PerformanceFeatureTest::SetUp();
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETMOUSE, 0, saved_triple_.data(), 0));
    ASSERT_TRUE(SystemParametersInfoW(SPI_GETMOUSESPEED, 0, &saved_speed_, 0));
    settings_ = Make<CPerformanceSettings>();
  }
  void TearDown() override {
    SystemParametersInfoW(SPI_SETMOUSE, 0, saved_triple_.data(), 0);
    SystemParametersInfoW(SPI_SETMOUSESPEED, saved_speed_,
                          reinterpret_cast<void*>(static_cast<uintptr_t>(saved_speed_)), 0);
    settings_.Reset();
    PerformanceFeatureTest::TearDown();
  }
  static std::array<int, 3> Triple() {
    std::array<int, 3> triple{};
    SystemParametersInfoW(SPI_GETMOUSE, 0, triple.data(), 0);
    return triple;
  }

  std::array<int, 3> saved_triple_{};
  int saved_speed_ = 0;
  ComPtr<CPerformanceSettings> settings_;
};

TEST_F(PointerSettingsTest, AccelerationLevelsAsMouseTriples) {
  struct Case {
    LONG level;
    std::array<int, 3> triple;
    HRESULT read_result;
    LONG read_level;
  };
  for (const Case& c : {Case{3, {6, 0, 1}, S_OK, 3}, Case{8, {2, 8, 2}, S_OK, 8},
                        Case{1, {10, 0, 1}, S_OK, 1}, Case{10, {2, 4, 2}, S_OK, 10},
                        Case{0, {0, 0, 1}, E_ACCESSDENIED, -1}}) {
    ASSERT_EQ(settings_->SetAcceleration(c.level), S_OK) << c.level;
    EXPECT_EQ(Triple(), c.triple) << c.level;
    LONG level = -1;
    EXPECT_EQ(settings_->GetAcceleration(&level), c.read_result) << c.level;
    EXPECT_EQ(level, c.read_level) << c.level;
  }
  EXPECT_EQ(settings_->SetAcceleration(11), E_INVALIDARG);
  EXPECT_EQ(settings_->SetAcceleration(-1), E_INVALIDARG);
}

TEST_F(PointerSettingsTest, AccelerationSwitchAndPointerSpeed) {
  ASSERT_EQ(settings_->SetAcceleration(8), S_OK);  // threshold 2 set
  LONG status = -1;
  ASSERT_EQ(settings_->SetAccelerationControl(0), S_OK);
  EXPECT_EQ(Triple()[2], 0);
  EXPECT_EQ(settings_->GetAccelerationStatus(&status), S_OK);
  EXPECT_EQ(status, 0);
  ASSERT_EQ(settings_->SetAccelerationControl(1), S_OK);
  EXPECT_EQ(Triple()[2], 2);
  ASSERT_EQ(settings_->SetAcceleration(2), S_OK);  // threshold 2 clear
  ASSERT_EQ(settings_->SetAccelerationControl(0), S_OK);
  ASSERT_EQ(settings_->SetAccelerationControl(5), S_OK);
  EXPECT_EQ(Triple()[2], 1);
  EXPECT_EQ(settings_->GetAccelerationStatus(&status), S_OK);
  EXPECT_EQ(status, 1);

  for (LONG speed : {7, 20, 1}) {
    ASSERT_EQ(settings_->SetWindowsPointerSpeed(speed), S_OK) << speed;
    LONG read = 0;
    EXPECT_EQ(settings_->GetWindowsPointerSpeed(&read), S_OK);
    EXPECT_EQ(read, speed);
  }
  EXPECT_EQ(settings_->SetWindowsPointerSpeed(21), E_INVALIDARG);
  EXPECT_EQ(settings_->SetWindowsPointerSpeed(-1), E_INVALIDARG);
}

TEST_F(PointerSettingsTest, MouseSettingsMethodsAreNotProvided) {
  CPerformanceSettings& s = *settings_.Get();
  LONG a = 0, b = 0;
  ExpectAll({{"SetSensitivity", [&] { return s.SetSensitivity(1); }},
             {"GetSensitivity", [&] { return s.GetSensitivity(&a); }},
             {"SetXYMasterSensitivityControl", [&] { return s.SetXYMasterSensitivityControl(1); }},
             {"GetXYMasterSensitivityStatus", [&] { return s.GetXYMasterSensitivityStatus(&a); }},
             {"SetXYSensitivity", [&] { return s.SetXYSensitivity(1, 2); }},
             {"GetXYSensitivity", [&] { return s.GetXYSensitivity(&a, &b); }},
             {"SetUniversalScrollControl", [&] { return s.SetUniversalScrollControl(1); }},
             {"GetUniversalScrollStatus", [&] { return s.GetUniversalScrollStatus(&a); }},
             {"SetScrollSpeed", [&] { return s.SetScrollSpeed(1); }},
             {"GetScrollSpeed", [&] { return s.GetScrollSpeed(&a); }},
             {"SetOnTheFlySensitivityShowOnScreenControl",
              [&] { return s.SetOnTheFlySensitivityShowOnScreenControl(1); }},
             {"GetOnTheFlySensitivityShowOnScreenStatus",
              [&] { return s.GetOnTheFlySensitivityShowOnScreenStatus(&a); }},
             {"SetDoubleClickSpeed", [&] { return s.SetDoubleClickSpeed(1); }},
             {"GetDoubleClickSpeed", [&] { return s.GetDoubleClickSpeed(&a); }},
             {"SetAutoSwitchControl", [&] { return s.SetAutoSwitchControl(1); }},
             {"GetAutoSwitchStatus", [&] { return s.GetAutoSwitchStatus(&a); }},
             {"SetOnScreenDisplayControl", [&] { return s.SetOnScreenDisplayControl(1); }},
             {"GetOnScreenDisplayStatus", [&] { return s.GetOnScreenDisplayStatus(&a); }}},
            E_NOTIMPL);
}

}  // namespace
}  // namespace quill::test
