// Talking to the tray agent: finding its window, telling it to reload, closing it, starting it
// and waiting for it to answer. The window system and the process start are behind TrayPort,
// pauses behind Clock, so the waits run in tests without waiting.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace quill::cfg {

// A window of the tray agent as TrayPort found it; 0 is none.
using TrayWindow = std::uintptr_t;

class TrayPort {
 public:
  virtual ~TrayPort() = default;
  // The tray agent's hidden window (class and title of common/tray_protocol.h), 0 when there is none.
  virtual TrayWindow FindTray() = 0;
  // Sends message (wParam 0, lParam 0) and waits at most timeoutMs for the reply. nullopt when
  // the window did not answer in that time (busy, hung) or is gone.
  virtual std::optional<uint64_t> SendToTray(TrayWindow window, uint32_t message, uint32_t timeoutMs) = 0;
  // Starts the tray program (see TrayProgramLaunch); whether that worked is not reported.
  virtual void LaunchTray() = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual void Sleep(uint32_t ms) = 0;
};

// Counts and pauses of the waits.
inline constexpr int kTrayLooks = 1001;          // looks for the window, kTrayPauseMs apart
inline constexpr int kTrayAnswerTries = 3001;    // pings (or looks while no window is known)
inline constexpr uint32_t kTrayPauseMs = 5;
inline constexpr int kTrayCloseLooks = 21;       // looks after UM_TRAY_EXIT, kTrayClosePauseMs apart
inline constexpr uint32_t kTrayClosePauseMs = 500;
inline constexpr uint32_t kTrayReloadPauseMs = 1000;  // after UM_TRAY_RELOAD, before the pings
inline constexpr uint32_t kTrayStartPauseMs = 1000;   // after starting the program
// Longest wait for one reply: a ping, and the other messages (the tray may read the device
// while it handles UM_TRAY_RELOAD).
inline constexpr uint32_t kPingTimeoutMs = 500;
inline constexpr uint32_t kNotifyTimeoutMs = 5000;

// Sends message to the tray window when there is one (its reply is not used).
void NotifyTray(TrayPort& tray, uint32_t message);

// Looks for the window up to kTrayLooks times; the window, or 0.
TrayWindow LookForTray(TrayPort& tray, Clock& clock);
// Looks up to kTrayLooks times until the window is gone; true when it is.
bool LookUntilTrayGone(TrayPort& tray, Clock& clock);
// Up to kTrayAnswerTries tries until the tray answers UM_PING with PING_REPLY; while no window
// is known a try looks for it instead of pinging. True when it answered.
bool WaitForTrayAnswer(TrayPort& tray, Clock& clock, TrayWindow window);

// UM_TRAY_EXIT, then up to kTrayCloseLooks looks until the window is gone. Nothing when the
// tray does not run. True when it is gone.
bool CloseTray(TrayPort& tray, Clock& clock);
// Starts the tray program when its window is missing, then pauses kTrayStartPauseMs.
void StartTrayIfMissing(TrayPort& tray, Clock& clock);

// The tray while the polling rate stays: look for it; when found, UM_TRAY_RELOAD and a pause;
// then wait for it to answer.
void ReloadTrayAndWait(TrayPort& tray, Clock& clock);
// A tray that was just started: look for it, then wait for it to answer.
bool WaitForRestartedTray(TrayPort& tray, Clock& clock);

// Where the tray program is started from: the install folder and the program file, joined by a
// separator when the folder does not end with one. An empty install folder is replaced by the
// current directory, which then stands for the install folder for the rest of the run.
struct TrayLaunch {
  std::u16string program;
  std::u16string workingFolder;
};
TrayLaunch TrayProgramLaunch(std::u16string& installFolder, std::u16string_view currentDirectory);

}  // namespace quill::cfg
