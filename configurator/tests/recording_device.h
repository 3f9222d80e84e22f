// A recording fake of the configuration application's seams: the middleware, the tray agent and
// the clock. Every call that reaches the mouse, the tray or the clock is logged as one line
// ("SetStatus 2 7"); scripted state decides the answers.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "configurator/config_middleware.h"
#include "configurator/tray_control.h"
#include "configurator/worker_command.h"

namespace quill::cfg::test {

struct FakeProfile : ProfileObject {
  explicit FakeProfile(int32_t slot) : slot(slot) {}
  int32_t slot;
};

struct FakeMacro : MacroObject {
  explicit FakeMacro(int32_t id) : id(id) {}
  int32_t id;
};

class RecordingDevice final : public ConfigMiddleware, public TrayPort, public Clock {
 public:
  // --- scripted state ---
  bool profileManager = true;
  bool macroManager = true;
  bool performance = true;
  std::optional<int32_t> rate = 500;      // nullopt: the rate cannot be read
  int32_t activeSlot = 1;
  std::set<int32_t> usedSlots{1, 2, 3};   // CreateProfile takes the first free one
  std::set<int32_t> refusedDeletions;     // DeleteProfile fails for these slots
  int32_t nextMacroId = 10;
  // Tray: the window exists while running; after LaunchTray it shows after this many looks.
  bool trayRunning = true;
  int looksUntilTrayShows = 0;
  int pingsUnanswered = 0;                // pings that time out before the tray answers
  bool trayIgnoresExit = false;           // a hung tray that never closes
  const SessionFlags* flags = nullptr;    // when set, SetRate logs whether the watchdog is paused

  // --- what happened ---
  std::vector<std::string> calls;
  std::map<int32_t, MappingSlots> mappingsWritten;  // by slot, last SetProfileMappings
  std::map<int32_t, macro_store::MacroUpload> macrosWritten;  // by id, last SetMacro
  uint64_t sleptMs = 0;
  int Count(const std::string& call) const;

  // ConfigMiddleware
  bool HasProfileManager() override { return profileManager; }
  bool HasMacroManager() override { return macroManager; }
  bool HasPerformance() override { return performance; }
  std::optional<int32_t> GetRate() override;
  bool SetRate(int32_t hz) override;
  std::unique_ptr<ProfileObject> CreateProfile() override;
  bool DeleteProfile(ProfileObject& profile) override;
  bool SetActiveProfile(ProfileObject& profile) override;
  std::optional<int32_t> GetActiveProfileNumber() override;
  std::optional<int32_t> GetProfileNumber(ProfileObject& profile) override;
  bool SetProfileName(ProfileObject& profile, std::u16string_view name) override;
  bool SetStatus(ProfileObject& profile, uint32_t ledFlags) override;
  bool SetDpiStages(ProfileObject& profile, const DpiStages& stages) override;
  bool SetProfileMappings(ProfileObject& profile, const MappingSlots& mappings) override;
  std::unique_ptr<MacroObject> CreateMacro() override;
  bool DeleteMacro(MacroObject& macro) override;
  std::optional<int32_t> GetMacroId(MacroObject& macro) override;
  bool SetMacroName(MacroObject& macro, std::u16string_view name) override;
  bool SetMacro(MacroObject& macro, const macro_store::MacroUpload& upload) override;
  bool SetAcceleration(int32_t level) override;
  bool SetAccelerationControl(bool enabled) override;
  void SaveProfileFiles() override;

  // TrayPort
  TrayWindow FindTray() override;
  std::optional<uint64_t> SendToTray(TrayWindow window, uint32_t message, uint32_t timeoutMs) override;
  void LaunchTray() override;

  // Clock
  void Sleep(uint32_t ms) override;

 private:
  void Log(std::string line) { calls.push_back(std::move(line)); }
};

// Short text of a message number ("UM_PING").
std::string MessageName(uint32_t message);
// Text of a stage record as SetDpiStages logs it: "total 2 current 2 default 1 [800x800 1800x1800]".
std::string StagesText(const DpiStages& stages);

}  // namespace quill::cfg::test
