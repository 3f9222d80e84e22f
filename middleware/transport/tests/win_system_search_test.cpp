// The real SetupAPI search on this system: under Wine no Quillfern is present, only Wine's
// own virtual HID mouse, which the search examines and skips.
#include <gtest/gtest.h>
#include <windows.h>
#undef Yield

#include <cstdio>
#include <string>
#include <vector>

#include "middleware/transport/device_ids.h"
#include "middleware/transport/win/setupapi_hid_port.h"
#include "middleware/transport/win/system_transport.h"

namespace quill {
namespace {

constexpr uint16_t kWineVirtualMouseVendor = 0x845E;

class SystemSearch : public ::testing::Test {
 protected:
  void SetUp() override { SetEnvironmentVariableW(kEmulatorVariable, nullptr); }
};

TEST_F(SystemSearch, WithoutEmulatorTheSetupApiPortIsUsed) {
  std::unique_ptr<HidPort> port = CreateSystemHidPort();
  EXPECT_NE(dynamic_cast<win::SetupApiHidPort*>(port.get()), nullptr);
  EXPECT_TRUE(EmulatorPipeName().empty());
  SetEnvironmentVariableW(kEmulatorVariable, L"");
  port = CreateSystemHidPort();
  EXPECT_NE(dynamic_cast<win::SetupApiHidPort*>(port.get()), nullptr);
}

TEST_F(SystemSearch, NoQuillfernPresentExaminesWinesMouseAndEndsWithNoMoreItems) {
  std::unique_ptr<DriverHandler> handler = CreateSystemDriverHandler();
  std::vector<std::string> traces;
  handler->SetTraceHook([&](std::string_view m) { traces.emplace_back(m); });

  EXPECT_EQ(handler->Initialise(QUILLFERN_PID), static_cast<HResult>(0x80070103));
  EXPECT_TRUE(handler->device_path().empty());

  char wine_mouse[64];
  std::snprintf(wine_mouse, sizeof wine_mouse, "Vendor ID = %x, ",
                static_cast<unsigned>(kWineVirtualMouseVendor));
  bool examined = false;
  for (const std::string& t : traces) examined |= t.rfind(wine_mouse, 0) == 0;
  EXPECT_TRUE(examined) << "the search never read the attributes of Wine's virtual mouse";
  EXPECT_EQ(traces.back(), "GetDeviceInterfaceDetail: SetupDiEnumDeviceInterfaces Failed!!\n");
  for (const std::string& t : traces) EXPECT_NE(t, "GetFirmware Success\n");
}

TEST_F(SystemSearch, PortListsMouseInterfacesWithTheirPaths) {
  win::SetupApiHidPort port;
  ASSERT_TRUE(port.BeginEnumeration());
  std::u16string path;
  uint32_t count = 0;
  while (port.LookupInterface(count, path).found) {
    EXPECT_FALSE(path.empty());
    ++count;
  }
  const InterfaceLookup end = port.LookupInterface(count, path);
  EXPECT_EQ(end.error, kErrorNoMoreItems);
  EXPECT_EQ(end.failed_step, InterfaceStep::kEnumerate);
  port.EndEnumeration();
  EXPECT_GE(count, 1u);
  EXPECT_EQ(port.Open(u""), nullptr);
  EXPECT_EQ(port.Open(u"\\\\?\\hid#no_such_device#0"), nullptr);
}

}  // namespace
}  // namespace quill
