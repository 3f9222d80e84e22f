#include "middleware/transport/win/setupapi_hid_port.h"

#include <initguid.h>  // defines GUID_DEVINTERFACE_MOUSE here
#include <ntddmou.h>
#include <setupapi.h>
extern "C" {
#include <hidsdi.h>
}

#include <cstddef>
#include <cstring>
#include <cwchar>

#include "middleware/transport/feature_report.h"
#include "middleware/typelib/hresult_codes.h"

namespace quill::win {
namespace {

static_assert(sizeof(wchar_t) == sizeof(char16_t));
static_assert(kErrorNoMoreItems == ERROR_NO_MORE_ITEMS);
static_assert(kErrorInsufficientBuffer == ERROR_INSUFFICIENT_BUFFER);

const wchar_t* Wide(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }

// One handle opened with no access rights: enough for HidD_* feature requests.
class HidHandle : public HidDevice {
 public:
  explicit HidHandle(HANDLE handle) : handle_(handle) {}
  ~HidHandle() override { CloseHandle(handle_); }
  HidHandle(const HidHandle&) = delete;
  HidHandle& operator=(const HidHandle&) = delete;

  bool GetAttributes(HidAttributes& attributes) override {
    HIDD_ATTRIBUTES a{};
    a.Size = sizeof a;
    if (!HidD_GetAttributes(handle_, &a)) return false;
    attributes = HidAttributes{a.VendorID, a.ProductID, a.VersionNumber};
    return true;
  }
  bool SetFeature(const uint8_t* report, size_t size) override {
    if (report == nullptr || size != kFeatureReportSize) return false;
    FeatureReport copy;  // the API takes a non-const buffer
    std::memcpy(copy.data(), report, size);
    return HidD_SetFeature(handle_, copy.data(), static_cast<ULONG>(size)) != FALSE;
  }
  bool GetFeature(uint8_t* report, size_t size) override {
    if (report == nullptr || size != kFeatureReportSize) return false;
    return HidD_GetFeature(handle_, report, static_cast<ULONG>(size)) != FALSE;
  }

 private:
  HANDLE handle_;
};

struct LocalFreeDeleter {
  void operator()(void* p) const { LocalFree(p); }
};

}  // namespace

SetupApiHidPort::~SetupApiHidPort() { EndEnumeration(); }

bool SetupApiHidPort::BeginEnumeration() {
  EndEnumeration();
  HDEVINFO set = SetupDiGetClassDevsW(&GUID_DEVINTERFACE_MOUSE, nullptr, nullptr,
                                      DIGCF_DEVICEINTERFACE);
  if (set == INVALID_HANDLE_VALUE) return false;
  set_ = set;
  return true;
}

void SetupApiHidPort::EndEnumeration() {
  if (set_ != INVALID_HANDLE_VALUE) SetupDiDestroyDeviceInfoList(set_);
  set_ = INVALID_HANDLE_VALUE;
}

uint32_t SetupApiHidPort::InterfaceAt(uint32_t index, std::u16string& path) {
  const InterfaceLookup lookup = LookupInterface(index, path);
  if (lookup.found) return 0;
  return lookup.error != 0 ? lookup.error : ERROR_GEN_FAILURE;
}

InterfaceLookup SetupApiHidPort::LookupInterface(uint32_t index, std::u16string& path) {
  auto fail = [](InterfaceStep step) {
    return InterfaceLookup{false, static_cast<uint32_t>(GetLastError()), step};
  };
  if (set_ == INVALID_HANDLE_VALUE) {
    SetLastError(ERROR_INVALID_HANDLE);
    return fail(InterfaceStep::kEnumerate);
  }
  SP_DEVICE_INTERFACE_DATA data{};
  data.cbSize = sizeof data;
  if (!SetupDiEnumDeviceInterfaces(set_, nullptr, &GUID_DEVINTERFACE_MOUSE, index, &data))
    return fail(InterfaceStep::kEnumerate);

  DWORD size = 0;
  SetupDiGetDeviceInterfaceDetailW(set_, &data, nullptr, 0, &size, nullptr);
  if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0)
    return fail(InterfaceStep::kDetailSize);
  // The detail block must at least hold its header and one character.
  if (size < offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath) + sizeof(wchar_t)) {
    SetLastError(ERROR_INVALID_DATA);
    return fail(InterfaceStep::kDetailSize);
  }

  std::unique_ptr<void, LocalFreeDeleter> block(LocalAlloc(LPTR, size));
  if (!block) return fail(InterfaceStep::kAllocate);
  auto* detail = static_cast<SP_DEVICE_INTERFACE_DETAIL_DATA_W*>(block.get());
  detail->cbSize = sizeof(SP_DEVICE_INTERFACE_DETAIL_DATA_W);
  if (!SetupDiGetDeviceInterfaceDetailW(set_, &data, detail, size, nullptr, nullptr))
    return fail(InterfaceStep::kDetail);

  // The path ends at its terminator or at the end of the block, whichever comes first.
  const size_t room =
      (size - offsetof(SP_DEVICE_INTERFACE_DETAIL_DATA_W, DevicePath)) / sizeof(wchar_t);
  const size_t length = wcsnlen(detail->DevicePath, room);
  path.assign(reinterpret_cast<const char16_t*>(detail->DevicePath), length);
  return InterfaceLookup{true, 0, InterfaceStep::kEnumerate};
}

std::unique_ptr<HidDevice> SetupApiHidPort::Open(const std::u16string& path) {
  if (path.empty()) return nullptr;
  HANDLE handle = CreateFileW(Wide(path), 0, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return nullptr;
  return std::make_unique<HidHandle>(handle);
}

}  // namespace quill::win
