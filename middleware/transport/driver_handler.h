// The middleware's only path to the mouse: finds it among the mouse device interfaces and
// exchanges 91-byte feature reports with it under the cross-process existence lock.
//
// Every exchange opens the device path, takes the lock, writes the request with its checksum,
// polls the status byte until the device reports done, writes the reset report, and closes the
// path again; no handle stays open between exchanges. The operating system is reached only
// through the three seams given to the constructor, so the same algorithm runs against a real
// mouse, the emulator's pipe and the in-process emulator.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "middleware/transport/clock.h"
#include "middleware/transport/device_lock.h"
#include "middleware/transport/feature_channel.h"
#include "middleware/transport/feature_report.h"
#include "middleware/transport/hid_port.h"
#include "middleware/transport/trace_hook.h"
#include "middleware/typelib/hresult_codes.h"

namespace quill {

// Pauses of the exchange, in milliseconds.
constexpr uint32_t kPauseAroundTransfer = 10;     // before each write, after failures, before a retry
constexpr uint32_t kPauseAfterReadRequest = 10;
constexpr uint32_t kPauseAfterWriteRequest = 100;
constexpr uint32_t kPauseBusyPoll = 30;
constexpr uint32_t kPauseBeforeRecovery = 1000;
constexpr uint32_t kMaxStatusReads = 1000;        // per transmission
constexpr uint32_t kMaxTransmissions = 20;        // per exchange, retries of status 3 to 8 included
constexpr uint32_t kResetReportAttempts = 3;
// A waiter for the lock gives the processor away between attempts: the first attempts with a
// yield, the later ones with a short sleep, so that a client waiting out another's exchange
// (30 ms to many seconds) costs next to no processor time.
constexpr uint32_t kLockSpinYields = 20;
constexpr uint32_t kLockRetrySleepMs = 1;
// A lock whose creation keeps failing (rather than finding the lock taken) is given up after
// this long; the exchange then fails with E_ABORT.
constexpr uint32_t kLockFailureTimeoutMs = 2000;

// Control-channel requests of the mouse's filter driver (device type 0x22, buffered, any access).
enum class ControlCode : uint32_t {
  kControlInformation = 0x222010,    // out 278 bytes
  kReadSettingWord = 0x222018,       // in 12, out 12
  kWriteSettingWord = 0x22201C,      // in 12
  kButtonMappingBlock = 0x222024,    // in variable
  kButtonMappingEntries = 0x222028,  // in 24 + 41 per entry
  kReadDpiLevelList = 0x222030,      // out 1024
  kReadWirelessDistance = 0x22203C,  // out 21
  kWriteWirelessDistance = 0x222040, // in 21
  kWriteDpiLevelList = 0x222050,     // in 1024
};
constexpr size_t kControlInformationSize = 278;
constexpr size_t kSettingWordSize = 12;
constexpr size_t kDpiLevelListSize = 1024;
constexpr size_t kWirelessDistanceSize = 21;

// Room of the caller's hardware-ID buffer in the COM interface, in UTF-16 units.
constexpr size_t kHardwareIdCapacity = 512;

class DriverHandler : public FeatureChannel {
 public:
  // The seams stay owned by the caller and must outlive the handler.
  DriverHandler(HidPort& port, DeviceLock& lock, Clock& clock);
  // The handler owns its seams.
  DriverHandler(std::unique_ptr<HidPort> port, std::unique_ptr<DeviceLock> lock,
                std::unique_ptr<Clock> clock);
  ~DriverHandler() override;
  DriverHandler(const DriverHandler&) = delete;
  DriverHandler& operator=(const DriverHandler&) = delete;

  // The device type object that created the handler (not owned, never dereferenced here).
  void SetOwner(const void* owner) { owner_ = owner; }
  const void* owner() const { return owner_; }

  // Receives every trace message; an empty hook discards them (the default).
  void SetTraceHook(TraceHook hook);

  // Resets the state, builds the control name "TorvoControl_%04X" and searches for the mouse
  // with VENDOR_ID and `product_id`; returns the search's result.
  HResult Initialise(uint16_t product_id);

  // Searches the mouse interfaces for the first one with these IDs that answers a reset report
  // and a device-information read, and stores its path. S_OK when found; otherwise
  // HRESULT_FROM_WIN32 of the enumeration error (0x80070103 at the end of the list) and the
  // stored path is left as it was.
  HResult EnumTvDevices(uint16_t vendor_id, uint16_t product_id);

