// The emulated Quillfern: device side of the feature-report protocol.
//
// Layers, bottom up:
//   HandleCommand  one request report in, one reply report out (command table, byte for byte);
//   transfers      SetFeature / GetFeature / reset report as the HID stack delivers them: busy
//                  polls, scripted statuses, failing transfers, checksum check, request log;
//   presence       the device path, unplug and replug, handles that die with an unplug;
//   buttons        DPI up, DPI down, profile switch, each followed by the F20 keystroke.
// Every public method is thread-safe (one lock); callbacks run without the lock held.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "emulator/device_state.h"
#include "emulator/request_log.h"
#include "middleware/transport/feature_report.h"

namespace quill::emu {

// Status bytes of this device beyond busy (0, 1) and done (2).
constexpr uint8_t kStatusChecksumError = 3;     // retryable: the request is not acted on
constexpr uint8_t kStatusUnknownCommand = 0x0F;  // final: command/direction not supported
constexpr uint8_t kStatusRejected = 0x10;        // final: argument or length not acceptable
constexpr uint8_t kStatusNoSpace = 0x11;         // final: macro memory full

// Command codes.
constexpr uint8_t kCmdDeviceInfo = 0x02;
constexpr uint8_t kCmdPerformance = 0x05;
constexpr uint8_t kCmdProfile = 0x06;
constexpr uint8_t kCmdProfileErase = 0x07;
constexpr uint8_t kCmdMacroDirectory = 0x08;  // read: directory page; write: allocate
constexpr uint8_t kCmdMacroDelete = 0x0C;
constexpr uint8_t kCmdMacroData = 0x0D;
constexpr uint8_t kCmdMacroName = 0x0E;
constexpr uint8_t kCmdProfileName = 0x22;
constexpr uint8_t kCmdMemorySpace = 0x23;
constexpr uint8_t kCmdDownloadMode = 0x24;
constexpr uint8_t kCmdSensorRom = 0x30;

// XOR of bytes 3 to 88.
uint8_t ReportChecksum(const FeatureReport& report);
bool IsResetReport(const FeatureReport& report);
FeatureReport MakeResetReport();

// A scripted sequence of reply statuses for one command code. Each poll of a request with
// that command that reaches the end of its busy polls takes the next status: 0 or 1 answers
// busy, 2 lets the request be acted on and answers its real reply (once per request), any
// other value answers that status without acting on the request. When the sequence runs out
// the script is dropped, or starts again when `repeat` is set.
struct StatusScript {
  std::vector<uint8_t> statuses;
  bool repeat = false;
};

// Outcome of one physical action.
struct ButtonResult {
  bool changed = false;   // the state changed and the F20 keystroke was sent
  PerformanceRecord performance;
};

class QuillfernModel {
 public:
  explicit QuillfernModel(DeviceState state = DeviceState::Factory());
  QuillfernModel(const QuillfernModel&) = delete;
  QuillfernModel& operator=(const QuillfernModel&) = delete;

  // ---- state --------------------------------------------------------------------------
  DeviceState State() const;
  void SetState(const DeviceState& state);
  // Incremented by every change of the device memory (not by busy polls or the log).
  uint64_t StateVersion() const;

  // ---- command handling (no HID layer, no log) -----------------------------------------
  // Acts on one request and returns the reply: bytes 0 to 8 as sent (byte 5 of a directory
  // page = its payload byte count), status in byte 2, the reply payload, byte 89 = the XOR
  // of bytes 3 to 88 of the reply, byte 90 = 1. The checksum of the request is not checked
  // here. `note` (optional) receives the reason of a rejection.
  FeatureReport HandleCommand(const FeatureReport& request, std::string* note = nullptr);

  // ---- transfers as the HID stack delivers them ----------------------------------------
  // `handle` comes from OpenHandle; `client` names the process for the log.
  // False = the transfer fails (unplugged, dead handle, wrong size or report ID, injected).
  bool SetFeature(uint64_t handle, uint32_t client, const uint8_t* report, size_t size);
  bool GetFeature(uint64_t handle, uint32_t client, uint8_t* report, size_t size);

