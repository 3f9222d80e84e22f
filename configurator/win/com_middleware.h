// The configuration application's middleware seam over the shared device session: profile and
// macro handles holding the COM objects, and the calls of opening and applying on them. Every
// object is created, used and released on the worker thread (its apartment).
#pragma once
#include <windows.h>

#include <ServerLib.h>

#include <array>
#include <functional>
#include <vector>

#include "common/win/device_connection.h"
#include "configurator/config_middleware.h"
#include "configurator/entry_links.h"

namespace quill::cfg::win {

// One on-board profile: its object, the LED and DPI sub-interfaces (created when first needed)
// and the parameter record the mappings travel in.
class ComProfileObject final : public ProfileObject {
 public:
  explicit ComProfileObject(com::ComPtr<IMeridexProfileObject> object) : object_(std::move(object)) {}
  IMeridexProfileObject* object() const { return object_.Get(); }
  ILedStatus* Leds();
  IDpi* Dpi();
  // Keeps the sub-interfaces the session already made.
  void Adopt(com::ComPtr<ILedStatus> leds, com::ComPtr<IDpi> dpi);
  HRESULT SetMappings(const MappingSlots& slots);

 private:
  com::ComPtr<IMeridexProfileObject> object_;
  com::ComPtr<ILedStatus> leds_;
  com::ComPtr<IDpi> dpi_;
  std::array<_TButtonMappingInfo, kProfileButtons> mappings_{};
  _TButtonMappingInfo* firstMapping_ = nullptr;
  _TProfileParams params_{};
};

class ComMacroObject final : public MacroObject {
 public:
  explicit ComMacroObject(com::ComPtr<IMeridexMacroObject> object) : object_(std::move(object)) {}
  IMeridexMacroObject* object() const { return object_.Get(); }

 private:
  com::ComPtr<IMeridexMacroObject> object_;
};

// The store records of the seam's types.
_TButtonMappingInfo ToMappingInfo(const buttons::MappingWords& words);
_stDpiStageType ToDpiRecord(const DpiStages& stages);
// One element per upload element, at most the upload's count (and never more than it holds).
std::vector<_TMacroElement> ToMacroElements(const macro_store::MacroUpload& upload);

// Replaces the session's attachments of every entry by this program's links (the COM objects
// moved into ComProfileObject / ComMacroObject, stored flags kept).
void AdoptSessionLinks(EntryLists& lists);

class ComConfigMiddleware final : public ConfigMiddleware {
 public:
  explicit ComConfigMiddleware(quill::win::DeviceConnection& connection) : c_(connection) {}

  // The polling interface of the main device (made when the main device exists and none is held).
  IPollingRate* Polling();
  void ReleasePolling() { polling_.Reset(); }

  bool HasProfileManager() override { return static_cast<bool>(c_.profileManager); }
  bool HasMacroManager() override { return static_cast<bool>(c_.macroManager); }
  bool HasPerformance() override { return static_cast<bool>(c_.performance); }
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

  // Where SaveProfileFiles writes (the user's application-data folder); set by the worker.
  std::function<void()> saveProfileFiles;

 private:
  quill::win::DeviceConnection& c_;
  com::ComPtr<IPollingRate> polling_;
};

}  // namespace quill::cfg::win