  // Writes the reset report to `path` (up to three attempts) under the lock. E_FAIL when the
  // path does not open, E_ABORT when the lock cannot be had or every write fails.
  HResult SendResetReport(const std::u16string& path);

  // One request/reply exchange on `path` under the lock, with status polling and retries.
  // On return `report` holds the device's last reply, or the request as sent (checksum
  // included) when it could not be written.
  HResult ExchangeFeatureReport(const std::u16string& path, FeatureReport& report);

  // Exchanges on the stored path (write and read requests). `length` must be 91. With
  // `recover`, an exchange that fails with E_ABORT is retried once after a pause of one second
  // and a new search, with the original request bytes.
  HResult SetFeatureRaw(FeatureReport& report, size_t length, bool recover) override;
  HResult GetFeatureRaw(FeatureReport& report, size_t length, bool recover) override;
  // The same on an explicitly given path (the retry also uses that path).
  HResult GetFeatureRawEx(const std::u16string& path, FeatureReport& report, size_t length,
                          bool recover);

  // E_HANDLE: the control channel is never open. Nothing else happens.
  HResult Close();
  // E_NOTIMPL.
  HResult SwitchToNextDevice();

  // "VID_%04X&PID_%04X" of VENDOR_ID and the product ID, terminated, into `buffer`.
  // E_POINTER for a null buffer, E_INSUFFICIENT_BUFFER (buffer left empty) when it is too small.
  HResult GetHardwareId(char16_t* buffer, size_t capacity) const;
  std::u16string HardwareId() const;

  // Driver control channel. Every request tests the channel first and returns E_HANDLE without
  // any traffic while it is not open, which it never is.
  bool ControlChannelOpen() const { return false; }
  HResult ControlRequest(ControlCode code, std::span<const uint8_t> input,
                         std::span<uint8_t> output);
  HResult ReadControlInformation();  // into control_information()
  HResult ReadSettingWord(std::span<const uint8_t, kSettingWordSize> input,
                          std::span<uint8_t, kSettingWordSize> output);
  HResult WriteSettingWord(std::span<const uint8_t, kSettingWordSize> input);
  HResult UploadButtonMappingBlock(std::span<const uint8_t> block);
  HResult UploadButtonMappingEntries(std::span<const uint8_t> entries);
  HResult ReadDpiLevelList(std::span<uint8_t, kDpiLevelListSize> output);
  HResult WriteDpiLevelList(std::span<const uint8_t, kDpiLevelListSize> input);
  HResult ReadWirelessDistance(std::span<uint8_t, kWirelessDistanceSize> output);
  HResult WriteWirelessDistance(std::span<const uint8_t, kWirelessDistanceSize> input);
  // Bus type from the control information: stores 0 and returns the request's E_HANDLE.
  HResult GetBusType(uint32_t& bus_type);

  uint16_t product_id() const { return product_id_; }
  // Path found by the last successful search; empty until one succeeds. Any length.
  const std::u16string& device_path() const { return device_path_; }
  // "TorvoControl_%04X"; also the name of the device's registry key.
  const std::u16string& control_name() const { return control_name_; }
  const std::array<uint8_t, kControlInformationSize>& control_information() const {
    return control_information_;
  }

 private:
  HResult ExchangeRaw(std::string_view name, const std::u16string* explicit_path,
                      FeatureReport& report, size_t length, bool recover);
  HResult AcquireLock();
  HResult TransmitAndPoll(HidDevice& device, FeatureReport& report, int& reply_status);
  bool ProbeDevice(const std::u16string& path);
  void Trace(std::string_view message) const;
  void TraceReply(const FeatureReport& reply) const;

  std::unique_ptr<HidPort> owned_port_;
  std::unique_ptr<DeviceLock> owned_lock_;
  std::unique_ptr<Clock> owned_clock_;
  HidPort* port_;
  DeviceLock* lock_;
  Clock* clock_;
  TraceHook trace_;

  const void* owner_ = nullptr;
  uint16_t product_id_ = 0;
  std::u16string device_path_;
  std::u16string control_name_;
  std::array<uint8_t, kControlInformationSize> control_information_{};
};

}  // namespace quill
