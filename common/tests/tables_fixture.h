// Small builders shared by the table tests.
#pragma once
#include <initializer_list>
#include <utility>

#include "common/macro_events.h"

namespace quill::tables_test {

// A macro of (code, time) pairs.
inline MacroEventList Events(std::initializer_list<std::pair<uint16_t, int32_t>> list) {
  MacroEventList events;
  for (const auto& [code, time] : list) {
    if (events.lNumElements >= kMaxMacroEvents) break;
    events.ausCodes[static_cast<size_t>(events.lNumElements)] = code;
    events.alTimes[static_cast<size_t>(events.lNumElements)] = time;
    ++events.lNumElements;
  }
  return events;
}

}  // namespace quill::tables_test
