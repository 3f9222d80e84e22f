// The seam between the transport and the operating system's HID stack.
//
// Implementations: SetupAPI and HID (a real mouse, middleware/transport/win/), the emulator's
// named-pipe client (emulator/win/), and the in-process emulator for native tests (emulator/).
// The calls mirror the Windows ones the transport algorithm is written against, so that the
// algorithm (device search, exchange, retries) is the same code on every port.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace quill {

struct HidAttributes {
  uint16_t vendor_id = 0;
  uint16_t product_id = 0;
  uint16_t version = 0;
};

// One open handle on a device interface path (CreateFileW with no access rights).
class HidDevice {
 public:
  virtual ~HidDevice() = default;
  virtual bool GetAttributes(HidAttributes& attributes) = 0;     // HidD_GetAttributes
  virtual bool SetFeature(const uint8_t* report, size_t size) = 0;  // HidD_SetFeature
  virtual bool GetFeature(uint8_t* report, size_t size) = 0;        // HidD_GetFeature
};

// Which step of an interface lookup failed: the device search reports each one differently.
enum class InterfaceStep {
  kEnumerate,   // SetupDiEnumDeviceInterfaces (past the end: kErrorNoMoreItems)
  kDetailSize,  // SetupDiGetDeviceInterfaceDetailW asking for the size
  kAllocate,    // allocating the detail block
  kDetail,      // SetupDiGetDeviceInterfaceDetailW reading the detail
};

struct InterfaceLookup {
  bool found = false;       // true: `path` holds the interface path
  uint32_t error = 0;       // GetLastError() of the failed step (may be 0 on a broken stack)
  InterfaceStep failed_step = InterfaceStep::kEnumerate;
};

class HidPort {
 public:
  virtual ~HidPort() = default;

  // SetupDiGetClassDevsW over the mouse interface class. False: the set could not be made.
  virtual bool BeginEnumeration() = 0;
  // SetupDiEnumDeviceInterfaces + SetupDiGetDeviceInterfaceDetailW for one member index.
  // Returns 0 and the interface path, or the Windows error (kErrorNoMoreItems past the end).
  virtual uint32_t InterfaceAt(uint32_t index, std::u16string& path) = 0;
  // The same lookup with the failing step named. Ports that cannot tell the steps apart keep
  // this default, which reports every failure as one of the enumeration itself.
  virtual InterfaceLookup LookupInterface(uint32_t index, std::u16string& path) {
    InterfaceLookup lookup;
    lookup.error = InterfaceAt(index, path);
    lookup.found = lookup.error == 0;
    return lookup;
  }
  // SetupDiDestroyDeviceInfoList.
  virtual void EndEnumeration() = 0;

  // CreateFileW(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE, OPEN_EXISTING). Null on failure.
  virtual std::unique_ptr<HidDevice> Open(const std::u16string& path) = 0;
};

}  // namespace quill
