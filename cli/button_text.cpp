#include "cli/button_text.h"

#include <cstdio>

#include "cli/input_names.h"

namespace quill::cli {
namespace {

// _TButtonMappingType
constexpr int32_t kMappingDisabled = 0;
constexpr int32_t kMappingDeviceAction = 1;
constexpr int32_t kMappingMacro = 2;
constexpr int32_t kMappingUserAction = 3;
constexpr int32_t kMappingMultimedia = 4;
constexpr int32_t kMappingAdvanced = 5;
constexpr int32_t kMappingButtons = 6;
// _TButtonActionType and _TDevicePropertyType
constexpr int32_t kActionClick = 0;
constexpr int32_t kActionKeycode = 1;
constexpr int32_t kPropertyDpiStage = 4;
constexpr int32_t kPropertyProfile = 5;

std::string Hex(int32_t value, int digits) {
  char text[16];
  std::snprintf(text, sizeof text, "0x%0*X", digits, static_cast<unsigned>(value));
  return text;
}

std::string Words(const ButtonMapping& m) {
  return "type " + std::to_string(m.mapping_type) + " action " + std::to_string(m.action_type) + " (" +
         std::to_string(m.info[0]) + ", " + std::to_string(m.info[1]) + ", " + std::to_string(m.info[2]) + ")";
}

std::string KeyText(int32_t code) {
  return code >= 0 && code <= 0xFF ? "key " + KeyUsageName(static_cast<uint8_t>(code)) : "key code " + std::to_string(code);
}

// _TMouseButtonType: the mouse's own button functions.
std::string ButtonFunction(int32_t function) {
  switch (function) {
    case 0: return "off";
    case 1: return "left click";
    case 2: return "right click";
    case 3: return "middle click";
    case 4: return "button5";
    case 5: return "button4";
    case 8: return "scroll up";
    case 9: return "scroll down";
    case 10: return "on-the-fly sensitivity";
    case 11: return "dpi up";
    case 12: return "dpi down";
    case 13: return "double click";
    case 14: return "stop";
  }
  return "button function " + std::to_string(function);
}

}  // namespace

std::string ButtonName(int32_t button) {
  // _TButtonDefinitionType: identifier 4 is the fifth mouse button, 5 the fourth.
  switch (button) {
    case 1: return "left";
    case 2: return "right";
    case 3: return "middle";
    case 4: return "button5";
    case 5: return "button4";
    case 6: return "dpi-up";
    case 7: return "dpi-down";
    case 8: return "scroll-up";
    case 9: return "scroll-down";
  }
  return "button " + std::to_string(button);
}

std::string AssignmentText(const ButtonMapping& m) {
  switch (m.mapping_type) {
    case kMappingDisabled:
      return "disabled";
    case kMappingButtons:
      return ButtonFunction(m.info[0]);
    case kMappingDeviceAction:
      if (m.info[0] == kPropertyDpiStage) return "DPI stage " + std::to_string(m.info[2]);
      if (m.info[0] == kPropertyProfile) return "profile " + std::to_string(m.info[2]);
      if (m.action_type == kActionClick) return "click " + MouseButtonName(m.info[0]);
      if (m.action_type == kActionKeycode) return KeyText(m.info[0]);
      return Words(m);
    case kMappingUserAction:
      return KeyText(m.info[0]);
    case kMappingMacro:
      return "macro " + std::to_string(m.info[0]);
    case kMappingMultimedia:
      return "multimedia " + Hex(m.info[0] & 0xFF, 2) + " " + Hex(m.info[1] & 0xFF, 2);
    case kMappingAdvanced:
      return "advanced " + Hex(m.info[0] & 0xFF, 2) + " " + Hex(m.info[1] & 0xFF, 2);
  }
  return Words(m);
}

int32_t MacroIdOf(const ButtonMapping& m) { return m.mapping_type == kMappingMacro ? m.info[0] : 0; }

}  // namespace quill::cli
