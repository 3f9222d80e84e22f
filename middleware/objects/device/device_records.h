// Portable forms of the type-library records the device features read and write, with explicit
// 32-bit fields in the records' word order. The COM layer copies them field by field into the
// type-library structures (whose unions hold pointers on x64) and back; nothing here is ever
// copied into a byte buffer as memory.
#pragma once
#include <array>
#include <cstdint>
#include <vector>

#include "middleware/transport/commands.h"
#include "middleware/typelib/record_layouts.h"

namespace quill::device {

// _stSensitivityType: DPI values.
struct SensitivityRecord {
  uint32_t ulXSensitivity = 0;
  uint32_t ulYSensitivity = 0;
  bool operator==(const SensitivityRecord&) const = default;
};

// _stDpiStageType. `Sensitivity` has the ten entries of the record; at most five are used.
struct DpiStageRecord {
  uint32_t ulTotalStages = 0;
  SensitivityRecord CurrentDpiStage;
  int32_t lCurrentStage = 0;
  int32_t lDefaultStage = 0;
  std::array<SensitivityRecord, layout::kDpiStageCapacity> Sensitivity{};
  bool operator==(const DpiStageRecord&) const = default;
};

// _TButtonMappingInfo as the device features see it: `actionType` is the union's first word
// (actionOrMacro.actionInfo.actionType) and `info` the three words of actionInfo.info.
struct ButtonMappingRecord {
  int32_t lButton = 0;
  int32_t mappingType = layout::kMappingDisabled;
  int32_t actionType = 0;
  std::array<int32_t, layout::kInfoWords> info{};
  bool operator==(const ButtonMappingRecord&) const = default;
};

// _TMacroElement: action (type and three info words), delay and hold time.
struct MacroElementRecord {
  int32_t actionType = 0;
  std::array<int32_t, layout::kInfoWords> info{};
  int32_t lDelayMs = 0;
  int32_t lHoldMs = 0;
  bool operator==(const MacroElementRecord&) const = default;
};

// _TMacroParams without the icon file (the device stores none; the COM layer hands out null).
struct MacroRecord {
  int32_t lVersion = 0;
  int32_t options = 0;
  int32_t type = 0;
  uint32_t FixedDelay = 0;
  int32_t lRepeat = 0;
  std::vector<MacroElementRecord> elements;
  bool operator==(const MacroRecord&) const = default;
};

// Enumeration values of the type library that record_layouts.h does not carry.
inline constexpr int32_t kClickLeft = 0;          // MOUSE_CLICK_LCLICK
inline constexpr int32_t kClickRight = 1;         // MOUSE_CLICK_RCLICK
inline constexpr int32_t kClickMiddle = 2;        // MOUSE_CLICK_MCLICK
inline constexpr int32_t kClickButton4 = 3;       // MOUSE_CLICK_BUTTON4CLK
inline constexpr int32_t kClickButton5 = 4;       // MOUSE_CLICK_BUTTON5CLK
inline constexpr int32_t kClickDoubleLeft = 5;    // MOUSE_CLICK_DOUBLE_LCLICK
inline constexpr int32_t kMouseButtonLast = 14;   // MOUSE_BUTTON_STOP
inline constexpr int32_t kMacroOptionsUseRepeatCount = 0;  // MACRO_OPTIONS_USE_REPEAT_COUNT
inline constexpr int32_t kMacroTypeKeystroke = 1;          // MACRO_TYPE_KEYSTROKE

// Info words of the unions, by the member that uses them.
inline constexpr size_t kClickType = 0;       // _TClickInfo.mouseClick
inline constexpr size_t kClickOptions = 1;    // _TClickInfo.options
inline constexpr size_t kKeyScanCode = 0;     // _TKeycodeInfo.lScanCode
inline constexpr size_t kKeyVirtualKey = 1;   // _TKeycodeInfo.lVirtualKey
inline constexpr size_t kKeyOptions = 2;      // _TKeycodeInfo.options

// Profile slots are 1 to 5; macro numbers 0 to 69 (clients see number + 1).
inline constexpr int32_t kFirstSlot = 1;
inline constexpr int32_t kLastSlot = static_cast<int32_t>(kProfileSlots);
inline constexpr int32_t kNoNumber = -1;  // an object bound to no profile or macro
constexpr bool ValidSlot(int32_t slot) { return slot >= kFirstSlot && slot <= kLastSlot; }
constexpr bool ValidMacroNumber(int32_t number) {
  return number >= 0 && number < static_cast<int32_t>(kMaxMacros);
}

}  // namespace quill::device
