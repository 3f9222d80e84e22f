#include "configurator/tests/recording_device.h"

#include <algorithm>

#include "common/tray_protocol.h"

namespace quill::cfg::test {

namespace {

constexpr TrayWindow kTrayWindow = 0x7A7;

int32_t SlotOf(ProfileObject& profile) { return static_cast<FakeProfile&>(profile).slot; }
int32_t IdOf(MacroObject& macro) { return static_cast<FakeMacro&>(macro).id; }

std::string Narrow(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) out += c < 0x80 ? static_cast<char>(c) : '?';
  return out;
}

}  // namespace

std::string MessageName(uint32_t message) {
  switch (message) {
    case tray::UM_PING: return "UM_PING";
    case tray::UM_TRAY_RELOAD: return "UM_TRAY_RELOAD";
    case tray::UM_TRAY_LANGUAGE: return "UM_TRAY_LANGUAGE";
    case tray::UM_TRAY_OPEN_CONFIG: return "UM_TRAY_OPEN_CONFIG";
    case tray::UM_TRAY_EXIT: return "UM_TRAY_EXIT";
    default: return std::to_string(message);
  }
}

std::string StagesText(const DpiStages& stages) {
  std::string text = "total " + std::to_string(stages.ulTotalStages) + " current " +
                     std::to_string(stages.lCurrentStage) + " default " + std::to_string(stages.lDefaultStage) + " [";
  const uint32_t count = std::min(stages.ulTotalStages, kMaxDpiStages);
  for (uint32_t i = 0; i < count; ++i) {
    if (i) text += ' ';
    text += std::to_string(stages.Sensitivity[i].ulXSensitivity) + "x" + std::to_string(stages.Sensitivity[i].ulYSensitivity);
  }
  return text + "]";
}

int RecordingDevice::Count(const std::string& call) const {
  return static_cast<int>(std::count(calls.begin(), calls.end(), call));
}

std::optional<int32_t> RecordingDevice::GetRate() {
  Log("GetRate");
  return rate;
}

bool RecordingDevice::SetRate(int32_t hz) {
  std::string line = "SetRate " + std::to_string(hz);
  if (flags) line += flags->watchdogPaused ? " (watchdog paused)" : " (watchdog running)";
  Log(line);
  rate = hz;
  return true;
}

std::unique_ptr<ProfileObject> RecordingDevice::CreateProfile() {
  for (int32_t slot = 1; slot <= 5; ++slot) {
    if (usedSlots.count(slot)) continue;
    usedSlots.insert(slot);
    Log("CreateProfile -> " + std::to_string(slot));
    return std::make_unique<FakeProfile>(slot);
  }
  Log("CreateProfile -> none");
  return nullptr;
}

bool RecordingDevice::DeleteProfile(ProfileObject& profile) {
  const int32_t slot = SlotOf(profile);
  // As the store: the base profile and the active one are refused.
  const bool refused = slot == 1 || slot == activeSlot || refusedDeletions.count(slot) > 0;
  Log("DeleteProfile " + std::to_string(slot) + (refused ? " refused" : ""));
  if (!refused) usedSlots.erase(slot);
  return !refused;
}

bool RecordingDevice::SetActiveProfile(ProfileObject& profile) {
  Log("SetActiveProfile " + std::to_string(SlotOf(profile)));
  activeSlot = SlotOf(profile);
  return true;
}

std::optional<int32_t> RecordingDevice::GetActiveProfileNumber() {
  Log("GetActiveProfileNumber");
  return activeSlot;
}

std::optional<int32_t> RecordingDevice::GetProfileNumber(ProfileObject& profile) {
  Log("GetProfileNumber " + std::to_string(SlotOf(profile)));
  return SlotOf(profile);
}

bool RecordingDevice::SetProfileName(ProfileObject& profile, std::u16string_view name) {
  Log("SetProfileName " + std::to_string(SlotOf(profile)) + " '" + Narrow(name) + "'");
  return true;
}

bool RecordingDevice::SetStatus(ProfileObject& profile, uint32_t ledFlags) {
  Log("SetStatus " + std::to_string(SlotOf(profile)) + " " + std::to_string(ledFlags));
  return true;
}

bool RecordingDevice::SetDpiStages(ProfileObject& profile, const DpiStages& stages) {
  Log("SetDpiStages " + std::to_string(SlotOf(profile)) + " " + StagesText(stages));
  return true;
}

bool RecordingDevice::SetProfileMappings(ProfileObject& profile, const MappingSlots& mappings) {
  Log("SetProfileMappings " + std::to_string(SlotOf(profile)));
  mappingsWritten[SlotOf(profile)] = mappings;
  return true;
}

std::unique_ptr<MacroObject> RecordingDevice::CreateMacro() {
  const int32_t id = nextMacroId++;
  Log("CreateMacro -> " + std::to_string(id));
  return std::make_unique<FakeMacro>(id);
}

bool RecordingDevice::DeleteMacro(MacroObject& macro) {
  Log("DeleteMacro " + std::to_string(IdOf(macro)));
  return true;
}

std::optional<int32_t> RecordingDevice::GetMacroId(MacroObject& macro) {
  Log("GetMacroId " + std::to_string(IdOf(macro)));
  return IdOf(macro);
}

bool RecordingDevice::SetMacroName(MacroObject& macro, std::u16string_view name) {
  Log("SetMacroName " + std::to_string(IdOf(macro)) + " '" + Narrow(name) + "'");
  return true;
}

bool RecordingDevice::SetMacro(MacroObject& macro, const macro_store::MacroUpload& upload) {
  Log("SetMacro " + std::to_string(IdOf(macro)) + " " + std::to_string(upload.lNumElements) + " elements");
  macrosWritten[IdOf(macro)] = upload;
  return true;
}

bool RecordingDevice::SetAcceleration(int32_t level) {
  Log("SetAcceleration " + std::to_string(level));
  return true;
}

bool RecordingDevice::SetAccelerationControl(bool enabled) {
  Log(std::string("SetAccelerationControl ") + (enabled ? "1" : "0"));
  return true;
}

void RecordingDevice::SaveProfileFiles() { Log("SaveProfileFiles"); }

TrayWindow RecordingDevice::FindTray() {
  Log("FindTray");
  if (!trayRunning) return 0;
  if (looksUntilTrayShows > 0) {
    --looksUntilTrayShows;
    return 0;
  }
  return kTrayWindow;
}

std::optional<uint64_t> RecordingDevice::SendToTray(TrayWindow window, uint32_t message, uint32_t timeoutMs) {
  Log("Send " + MessageName(message));
  if (window != kTrayWindow || !trayRunning) return std::nullopt;
  if (message == tray::UM_TRAY_EXIT) {
    if (!trayIgnoresExit) trayRunning = false;
    return 0;
  }
  if (message == tray::UM_PING) {
    if (pingsUnanswered > 0) {
      --pingsUnanswered;
      return std::nullopt;
    }
    return tray::PING_REPLY;
  }
  return 0;
}

void RecordingDevice::LaunchTray() {
  Log("LaunchTray");
  trayRunning = true;
}

void RecordingDevice::Sleep(uint32_t ms) {
  Log("Sleep " + std::to_string(ms));
  sleptMs += ms;
}

}  // namespace quill::cfg::test
