#include "emulator/hid_exchange.h"

#include "emulator/quillfern_model.h"

namespace quill::emu {

std::vector<std::u16string> ListInterfaces(HidPort& port) {
  std::vector<std::u16string> paths;
  if (!port.BeginEnumeration()) return paths;
  std::u16string path;
  for (uint32_t i = 0; port.InterfaceAt(i, path) == 0; ++i) paths.push_back(path);
  port.EndEnumeration();
  return paths;
}

bool ExchangeReport(HidDevice& device, const FeatureReport& request, FeatureReport& reply, unsigned max_polls) {
  bool ok = device.SetFeature(request.data(), request.size());
  for (unsigned poll = 0; ok && poll < max_polls; ++poll) {
    ok = device.GetFeature(reply.data(), reply.size());
    if (reply[kStatus] != kStatusBusy0 && reply[kStatus] != kStatusBusy1) break;
  }
  const FeatureReport reset = MakeResetReport();
  return device.SetFeature(reset.data(), reset.size()) && ok;
}

}  // namespace quill::emu
