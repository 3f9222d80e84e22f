#include "middleware/transport/driver_handler.h"

#include <cstdio>
#include <new>
#include <string>

#include "middleware/transport/commands.h"
#include "middleware/transport/device_ids.h"

namespace quill {
namespace {

std::u16string Ascii16(std::string_view text) { return std::u16string(text.begin(), text.end()); }

// Formats into a small buffer for the trace; every format used here fits.
template <typename... Args>
std::string Format(const char* format, Args... args) {
  char buffer[160];
  const int n = std::snprintf(buffer, sizeof buffer, format, args...);
  if (n < 0) return {};
  return std::string(buffer, static_cast<size_t>(n) < sizeof buffer ? static_cast<size_t>(n)
                                                                      : sizeof buffer - 1);
}

// A reply byte traced as the signed value it is on the wire ("%x" of a negative char).
unsigned SignedByte(uint8_t b) { return static_cast<unsigned>(static_cast<int>(static_cast<int8_t>(b))); }

bool IsRetryStatus(int status) { return status >= kStatusRetryFirst && status <= kStatusRetryLast; }

const char* LookupFailureTrace(InterfaceStep step) {
  switch (step) {
    case InterfaceStep::kEnumerate:
      return "GetDeviceInterfaceDetail: SetupDiEnumDeviceInterfaces Failed!!\n";
    case InterfaceStep::kDetailSize:
      return "GetDeviceInterfaceDetail: SetupDiGetDeviceInterfaceDetail Failed\n";
    case InterfaceStep::kAllocate:
      return "GetDeviceInterfaceDetail: LocalAlloc Failed\n";
    case InterfaceStep::kDetail:
      return "GetDeviceInterfaceDetail: SetupDiEnumDeviceInterfaces Failed\n";
  }
  return "GetDeviceInterfaceDetail: SetupDiEnumDeviceInterfaces Failed!!\n";
}

}  // namespace

DriverHandler::DriverHandler(HidPort& port, DeviceLock& lock, Clock& clock)
    : port_(&port), lock_(&lock), clock_(&clock) {}

DriverHandler::DriverHandler(std::unique_ptr<HidPort> port, std::unique_ptr<DeviceLock> lock,
                             std::unique_ptr<Clock> clock)
    : owned_port_(std::move(port)),
      owned_lock_(std::move(lock)),
      owned_clock_(std::move(clock)),
      port_(owned_port_.get()),
      lock_(owned_lock_.get()),
      clock_(owned_clock_.get()) {}

DriverHandler::~DriverHandler() = default;

void DriverHandler::SetTraceHook(TraceHook hook) { trace_ = std::move(hook); }

void DriverHandler::Trace(std::string_view message) const {
  if (trace_) trace_(message);
}

HResult DriverHandler::Initialise(uint16_t product_id) {
  product_id_ = product_id;
  device_path_.clear();
  control_information_.fill(0);
  try {
    control_name_ = Ascii16(Format("TorvoControl_%04X", static_cast<unsigned>(product_id)));
  } catch (const std::bad_alloc&) {
    return kE_FAIL;
  }
  return EnumTvDevices(VENDOR_ID, product_id);
}

HResult DriverHandler::EnumTvDevices(uint16_t vendor_id, uint16_t product_id) {
  Trace("DriverHandler::EnumTvDevices()\n");
  HResult result = kE_FAIL;
  if (!port_->BeginEnumeration()) {
    Trace("GetDeviceInterfaceDetail: SetupDiGetClassDevs Failed!!\n");
    return kE_FAIL;
  }
  for (uint32_t index = 0;; ++index) {
    std::u16string path;
    const InterfaceLookup lookup = port_->LookupInterface(index, path);
    if (!lookup.found) {
      Trace(LookupFailureTrace(lookup.failed_step));
      // A failed step that left no error code must not read as success.
      result = lookup.error != 0 ? HResultFromWin32(lookup.error) : kE_FAIL;
      break;
    }
    std::unique_ptr<HidDevice> device = port_->Open(path);
    if (!device) continue;
    Trace("Can Create Handle\n");
    HidAttributes attributes;
    if (!device->GetAttributes(attributes)) {
      Trace("HidD_GetAttribute fail\n");
      continue;
    }
    Trace("HidD_GetAttribute success\n");
    Trace(Format("Vendor ID = %x, Device ID = %x, Version No = %x\n",
                 static_cast<unsigned>(attributes.vendor_id),
                 static_cast<unsigned>(attributes.product_id),
                 static_cast<unsigned>(attributes.version)));
    if (attributes.vendor_id != vendor_id || attributes.product_id != product_id) continue;
    if (ProbeDevice(path)) {
      device_path_ = std::move(path);
      result = kS_OK;
      break;
    }
  }
  port_->EndEnumeration();
  return result;
}

bool DriverHandler::ProbeDevice(const std::u16string& path) {
  if (Failed(SendResetReport(path))) return false;
  FeatureReport reply = BuildDeviceInfoRead();
  if (Failed(ExchangeFeatureReport(path, reply))) return false;
  Trace("GetFirmware Success\n");
  TraceReply(reply);
  return true;
}

void DriverHandler::TraceReply(const FeatureReport& r) const {
  for (size_t line = 0; line < 9; ++line) {
    const size_t b = line * 10;
    Trace(Format("Result %02u : %x %x %x %x %x %x %x %x %x %x\n", static_cast<unsigned>(line + 1),
                 SignedByte(r[b]), SignedByte(r[b + 1]), SignedByte(r[b + 2]),
                 SignedByte(r[b + 3]), SignedByte(r[b + 4]), SignedByte(r[b + 5]),
                 SignedByte(r[b + 6]), SignedByte(r[b + 7]), SignedByte(r[b + 8]),
                 SignedByte(r[b + 9])));
  }
  Trace(Format("Result 10 : %x\n", SignedByte(r[90])));
}

HResult DriverHandler::SendResetReport(const std::u16string& path) {
  std::unique_ptr<HidDevice> device = port_->Open(path);
  if (!device) return kE_FAIL;
  // A reset report ends whatever exchange the device is in, so it waits for the lock like an
  // exchange: a search in one process must not cut into another process's exchange.
  if (Failed(AcquireLock())) return kE_ABORT;
  HResult result = kE_ABORT;
  clock_->Sleep(kPauseAroundTransfer);
  const FeatureReport reset = MakeResetReport();
  for (uint32_t attempt = 0; attempt < kResetReportAttempts; ++attempt) {
    if (device->SetFeature(reset.data(), reset.size())) {
      result = kS_OK;
      break;
    }
    clock_->Sleep(kPauseAroundTransfer);
  }
  lock_->Release();
  return result;
}

HResult DriverHandler::AcquireLock() {
  // The lock is the existence of the named object: whoever creates it holds it. A creation
  // that merely opens the object means another exchange runs; give the processor away and try
  // again (yields first, then 1 ms sleeps). A creation that fails outright is not the lock:
  // try again for a bounded time.
  bool failing = false;
  uint32_t failing_since = 0;
  for (uint32_t attempt = 1;; ++attempt) {
    switch (lock_->TryAcquire()) {
      case DeviceLock::Attempt::kAcquired:
        return kS_OK;
      case DeviceLock::Attempt::kAlreadyExists:
        failing = false;
        break;
      case DeviceLock::Attempt::kFailed:
        if (!failing) {
          failing = true;
          failing_since = clock_->TickCount();
        } else if (clock_->TickCount() - failing_since >= kLockFailureTimeoutMs) {
          return kE_ABORT;
        }
        break;
    }
    if (attempt <= kLockSpinYields) {
      clock_->Yield();
    } else {
      clock_->Sleep(kLockRetrySleepMs);
    }
  }
}

HResult DriverHandler::TransmitAndPoll(HidDevice& device, FeatureReport& report,
                                       int& reply_status) {
  reply_status = -1;
  clock_->Sleep(kPauseAroundTransfer);
  if (!device.SetFeature(report.data(), report.size())) {
    clock_->Sleep(kPauseAroundTransfer);
    return kE_ABORT;
  }
  clock_->Sleep(report[kDirection] != kDirectionWrite ? kPauseAfterReadRequest
                                                     : kPauseAfterWriteRequest);
  for (uint32_t reads = 1;; ++reads) {
    report.fill(0);
    if (!device.GetFeature(report.data(), report.size())) {
      reply_status = -1;
      return kE_ABORT;
    }
    reply_status = report[kStatus];
    if (reply_status == kStatusDone) return kS_OK;
    if (reply_status == kStatusBusy0 || reply_status == kStatusBusy1) {
      if (reads == kMaxStatusReads) return kE_FAIL;
      clock_->Sleep(kPauseBusyPoll);
      continue;
    }
    clock_->Sleep(kPauseAroundTransfer);
    return kE_FAIL;
  }
}

HResult DriverHandler::ExchangeFeatureReport(const std::u16string& path, FeatureReport& report) {
  std::unique_ptr<HidDevice> device = port_->Open(path);
  if (!device) return kE_ABORT;
  if (Failed(AcquireLock())) return kE_ABORT;

  const FeatureReport request = report;
  const FeatureReport reset = MakeResetReport();
  HResult result = kE_FAIL;
  for (uint32_t budget = kMaxTransmissions;;) {
    report = request;
    ApplyChecksum(report);
    int reply_status = -1;
    result = TransmitAndPoll(*device, report, reply_status);

    clock_->Sleep(kPauseAroundTransfer);
    if (!device->SetFeature(reset.data(), reset.size())) {
      clock_->Sleep(kPauseAroundTransfer);
      result = kE_ABORT;
    }
    // Only a status the device actually replied is retried; a failed transfer is final.
    if (!IsRetryStatus(reply_status) || --budget == 0) break;
    clock_->Sleep(kPauseAroundTransfer);
  }
  lock_->Release();
  return result;
}

HResult DriverHandler::ExchangeRaw(std::string_view name, const std::u16string* explicit_path,
                                   FeatureReport& report, size_t length, bool recover) {
  Trace(std::string("DriverHandler ").append(name).append("\n"));
  if (length != kFeatureReportSize) return kE_INVALIDARG;
  // The request is kept so that the retry sends it again, whatever the failed exchange left
  // in the buffer (a failed status read leaves it zeroed).
  const FeatureReport request = report;
  const std::u16string first_path = explicit_path ? *explicit_path : device_path_;
  HResult result = ExchangeFeatureReport(first_path, report);
  if (!recover || result != kE_ABORT) return result;

  clock_->Sleep(kPauseBeforeRecovery);
  Trace(Format("DriverHandler::%.*s Retrying GetFeatureRaw %d\n", static_cast<int>(name.size()),
               name.data(), 0));
  EnumTvDevices(VENDOR_ID, product_id_);
  report = request;
  const std::u16string retry_path = explicit_path ? *explicit_path : device_path_;
  return ExchangeFeatureReport(retry_path, report);
}

HResult DriverHandler::SetFeatureRaw(FeatureReport& report, size_t length, bool recover) {
  return ExchangeRaw("SetFeatureRaw", nullptr, report, length, recover);
}

HResult DriverHandler::GetFeatureRaw(FeatureReport& report, size_t length, bool recover) {
  return ExchangeRaw("GetFeatureRaw", nullptr, report, length, recover);
}

HResult DriverHandler::GetFeatureRawEx(const std::u16string& path, FeatureReport& report,
                                       size_t length, bool recover) {
  return ExchangeRaw("GetFeatureRawEx", &path, report, length, recover);
}

HResult DriverHandler::Close() { return kE_HANDLE; }

HResult DriverHandler::SwitchToNextDevice() { return kE_NOTIMPL; }

std::u16string DriverHandler::HardwareId() const {
  return Ascii16(Format("VID_%04X&PID_%04X", static_cast<unsigned>(VENDOR_ID),
                        static_cast<unsigned>(product_id_)));
}

HResult DriverHandler::GetHardwareId(char16_t* buffer, size_t capacity) const {
  if (buffer == nullptr) return kE_POINTER;
  const std::u16string id = HardwareId();
  if (id.size() + 1 > capacity) {
    if (capacity > 0) buffer[0] = u'\0';
    return kE_INSUFFICIENT_BUFFER;
  }
  id.copy(buffer, id.size());
  buffer[id.size()] = u'\0';
  return kS_OK;
}

HResult DriverHandler::ControlRequest(ControlCode, std::span<const uint8_t>, std::span<uint8_t>) {
  // Nothing in the middleware opens the driver control channel, so every request ends here,
  // before any traffic.
  return kE_HANDLE;
}

HResult DriverHandler::ReadControlInformation() {
  return ControlRequest(ControlCode::kControlInformation, {}, control_information_);
}

HResult DriverHandler::ReadSettingWord(std::span<const uint8_t, kSettingWordSize> input,
                                       std::span<uint8_t, kSettingWordSize> output) {
  return ControlRequest(ControlCode::kReadSettingWord, input, output);
}

HResult DriverHandler::WriteSettingWord(std::span<const uint8_t, kSettingWordSize> input) {
  return ControlRequest(ControlCode::kWriteSettingWord, input, {});
}

HResult DriverHandler::UploadButtonMappingBlock(std::span<const uint8_t> block) {
  return ControlRequest(ControlCode::kButtonMappingBlock, block, {});
}

HResult DriverHandler::UploadButtonMappingEntries(std::span<const uint8_t> entries) {
  return ControlRequest(ControlCode::kButtonMappingEntries, entries, {});
}

HResult DriverHandler::ReadDpiLevelList(std::span<uint8_t, kDpiLevelListSize> output) {
  return ControlRequest(ControlCode::kReadDpiLevelList, {}, output);
}

HResult DriverHandler::WriteDpiLevelList(std::span<const uint8_t, kDpiLevelListSize> input) {
  return ControlRequest(ControlCode::kWriteDpiLevelList, input, {});
}

HResult DriverHandler::ReadWirelessDistance(std::span<uint8_t, kWirelessDistanceSize> output) {
  return ControlRequest(ControlCode::kReadWirelessDistance, {}, output);
}

HResult DriverHandler::WriteWirelessDistance(
    std::span<const uint8_t, kWirelessDistanceSize> input) {
  return ControlRequest(ControlCode::kWriteWirelessDistance, input, {});
}

HResult DriverHandler::GetBusType(uint32_t& bus_type) {
  bus_type = 0;
  return ReadControlInformation();
}

}  // namespace quill
