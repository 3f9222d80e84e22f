// The middleware as the configuration application sees it: the calls that opening and applying
// make, over handles the Windows side maps to its COM objects. The apply sequence and its tests
// are written against this interface only.
//
// A ProfileObject stands for one on-board profile (the profile object with its LED and DPI
// sub-interfaces, created when first needed), a MacroObject for one on-board macro. The
// algorithms only hold and pass them; they live in the entries' attachments (entry_links.h).
//
// Every call answers whether it succeeded; the reason of a failure is not used.
#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "common/dpi_stages.h"
#include "common/macro_upload.h"
#include "common/profile_records.h"

namespace quill::cfg {

class ProfileObject {
 public:
  virtual ~ProfileObject() = default;
};

class MacroObject {
 public:
  virtual ~MacroObject() = default;
};

class ConfigMiddleware {
 public:
  virtual ~ConfigMiddleware() = default;

  // Which parts of the connection exist (no device traffic).
  virtual bool HasProfileManager() = 0;
  virtual bool HasMacroManager() = 0;
  virtual bool HasPerformance() = 0;

  // Polling rate of the mouse in Hz (125, 500, 1000); GetRate fails without a polling interface.
  virtual std::optional<int32_t> GetRate() = 0;
  virtual bool SetRate(int32_t hz) = 0;

  // Profile manager.
  virtual std::unique_ptr<ProfileObject> CreateProfile() = 0;
  virtual bool DeleteProfile(ProfileObject& profile) = 0;
  virtual bool SetActiveProfile(ProfileObject& profile) = 0;
  // Slot (1 to 5) of the profile the mouse has active.
  virtual std::optional<int32_t> GetActiveProfileNumber() = 0;

  // One profile: its slot, name, LED switches (ulLedFlags), DPI stages (the record carries its
  // stage count) and its nine mapping records.
  virtual std::optional<int32_t> GetProfileNumber(ProfileObject& profile) = 0;
  virtual bool SetProfileName(ProfileObject& profile, std::u16string_view name) = 0;
  virtual bool SetStatus(ProfileObject& profile, uint32_t ledFlags) = 0;
  virtual bool SetDpiStages(ProfileObject& profile, const DpiStages& stages) = 0;
  virtual bool SetProfileMappings(ProfileObject& profile, const MappingSlots& mappings) = 0;

  // Macro manager and one macro.
  virtual std::unique_ptr<MacroObject> CreateMacro() = 0;
  virtual bool DeleteMacro(MacroObject& macro) = 0;
  virtual std::optional<int32_t> GetMacroId(MacroObject& macro) = 0;
  virtual bool SetMacroName(MacroObject& macro, std::u16string_view name) = 0;
  virtual bool SetMacro(MacroObject& macro, const macro_store::MacroUpload& upload) = 0;

  // Windows pointer acceleration (performance interface).
  virtual bool SetAcceleration(int32_t level) = 0;
  virtual bool SetAccelerationControl(bool enabled) = 0;

  // Writes the per-profile text files of every profile of the lists.
  virtual void SaveProfileFiles() = 0;
};

}  // namespace quill::cfg
