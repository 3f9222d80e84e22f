// The device side of a device type object: the DriverHandler it owns while open, the product ID
// it was opened with, and the device-information requests. The COM object (win/device_type.h)
// adapts this to IDeviceType; feature objects reach the handler and the product ID through it.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "middleware/objects/device_info_text.h"
#include "middleware/transport/driver_handler.h"
#include "middleware/typelib/hresult_codes.h"

namespace quill {

class DeviceTypeCore {
 public:
  // Makes the handler of one opening (null when it cannot be made).
  using HandlerMaker = std::function<std::unique_ptr<DriverHandler>()>;

  // `owner` is handed to every handler (SetOwner); it is not used otherwise.
  DeviceTypeCore(HandlerMaker make_handler, const void* owner);
  ~DeviceTypeCore();
  DeviceTypeCore(const DeviceTypeCore&) = delete;
  DeviceTypeCore& operator=(const DeviceTypeCore&) = delete;

  // Already open: S_OK at once, `pid` ignored, no search. Otherwise stores `pid`, makes the
  // handler (E_OUTOFMEMORY when that fails), marks the object open and returns the handler's
  // search result. The object stays open when the search fails.
  HResult Open(uint16_t pid);
  // Closes and drops the handler; the next Open searches again.
  void Close();

  bool is_open() const { return open_; }
  uint16_t pid() const { return pid_; }
  // Null while the object is not open.
  DriverHandler* handler() const { return handler_.get(); }

  // Device-information read (command 0x02) without the recovery search. E_HANDLE without a
  // handler. `reply` holds the last reply.
  HResult ReadDeviceInformation(FeatureReport& reply);

  HResult SerialNumber(std::u16string& text);
  HResult FirmwareVersion(std::u16string& text);
  // "VID_xxxx&PID_xxxx" of the open product ID; E_HANDLE without a handler.
  HResult HardwareId(std::u16string& text) const;
  // 0 and S_OK for another product than the Quillfern (no traffic); otherwise 1 and S_OK when
  // the device answers, or the read's error with 0.
  HResult IsConnected(int32_t& connected);
  // Bus type through the control channel: 0 and E_HANDLE (also without a handler).
  HResult BusType(uint32_t& bus_type);

 private:
  HandlerMaker make_handler_;
  const void* owner_;
  std::unique_ptr<DriverHandler> handler_;
  bool open_ = false;
  uint16_t pid_ = 0;
};

}  // namespace quill
