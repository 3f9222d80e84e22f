// Writing the edited settings to the mouse (worker command 2): polling rate, the DPI stages of
// the selected profile, macros, profiles, acceleration, then the per-profile text files.
//
// The dialog's values are taken into ApplyInputs on the main thread when APPLY or OK starts the
// apply; the apply never reads a control.
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
