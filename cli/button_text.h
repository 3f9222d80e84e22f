// Button assignments of an on-board profile in words, as `QuillfernCli profiles` lists them.
#pragma once
#include <array>
#include <cstdint>
#include <string>

namespace quill::cli {

// The words of a _TButtonMappingInfo: lButton, mappingType, and the action (type, three words).
struct ButtonMapping {
  int32_t button = 0;
  int32_t mapping_type = 0;
  int32_t action_type = 0;
  std::array<int32_t, 3> info{};
};

// "left", "right", "middle", "button4", "button5", "dpi-up", "dpi-down", "scroll-up",
// "scroll-down"; other identifiers "button N".
std::string ButtonName(int32_t button);

// What the button does: "click", "menu", "dpi up", "DPI stage 2", "profile 3", "key A",
// "macro 4", "multimedia 0x00E9", "advanced 0x12 0x34", "disabled"; unknown forms show their
// words. Macro names are added by the caller (MacroIdOf tells which macro).
std::string AssignmentText(const ButtonMapping& mapping);

// The 1-based macro id a mapping plays, 0 when it plays none.
int32_t MacroIdOf(const ButtonMapping& mapping);

}  // namespace quill::cli
