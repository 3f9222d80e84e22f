// The device monitor (F20 hook, timers, monitor window) and the device-event chain from the
// emulated mouse's DPI button to OnMeridexEvent. The tests pump this thread's messages, as a
// client thread with IMeridex objects must.
#include <windows.h>

#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "middleware/objects/tests/win/feature_fixture.h"
#include "middleware/objects/win/features/device_monitor.h"
#include "middleware/objects/win/features/dpi.h"
#include "middleware/objects/win/features/meridex.h"
#include "middleware/objects/win/feature_slots.h"
#include "middleware/objects/win/system_driver_handler.h"
#include "middleware/transport/device_ids.h"

namespace quill::test {
namespace {

using com::ComPtr;
using server::DeviceMonitorWindow;

// Pumps messages until `done` or `ms` have passed.
void Pump(DWORD ms, const std::function<bool()>& done = [] { return false; }) {
  const ULONGLONG end = GetTickCount64() + ms;
  while (GetTickCount64() < end && !done()) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
  }
}

void SendKey(WORD vk, bool up) {
  INPUT input{};
  input.type = INPUT_KEYBOARD;
  input.ki.wVk = vk;
  input.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  ASSERT_EQ(SendInput(1, &input, sizeof input), 1u);
}

class TestListener final : public server::DeviceEventListener {
 public:
  TestListener(int id, std::vector<int>& calls) : id_(id), calls_(calls) {}
  void ListenerAddRef() override { ++references; }
  void ListenerRelease() override { --references; }
  void OnDeviceEvent() override {
    calls_.push_back(id_);
    held_while_called = held_while_called && references > 0;
  }
  int references = 0;
  bool held_while_called = true;

 private:
  int id_;
  std::vector<int>& calls_;
};

class MeridexSink : public CountingSink<_IMeridexEvents> {
 public:
  MeridexSink(int id, std::vector<int>& order) : id_(id), order_(order) {}
  STDMETHODIMP OnMeridexEvent(_TMeridexInfoType* info) override {
    events.push_back(*info);
    order_.push_back(id_);
    return S_OK;
  }
  std::vector<_TMeridexInfoType> events;

