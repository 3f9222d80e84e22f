// HidPort over SetupAPI and the HID class driver: the mouse device interfaces of this machine.
#pragma once
#include <windows.h>
#undef Yield  // obsolete 16-bit macro; clashes with Clock::Yield

#include <memory>
#include <string>

#include "middleware/transport/hid_port.h"

namespace quill::win {

class SetupApiHidPort : public HidPort {
 public:
  SetupApiHidPort() = default;
  ~SetupApiHidPort() override;
  SetupApiHidPort(const SetupApiHidPort&) = delete;
  SetupApiHidPort& operator=(const SetupApiHidPort&) = delete;

  // SetupDiGetClassDevsW(GUID_DEVINTERFACE_MOUSE, DIGCF_DEVICEINTERFACE): interfaces of
  // devices that are not present are listed too.
  bool BeginEnumeration() override;
  uint32_t InterfaceAt(uint32_t index, std::u16string& path) override;
  InterfaceLookup LookupInterface(uint32_t index, std::u16string& path) override;
  void EndEnumeration() override;
  std::unique_ptr<HidDevice> Open(const std::u16string& path) override;

 private:
  HANDLE set_ = INVALID_HANDLE_VALUE;  // HDEVINFO
};

}  // namespace quill::win
