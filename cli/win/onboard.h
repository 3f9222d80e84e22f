// The on-board profiles and macros as the commands reach them: the device opened, the managers
// created once, and failures printed in one form (each helper returns false or null after
// printing what went wrong).
#pragma once
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "cli/win/commands.h"

namespace quill::cli {

class Onboard {
 public:
  Onboard(DeviceSession& session, Output& out) : session_(session), out_(out) {}

  bool Open();
  IMeridexProfileManager* profiles();
  IMeridexMacroManager* macros();
  // The profile object of an existing slot ("profile slot N is empty" otherwise).
  bool Profile(int64_t slot, com::ComPtr<IMeridexProfileObject>& out);

  // The macro directory: (macro id, size in bytes) of every stored macro, in directory order.
  bool ListMacros(std::vector<std::pair<LONG, LONG>>& macros);
  // Fills the names of the macro ids in `names` ("missing" for an id the mouse does not hold).
  bool NameMacros(std::map<int32_t, std::string>& names);
  // The name of one macro.
  bool MacroName(LONG id, std::string& name);

  DeviceSession& session() { return session_; }
  Output& out() { return out_; }

 private:
  template <class Manager>
  Manager* Lazy(com::ComPtr<Manager>& manager, HRESULT (DeviceSession::*make)(com::ComPtr<Manager>&),
                const char* what);

  DeviceSession& session_;
  Output& out_;
  com::ComPtr<IMeridexProfileManager> profiles_;
  com::ComPtr<IMeridexMacroManager> macros_;
};

// A profile's DPI stages as IDpi reports them.
struct StageView {
  struct Stage {
    int64_t x = 0;
    int64_t y = 0;
  };
  std::vector<Stage> stages;
  LONG default_stage = 0;
  LONG current_stage = 0;  // the mouse's current stage (of the active profile)
};

// Reads the stages through the profile's IDpi.
HRESULT ReadStages(IMeridexProfileObject* profile, StageView& view);
// Sets the stages (X and Y each) and the default stage; without a default the current one stays
// while it still names a stage, else stage 1. On the active profile the mouse stays on its
// current stage while that still exists.
HRESULT WriteStages(IMeridexProfileObject* profile, const std::vector<StageView::Stage>& stages,
                    std::optional<LONG> default_stage);
// IDpi's record of the stages (allocated by the middleware, freed here).
HRESULT ReadStageRecord(IDpi* dpi, _stDpiStageType& record);

}  // namespace quill::cli
