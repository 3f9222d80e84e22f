#include "configurator/editors/held_events.h"

#include <algorithm>
#include <vector>

namespace quill::editors {
namespace {

uint16_t PressOf(uint16_t code) { return static_cast<uint16_t>(code & ~kEventRelease); }

// Indexes of the presses that no later event releases, in event order.
std::vector<int> UnreleasedPresses(const MacroEventList& events) {
  std::vector<int> held;
  for (int i = 0; i < events.lNumElements; ++i) {
    const uint16_t code = events.ausCodes[i];
    if (code == 0) continue;  // names nothing, holds nothing
    const uint16_t press = PressOf(code);
    auto same = std::find_if(held.begin(), held.end(), [&](int j) { return events.ausCodes[j] == press; });
    if (IsReleaseEvent(code)) {
      if (same != held.end()) held.erase(same);
    } else if (same == held.end()) {
      held.push_back(i);
    }
  }
  return held;
}

void DropEvent(MacroEventList& events, int index) {
  for (int i = index; i + 1 < events.lNumElements; ++i) {
    events.ausCodes[i] = events.ausCodes[i + 1];
    events.alTimes[i] = events.alTimes[i + 1];
  }
  --events.lNumElements;
  events.ausCodes[events.lNumElements] = 0;
  events.alTimes[events.lNumElements] = 0;
}

}  // namespace

int32_t CountHeldEvents(const MacroEventList& events) {
  MacroEventList bounded = events;
  bounded.lNumElements = std::clamp<int32_t>(bounded.lNumElements, 0, kMaxMacroEvents);
  return static_cast<int32_t>(UnreleasedPresses(bounded).size());
}

bool ReleaseHeldEvents(MacroEventList& events) {
  events.lNumElements = std::clamp<int32_t>(events.lNumElements, 0, kMaxMacroEvents);
  std::vector<int> held = UnreleasedPresses(events);
  if (held.empty()) return false;
  while (!held.empty() && events.lNumElements + static_cast<int32_t>(held.size()) > kMaxMacroEvents) {
    DropEvent(events, held.back());
    held.pop_back();
  }
  for (auto it = held.rbegin(); it != held.rend(); ++it) {
    const int32_t n = events.lNumElements;
    const int32_t last = n > 0 ? events.alTimes[n - 1] : 0;
    events.ausCodes[n] = static_cast<uint16_t>(events.ausCodes[*it] | kEventRelease);
    events.alTimes[n] = last + kAddedReleaseDelayMs;
    ++events.lNumElements;
  }
  return true;
}

}  // namespace quill::editors
