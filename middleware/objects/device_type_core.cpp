#include "middleware/objects/device_type_core.h"

#include <utility>

#include "middleware/transport/device_ids.h"

namespace quill {

DeviceTypeCore::DeviceTypeCore(HandlerMaker make_handler, const void* owner)
    : make_handler_(std::move(make_handler)), owner_(owner) {}

DeviceTypeCore::~DeviceTypeCore() { Close(); }

HResult DeviceTypeCore::Open(uint16_t pid) {
  if (open_) return kS_OK;
  pid_ = pid;
  std::unique_ptr<DriverHandler> handler = make_handler_ ? make_handler_() : nullptr;
  if (!handler) return kE_OUTOFMEMORY;
  handler->SetOwner(owner_);
  handler_ = std::move(handler);
  open_ = true;
  return handler_->Initialise(pid);
}

void DeviceTypeCore::Close() {
  if (!open_) return;
  if (handler_) handler_->Close();  // E_HANDLE: no control channel to close
  handler_.reset();
  open_ = false;
}

HResult DeviceTypeCore::ReadDeviceInformation(FeatureReport& reply) {
  if (!handler_) return kE_HANDLE;
  reply = BuildDeviceInfoRead();
  return handler_->GetFeatureRaw(reply, kFeatureReportSize, false);
}

HResult DeviceTypeCore::SerialNumber(std::u16string& text) {
  FeatureReport reply;
  const HResult hr = ReadDeviceInformation(reply);
  if (Failed(hr)) return hr;
  text = SerialNumberText(ParseDeviceInformation(reply));
  return kS_OK;
}

HResult DeviceTypeCore::FirmwareVersion(std::u16string& text) {
  FeatureReport reply;
  const HResult hr = ReadDeviceInformation(reply);
  if (Failed(hr)) return hr;
  const DeviceInformation info = ParseDeviceInformation(reply);
  text = FirmwareVersionText(info.firmware_major, info.firmware_minor);
  return kS_OK;
}

HResult DeviceTypeCore::HardwareId(std::u16string& text) const {
  if (!handler_) return kE_HANDLE;
  char16_t buffer[kHardwareIdCapacity] = {};
  const HResult hr = handler_->GetHardwareId(buffer, kHardwareIdCapacity);
  if (Failed(hr)) return hr;
  text = buffer;
  return kS_OK;
}

HResult DeviceTypeCore::IsConnected(int32_t& connected) {
  connected = 0;
  if (pid_ != QUILLFERN_PID) return kS_OK;
  FeatureReport reply;
  const HResult hr = ReadDeviceInformation(reply);
  if (Failed(hr)) return hr;
  connected = 1;
  return kS_OK;
}

HResult DeviceTypeCore::BusType(uint32_t& bus_type) {
  bus_type = 0;
  if (!handler_) return kE_HANDLE;
  return handler_->GetBusType(bus_type);
}

}  // namespace quill
