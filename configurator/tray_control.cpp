#include "configurator/tray_control.h"

#include "common/file_system.h"
#include "common/tray_protocol.h"

namespace quill::cfg {

void NotifyTray(TrayPort& tray, uint32_t message) {
  if (TrayWindow window = tray.FindTray()) tray.SendToTray(window, message, kNotifyTimeoutMs);
}

TrayWindow LookForTray(TrayPort& tray, Clock& clock) {
  for (int look = 0; look < kTrayLooks; ++look) {
    if (look > 0) clock.Sleep(kTrayPauseMs);
    if (TrayWindow window = tray.FindTray()) return window;
  }
  return 0;
}

bool LookUntilTrayGone(TrayPort& tray, Clock& clock) {
  for (int look = 0; look < kTrayLooks; ++look) {
    if (look > 0) clock.Sleep(kTrayPauseMs);
    if (!tray.FindTray()) return true;
  }
  return false;
}

bool WaitForTrayAnswer(TrayPort& tray, Clock& clock, TrayWindow window) {
  for (int attempt = 0; attempt < kTrayAnswerTries; ++attempt) {
    if (attempt > 0) clock.Sleep(kTrayPauseMs);
    if (!window) {
      window = tray.FindTray();
      continue;
    }
    if (tray.SendToTray(window, tray::UM_PING, kPingTimeoutMs) == std::optional<uint64_t>(tray::PING_REPLY)) return true;
  }
  return false;
}

bool CloseTray(TrayPort& tray, Clock& clock) {
  TrayWindow window = tray.FindTray();
  if (!window) return true;
  tray.SendToTray(window, tray::UM_TRAY_EXIT, kNotifyTimeoutMs);
  for (int look = 0; look < kTrayCloseLooks; ++look) {
    if (!tray.FindTray()) return true;
    clock.Sleep(kTrayClosePauseMs);
  }
  return false;
}

void StartTrayIfMissing(TrayPort& tray, Clock& clock) {
  if (tray.FindTray()) return;
  tray.LaunchTray();
  clock.Sleep(kTrayStartPauseMs);
}

void ReloadTrayAndWait(TrayPort& tray, Clock& clock) {
  const TrayWindow window = LookForTray(tray, clock);
  if (window) {
    tray.SendToTray(window, tray::UM_TRAY_RELOAD, kNotifyTimeoutMs);
    clock.Sleep(kTrayReloadPauseMs);
  }
  WaitForTrayAnswer(tray, clock, window);
}

bool WaitForRestartedTray(TrayPort& tray, Clock& clock) {
  return WaitForTrayAnswer(tray, clock, LookForTray(tray, clock));
}

TrayLaunch TrayProgramLaunch(std::u16string& installFolder, std::u16string_view currentDirectory) {
  if (installFolder.empty()) installFolder = std::u16string(currentDirectory);
  return {JoinPath(installFolder, tray::kTrayExecutable), installFolder};
}

}  // namespace quill::cfg
