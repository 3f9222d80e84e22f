// The tray waits' ports on Windows: the tray's window found by class and title, messages sent
// with a time limit (a hung tray cannot hold the caller), the program started from the install
// folder, and pauses that keep dispatching the thread's messages.
#pragma once
#include <windows.h>

#include <string>

#include "configurator/tray_control.h"

namespace quill::cfg::win {

class WinTrayPort final : public TrayPort {
 public:
  // installFolder: the install folder as read (empty: the current directory, then kept in it).
  explicit WinTrayPort(std::u16string installFolder) : installFolder_(std::move(installFolder)) {}
  TrayWindow FindTray() override;
  std::optional<uint64_t> SendToTray(TrayWindow window, uint32_t message, uint32_t timeoutMs) override;
  void LaunchTray() override;
  // The install folder, the current directory once a start filled an empty one.
  const std::u16string& installFolder() const { return installFolder_; }

 private:
  std::u16string installFolder_;
};

// Sleep that dispatches the thread's messages (the worker hosts the middleware's hook and COM).
class PumpingClock final : public Clock {
 public:
  void Sleep(uint32_t ms) override;
};

}  // namespace quill::cfg::win
