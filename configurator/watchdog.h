// The DeviceWatchdog: a one-second timer of the main dialog that shows the versions once the
// connection is open, notices the end of an apply, follows the reconnection after a polling-rate
// change and closes the program when the mouse is missing or unplugged.
//
// Tick decides and makes the device calls through WatchdogPort; the dialog carries out the
// outcome (message box, WM_CLOSE, ending the dialog).
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "configurator/tray_control.h"
#include "configurator/worker_command.h"

namespace quill {
class Translator;
}

namespace quill::cfg {

class WatchdogPort {
 public:
  virtual ~WatchdogPort() = default;
  // The main device type object exists (no device traffic).
  virtual bool MainDeviceExists() = 0;
  // IsConnected of the main device.
  virtual bool IsMainConnected() = 0;
  // The polling rate in Hz; nullopt when it cannot be read.
  virtual std::optional<int32_t> GetRate() = 0;
  // A Quillfern answers through a fresh middleware object.
  virtual bool ProbeDevice() = 0;
};

inline constexpr int kProbeTries = 5;
inline constexpr uint32_t kProbePauseMs = 500;  // before each probe

// Probes up to kProbeTries times, pausing before each; true at the first answer.
bool ProbeRepeatedly(WatchdogPort& port, Clock& clock);

// Version strings of the connection, as read when it opened.
struct DeviceVersions {
  std::u16string mainFirmware;
  std::u16string alternateFirmware;
  std::u16string driver;
};

// The two lines of the "lighting and maintenance" page.
struct VersionLines {
  std::u16string firmware;
  std::u16string driver;
  bool operator==(const VersionLines&) const = default;
};
// "Firmware Version : %s" with the main firmware when the main device is connected, else the
// alternate's when that one is, else 0.00; "Driver Version : %s" with the driver version, 0.00
// when it is empty. The formats go through the translator when one is given. Each line is cut to
// its 127-character field.
VersionLines MakeVersionLines(const DeviceVersions& versions, bool mainConnected, bool alternateConnected,
                              Translator* translator);

// A closing message box (English texts; the dialog translates them).
struct ClosingMessage {
  std::u16string_view title;
  std::u16string_view text;
  std::u16string_view button;
};
extern const ClosingMessage kUnpluggedMessage;
extern const ClosingMessage kNoDeviceMessage;

enum class WatchdogOutcome {
  Continue,
  EndDialogOk,  // the apply started by OK has finished: shut the workers down, end with IDOK
  Unplugged,    // disable the dialog, stop the timer, kUnpluggedMessage, then WM_CLOSE
  NoDevice,     // the same with kNoDeviceMessage
};

struct WatchdogTick {
  WatchdogOutcome outcome = WatchdogOutcome::Continue;
  std::optional<VersionLines> versions;  // show these (once, after the connection opened)
  std::optional<int32_t> rate;           // polling rate read back after a reconnection
};

class Watchdog {
 public:
  // Main thread, APPLY or OK: the apply is under way from now on (the finish is noticed even
  // when the worker is done before a tick sees command 2), the next tick is skipped, and the
  // command word is set before the caller starts the writing box.
  void StartApply(SessionFlags& flags, bool fromOk);

  // One tick of the timer.
  WatchdogTick Tick(SessionFlags& flags, const DeviceVersions& versions, WatchdogPort& port, Clock& clock,
                    Translator* translator = nullptr);

  bool ApplyUnderWay() const { return applyUnderWay_; }

 private:
  bool versionsShown_ = false;
  bool skipNextTick_ = false;
  bool applyUnderWay_ = false;
  bool closeAfterApply_ = false;
};

}  // namespace quill::cfg