  // Busy answers before each reply (default 0).
  void SetBusyPolls(unsigned polls);
  unsigned BusyPolls() const;
  void SetStatusScript(uint8_t command, StatusScript script);
  void ClearStatusScripts();
  // The next n request writes / poll reads / reset-report writes fail.
  void FailNextSetFeatures(unsigned n);
  void FailNextGetFeatures(unsigned n);
  void FailNextResets(unsigned n);
  // The next n opens of the device path fail (the device stays plugged).
  void FailNextOpens(unsigned n);
  void ClearFaults();  // scripts, failing transfers and opens, busy polls
  // One line per active fault setting, for the control command line.
  std::string DescribeFaults() const;

  // ---- presence -----------------------------------------------------------------------
  // A device path shaped like a Windows HID mouse interface path of this mouse; `length`
  // (0 = natural length) pads the instance part to give exactly that many UTF-16 units.
  static std::u16string MakeDevicePath(uint32_t instance, size_t length = 0);
  std::u16string DevicePath() const;
  void SetDevicePath(const std::u16string& path);
  // Paths the device has had, oldest first, current last: Windows keeps listing interfaces
  // of devices that are no longer present, so enumeration shows them all.
  std::vector<std::u16string> KnownPaths() const;
  bool Plugged() const;
  // Opening a path: a handle (> 0) while plugged and the path is the current one
  // (compared without regard to ASCII case), nothing otherwise.
  std::optional<uint64_t> OpenHandle(const std::u16string& path);
  // Handles opened before an unplug stay dead after the replug.
  bool HandleAlive(uint64_t handle) const;
  void Unplug();
  // Plugs in again under the same path, or under a new path of the same length.
  void Replug(bool new_path);

  // ---- buttons on the mouse -------------------------------------------------------------
  ButtonResult PressDpiUp();
  ButtonResult PressDpiDown();
  ButtonResult PressProfileSwitch();
  // Called (without the lock) after each action that changed the state.
  void SetKeystrokeCallback(std::function<void()> callback);

  // ---- request log ----------------------------------------------------------------------
  std::vector<LogEntry> LogEntries() const;
  std::vector<LogEntry> LoggedRequests(uint8_t command) const;
  std::vector<Interleaving> Interleavings() const;
  std::string FormatLog() const;
  std::string InterleaveVerdict() const;
  void ClearLog();

 private:
  struct Pending {
    FeatureReport request{};
    FeatureReport reply{};
    unsigned busy_left = 0;
    bool answered = false;   // the request was acted on; reply holds its answer
    bool bad_checksum = false;
  };

  FeatureReport HandleLocked(const FeatureReport& request, std::string* note);
  std::optional<uint8_t> NextScriptedStatus(uint8_t command);
  bool HandleAliveLocked(uint64_t handle) const;
  ButtonResult ChangeStageLocked(int delta);
  void Changed() { ++state_version_; }
  void Notify(const ButtonResult& result);

  mutable std::mutex mutex_;
  DeviceState state_;
  uint64_t state_version_ = 0;

  std::optional<Pending> pending_;
  unsigned busy_polls_ = 0;
  std::map<uint8_t, StatusScript> scripts_;
  std::map<uint8_t, size_t> script_positions_;
  unsigned fail_sets_ = 0, fail_gets_ = 0, fail_resets_ = 0, fail_opens_ = 0;

  std::u16string path_;
  std::vector<std::u16string> known_paths_;
  uint32_t path_instance_ = 1;
  bool plugged_ = true;
  // A handle is (generation << 32) | serial; each unplug starts a new generation.
  uint64_t generation_ = 1;
  uint32_t next_handle_serial_ = 1;

  std::function<void()> keystroke_;
  RequestLog log_;
};

}  // namespace quill::emu
