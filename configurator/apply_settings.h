// Writing the edited settings to the mouse (worker command 2), in this order:
//   1. polling rate: the same rate tells the tray to reload and waits for its answer; another
//      rate closes the tray, sets the rate with the watchdog paused and starts the tray again
//   2. the sensitivity sliders into the current stage of the selected profile, its stages written
//   3. macros assigned to a button, changed, deleted or new
//   4. profiles, first pass: deletions (the base profile activated first when the active one
//      goes), new profiles, names, LEDs, stages, macro buttons
//   5. profiles, second pass: profile-switch buttons (every profile now has its slot), the
//      selected profile made active, the mappings
//   6. acceleration
//   7. the per-profile text files, then the tray told to reload so that it reads them
//
// The dialog's values are taken into ApplyInputs on the main thread when APPLY or OK starts the
// apply; the apply never reads a control. The entries and ApplyState belong to the worker while
// it applies; the main thread reads them again once the command word says 20.
#pragma once
#include <cstddef>
#include <cstdint>

#include "common/dpi_stages.h"
#include "common/profile_records.h"
#include "configurator/config_middleware.h"
#include "configurator/tray_control.h"
#include "configurator/worker_command.h"

namespace quill::cfg {

struct ApplyInputs {
  double xSensitivity = 18;          // sensitivity sliders, units of 100 DPI (1 to 56)
  double ySensitivity = 18;
  double acceleration = 1;           // acceleration slider (1 to 10)
  bool accelerationEnabled = false;  // "Enable Acceleration"
  int32_t rate = 0;                  // polling rate chosen, Hz
  ptrdiff_t selectedRow = 0;         // row of the profile list the pages show
};

// Connection values the apply reads and brings up to date.
struct ApplyState {
  int32_t rate = 0;             // polling rate in effect (read back after a change)
  ptrdiff_t activeIndex = -1;   // list position of the active profile
};

struct ApplyPorts {
  ConfigMiddleware& device;
  TrayPort& tray;
  Clock& clock;
  SessionFlags& flags;
};

// The whole apply (worker command 2).
void ApplySettings(ApplyPorts& ports, EntryLists& lists, const ApplyInputs& inputs, ApplyState& state);

// The apply without the polling rate and the text files: DPI stages of the selected profile,
// macros, profiles, acceleration (also run by the DPI stages dialog's APPLY).
void ApplyProfileSettings(ConfigMiddleware& device, EntryLists& lists, const ApplyInputs& inputs, ApplyState& state);

// DPI of a sensitivity slider: trunc(value + 0.49) x 100, the value taken within 1 to 56.
uint32_t SliderDpi(double slider);
// Acceleration level of the acceleration slider: trunc(value), within 1 to 10.
int32_t AccelerationLevel(double slider);
// Current and default stage limited to the stage count (compared unsigned, so a negative stage
// is limited too).
void ClampStages(DpiStages& stages);

}  // namespace quill::cfg
