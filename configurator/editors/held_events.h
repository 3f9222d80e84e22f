// Macros never end with a key or mouse button held down: a recording stopped (or cut at the
// 16-event limit) while a key was down, or a release row deleted by hand, would otherwise leave
// the key pressed on the computer after every run of the macro.
//
// Rule: every press without a later release of the same key or button gets its release added at
// the end, 50 ms after the last event, in the order the keys were pressed last first (as fingers
// come off). When the macro has no room left for all releases, the latest unreleased presses are
// dropped until the others' releases fit; nothing that was released in the macro is dropped.
#pragma once

#include "common/macro_events.h"

namespace quill::editors {

constexpr int32_t kAddedReleaseDelayMs = 50;

// True when the events were changed.
bool ReleaseHeldEvents(MacroEventList& events);

// Presses that no later event releases.
int32_t CountHeldEvents(const MacroEventList& events);

}  // namespace quill::editors
