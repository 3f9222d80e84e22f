// The tray's command-line actions:
//   0       open the configuration application (through the running tray when there is one)
//   1 to 6  activate that profile (list position 1 to 6; the last profile when there are fewer)
//   9       close the running tray and the configuration application
//   10      like 0
// A second start with 1 to 6 hands the action to the running tray (UM_TRAY_ACTIVATE).
#pragma once
#include <cstdint>
#include <string_view>

namespace quill::tray {

constexpr int32_t kNoAction = -1;

// The number at the start of the command line (C atoi: blanks, a sign, digits; anything else
// gives 0); kNoAction when the command line is empty or blank.
int32_t ParseCommandLineAction(std::u16string_view commandLine);

enum class ActionStep {
  kNothing,
  kSendOpenConfig,      // send UM_TRAY_OPEN_CONFIG to the tray window
  kOpenConfigurator,    // OpenConfigurator in this process
  kActivateProfile,     // ActivateProfile(profileIndex, no display)
  kHandOver,            // send UM_TRAY_ACTIVATE with the action to the running tray
  kCloseAll,            // post WM_CLOSE to the tray window and the configuration application
};

struct ActionPlan {
  ActionStep step = ActionStep::kNothing;
  int32_t profileIndex = -1;
  int32_t action = kNoAction;   // the action from now on (0 becomes 10 when no tray runs)
};

// The action run at start (ownWindow false; trayWindowExists: another tray runs) or once the
// tray's own window exists (ownWindow true).
ActionPlan PlanCommandLineAction(int32_t action, bool trayWindowExists, bool ownWindow);

// Start ends at once: another tray runs, or the action is 9.
constexpr bool StartEndsAtOnce(int32_t action, bool trayWindowExists) {
  return trayWindowExists || action == 9;
}

}  // namespace quill::tray