 private:
  int id_;
  std::vector<int>& order_;
};

class MonitorTest : public FeatureTest {
 protected:
  emu::EmulatorOptions MouseOptions() const override {
    emu::EmulatorOptions options;
    options.keystrokes = true;  // the mouse's buttons send F20
    return options;
  }
  // `meridex`'s events into `sink`; the cookie.
  DWORD Advise(IMeridex* meridex, IUnknown* sink) {
    ComPtr<IConnectionPointContainer> container;
    EXPECT_EQ(meridex->QueryInterface(IID_IConnectionPointContainer,
                                      reinterpret_cast<void**>(container.Put())),
              S_OK);
    ComPtr<IConnectionPoint> point;
    EXPECT_EQ(container->FindConnectionPoint(__uuidof(_IMeridexEvents), point.Put()), S_OK);
    DWORD cookie = 0;
    EXPECT_EQ(point->Advise(sink, &cookie), S_OK);
    return cookie;
  }
};

TEST_F(MonitorTest, F20KeyDownCallsEveryListenerInOrderAndNothingElseDoes) {
  std::vector<int> calls;
  TestListener first(1, calls), second(2, calls);
  ASSERT_EQ(DeviceMonitorWindow(), nullptr);
  ASSERT_EQ(server::RegisterDeviceListener(&first), S_OK);
  ASSERT_EQ(server::RegisterDeviceListener(&second), S_OK);
  ASSERT_NE(DeviceMonitorWindow(), nullptr);

  SendKey(VK_F20, false);
  Pump(10000, [&] { return calls.size() >= 2; });
  Pump(100);  // and no second event for one press
  EXPECT_EQ(calls, (std::vector<int>{1, 2}));
  EXPECT_TRUE(first.held_while_called && second.held_while_called);
  EXPECT_EQ(first.references, 0);
  EXPECT_EQ(second.references, 0);

  calls.clear();
  SendKey(VK_F20, true);  // key-up
  SendKey(VK_F19, false);
  SendKey(VK_F19, true);
  EXPECT_EQ(SendMessageW(DeviceMonitorWindow(), WM_USER, 0, 0), 0);
  EXPECT_EQ(SendMessageW(DeviceMonitorWindow(), WM_USER + 1, 0, 0), 0);
  Pump(200);
  EXPECT_TRUE(calls.empty());

  ASSERT_EQ(server::UnregisterDeviceListener(&first), S_OK);
  SendKey(VK_F20, false);
  Pump(10000, [&] { return !calls.empty(); });
  EXPECT_EQ(calls, std::vector<int>{2});
  SendKey(VK_F20, true);

  ASSERT_EQ(server::UnregisterDeviceListener(&second), S_OK);
  EXPECT_EQ(DeviceMonitorWindow(), nullptr);  // the last one ends the monitor and its hook
  EXPECT_EQ(server::UnregisterDeviceListener(&second), E_FAIL);
  calls.clear();
  SendKey(VK_F20, false);
  SendKey(VK_F20, true);
  Pump(200);
  EXPECT_TRUE(calls.empty());
}

TEST_F(MonitorTest, DpiButtonReachesTheSinksOfEveryMeridexObjectInCreationOrder) {
  ComPtr<server::CDeviceType> other = com::MakeComObject<server::CDeviceType>(
      &server::MakeSystemDriverHandler, server::ProductFeatureMakers());
  ASSERT_TRUE(other);
  ASSERT_EQ(other->OpenDeviceInterface(QUILLFERN_PID), S_OK);
  ComPtr<IMeridex> first, second;
  ASSERT_EQ(open_->CreateMeridexInterface(first.Put()), S_OK);
  ASSERT_EQ(other->CreateMeridexInterface(second.Put()), S_OK);
  EXPECT_EQ(static_cast<server::CMeridex*>(first.Get())->registration(), S_OK);
  std::vector<int> order;
  MeridexSink& sink1 = MakeSink<MeridexSink>(1, order);
  MeridexSink& sink2 = MakeSink<MeridexSink>(2, order);
  Advise(first.Get(), &sink1);
  Advise(second.Get(), &sink2);
  // Profile 1 (active) at stage 1 of three, so that DPI-up changes the DPI.
  _stDpiStageType stages{};
  stages.ulTotalStages = 3;
  stages.lDefaultStage = 1;
  stages.lCurrentStage = 1;
  stages.Sensitivity[0] = {400, 400};
  stages.Sensitivity[1] = {800, 900};
  stages.Sensitivity[2] = {1600, 1600};
  ASSERT_EQ(Make<server::CDpi>(nullptr, 1)->SetDpiStages(0, &stages), S_OK);
  for (IMeridex* m : {first.Get(), second.Get()}) {
    ComPtr<IMeridexDpiTable> table;
    ASSERT_EQ(m->QueryInterface(__uuidof(IMeridexDpiTable), reinterpret_cast<void**>(table.Put())),
              S_OK);
    EXPECT_EQ(table->LoadDpiTable(), E_FAIL);  // fewer than five profiles; the table is loaded
  }

  // Pressed from another thread: the key reaches the hook only while this thread pumps.
  emu::EmulatorProcess::CtlResult pressed;
  std::thread presser([&] { pressed = Ctl("press dpi-up"); });
  Pump(15000, [&] { return order.size() >= 2; });
  presser.join();
  ASSERT_EQ(pressed.exit_code, 0) << pressed.output;
  ASSERT_EQ(order, (std::vector<int>{1, 2}));
  _stSensitivityType now{};
  ASSERT_EQ(Make<server::CDpi>()->GetDpiLevel(&now), S_OK);
  EXPECT_EQ(now.ulXSensitivity, 800u);
  EXPECT_EQ(now.ulYSensitivity, 900u);
  for (MeridexSink* sink : {&sink1, &sink2}) {
    ASSERT_EQ(sink->events.size(), 1u);
    EXPECT_EQ(sink->events[0].ValidFields, 1);
    EXPECT_EQ(sink->events[0].DpiX, static_cast<LONG>(now.ulXSensitivity));
    EXPECT_EQ(sink->events[0].DpiY, static_cast<LONG>(now.ulYSensitivity));
    EXPECT_EQ(sink->events[0].ActiveProfile, 0);
  }

  // F20 again without a change on the mouse: nothing to report.
  SendKey(VK_F20, false);
  SendKey(VK_F20, true);
  Pump(300);
  EXPECT_EQ(order.size(), 2u);

  first.Reset();
  second.Reset();
  EXPECT_NE(DeviceMonitorWindow(), nullptr);  // the device types still hold their objects
  open_.Reset();
  other.Reset();
  EXPECT_EQ(DeviceMonitorWindow(), nullptr);
}

}  // namespace
}  // namespace quill::test
