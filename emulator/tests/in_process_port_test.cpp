// The in-process HidPort: enumeration order, foreign interfaces and their counters, clients.
#include <gtest/gtest.h>

#include "emulator/hid_exchange.h"
#include "emulator/in_process_port.h"
#include "emulator/tests/report_helpers.h"
#include "middleware/transport/device_ids.h"
#include "middleware/typelib/hresult_codes.h"

namespace quill::emu {
namespace {

std::vector<std::u16string> Enumerate(InProcessPort& port) {
  const std::vector<std::u16string> paths = ListInterfaces(port);
  std::u16string path;
  EXPECT_TRUE(port.BeginEnumeration());
  EXPECT_EQ(port.InterfaceAt(static_cast<uint32_t>(paths.size()), path), kErrorNoMoreItems);
  port.EndEnumeration();
  return paths;
}

bool Exchange(HidDevice& device, const FeatureReport& request, FeatureReport& reply) {
  return ExchangeReport(device, request, reply);
}

TEST(InProcessPortTest, EnumeratesForeignInterfacesAroundTheMouse) {
  QuillfernModel model;
  InProcessPort port(model);
  const std::u16string wine = port.AddWineVirtualMouse();
  const std::u16string other = port.AddOtherProduct(ALTERNATE_PID, false);
  EXPECT_EQ(Enumerate(port), (std::vector<std::u16string>{wine, model.DevicePath(), other}));

  port.SetMouseListed(false);
  EXPECT_EQ(Enumerate(port), (std::vector<std::u16string>{wine, other}));
  port.SetEnumerationFails(true);
  EXPECT_FALSE(port.BeginEnumeration());
}

TEST(InProcessPortTest, ForeignInterfacesAnswerAttributesButNoFeatureReports) {
  QuillfernModel model;
  InProcessPort port(model);
  const std::u16string wine = port.AddWineVirtualMouse();
  const std::u16string locked = port.AddUnopenableInterface();
  const std::u16string no_attr = port.AddNoAttributesInterface();

  auto device = port.Open(wine);
  ASSERT_TRUE(device);
  HidAttributes attributes;
  ASSERT_TRUE(device->GetAttributes(attributes));
  EXPECT_EQ(attributes.vendor_id, kWineVirtualMouseVendor);
  FeatureReport reply{};
  EXPECT_FALSE(Exchange(*device, test::Read(kCmdDeviceInfo, 1), reply));
  EXPECT_EQ(port.Counters(wine).set_features, 2u) << "the request and the reset report";
  EXPECT_EQ(port.Counters(wine).get_features, 0u);

  EXPECT_FALSE(port.Open(locked));
  EXPECT_EQ(port.Counters(locked).failed_opens, 1u);
  auto no_attr_device = port.Open(no_attr);
  ASSERT_TRUE(no_attr_device);
  EXPECT_FALSE(no_attr_device->GetAttributes(attributes));

  const InterfaceCounters foreign = port.ForeignCounters();
  EXPECT_EQ(foreign.opens, 3u);
  EXPECT_EQ(foreign.attribute_reads, 2u);
  EXPECT_EQ(foreign.FeatureReports(), 2u);
  EXPECT_TRUE(model.LogEntries().empty()) << "nothing reached the mouse";
  EXPECT_EQ(port.OpenHandles(), 2u);
  device.reset();
  no_attr_device.reset();
  EXPECT_EQ(port.OpenHandles(), 0u);
  port.ResetCounters();
  EXPECT_EQ(port.ForeignCounters().opens, 0u);
}

TEST(InProcessPortTest, TheMouseAnswersThroughAnyLengthOfPath) {
  QuillfernModel model;
  InProcessPort port(model, 42);
  port.SetMousePathLength(180);
  const std::vector<std::u16string> listed = Enumerate(port);
  ASSERT_EQ(listed.size(), 1u);
  EXPECT_EQ(listed[0].size(), 180u);
  auto device = port.Open(listed[0]);
  ASSERT_TRUE(device);
  HidAttributes attributes;
  ASSERT_TRUE(device->GetAttributes(attributes));
  EXPECT_EQ(attributes.vendor_id, VENDOR_ID);
  EXPECT_EQ(attributes.product_id, QUILLFERN_PID);
  FeatureReport reply{};
  ASSERT_TRUE(Exchange(*device, test::Read(kCmdDeviceInfo, 1), reply));
  EXPECT_EQ(reply[kStatus], kStatusDone);
  EXPECT_EQ(port.Counters(listed[0]).set_features, 2u);
  EXPECT_EQ(port.Counters(listed[0]).get_features, 1u);
  EXPECT_EQ(model.LogEntries().front().client, 42u);
}

TEST(InProcessPortTest, UnplugAndReplugUnderANewPath) {
  QuillfernModel model;
  InProcessPort port(model);
  const std::u16string first = port.MousePath();
  auto device = port.Open(first);
  ASSERT_TRUE(device);
  port.Unplug();
  FeatureReport reply{};
  EXPECT_FALSE(Exchange(*device, test::Read(kCmdPerformance), reply));
  HidAttributes attributes;
  EXPECT_FALSE(device->GetAttributes(attributes));
  EXPECT_EQ(Enumerate(port), (std::vector<std::u16string>{first})) << "not-present interfaces are listed";
  EXPECT_FALSE(port.Open(first));

  port.Replug(true);
  const std::u16string second = port.MousePath();
  EXPECT_EQ(Enumerate(port), (std::vector<std::u16string>{first, second}));
  EXPECT_FALSE(port.Open(first));
  auto fresh = port.Open(second);
  ASSERT_TRUE(fresh);
  EXPECT_TRUE(Exchange(*fresh, test::Read(kCmdPerformance), reply));
  EXPECT_EQ(port.ForeignCounters().opens, 0u) << "old mouse paths are not foreign";
}

TEST(InProcessPortTest, PortsOnOneModelAreSeparateClients) {
  QuillfernModel model;
  InProcessPort tray(model, 1), config(model, 2);
  auto a = tray.Open(tray.MousePath());
  auto b = config.Open(config.MousePath());
  ASSERT_TRUE(a && b);
  const FeatureReport request = test::Read(kCmdPerformance);
  ASSERT_TRUE(a->SetFeature(request.data(), request.size()));
  ASSERT_TRUE(b->SetFeature(request.data(), request.size()));
  const auto found = model.Interleavings();
  ASSERT_EQ(found.size(), 1u);
  EXPECT_EQ(found[0].owner, 1u);
  EXPECT_EQ(found[0].intruder, 2u);
  config.SetClientId(7);
  EXPECT_EQ(config.ClientId(), 7u);
}

}  // namespace
}  // namespace quill::emu
