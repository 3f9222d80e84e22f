// The mouse the benchmarks work on: five named profiles and up to 70 named macros.
#pragma once
#include <string>
#include <vector>

#include "emulator/device_state.h"
#include "middleware/objects/device/macro_stream.h"
#include "middleware/typelib/record_layouts.h"

namespace quill::bench {

// Sixteen events: eight keys pressed and released, 40 ms apart.
inline device::MacroRecord SixteenEvents() {
  device::MacroRecord macro;
  macro.FixedDelay = 10;
  for (int32_t key = 0; key < 8; ++key) {
    for (bool press : {true, false}) {
      device::MacroElementRecord e;
      e.actionType = layout::kActionKeycode;
      e.info = {0x10 + key, 0, press ? 0 : layout::kKeycodeOptionsBreak};
      e.lDelayMs = 40;
      macro.elements.push_back(e);
    }
  }
  return macro;
}

// A mouse holding five named profiles and `macros` named macros of sixteen events.
inline emu::DeviceState FullMouse(int macros) {
  emu::DeviceState state = emu::DeviceState::Factory();
  for (uint8_t slot = 1; slot <= 5; ++slot) {
    state.Slot(slot).name = emu::ProfileNameFromText(u"Profile " + std::u16string(1, u'0' + slot));
    state.Slot(slot).block = emu::DefaultProfileBlock(slot);
  }
  std::vector<uint8_t> stream;
  device::EncodeMacroStream(SixteenEvents(), stream);
  for (int i = 0; i < macros; ++i) {
    std::vector<uint8_t> data = stream;
    const std::u16string name = u"Macro " + std::u16string(1, u'A' + i % 26) + std::u16string(1, u'a' + i / 26);
    for (size_t c = 0; c < name.size(); ++c) {
      data[2 * c] = static_cast<uint8_t>(name[c]);
      data[2 * c + 1] = static_cast<uint8_t>(name[c] >> 8);
    }
    state.macros[static_cast<size_t>(i)].data = std::move(data);
  }
  return state;
}

}  // namespace quill::bench
