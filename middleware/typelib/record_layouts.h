// Byte layouts of the type-library records that are stored or sent as bytes (registry values,
// export data, device-side copies). Serialisers write and read these offsets explicitly,
// little-endian, 32-bit words; they never copy a struct, whose in-memory layout differs on x64
// where a union holds a pointer.
#pragma once
#include <cstddef>

namespace quill::layout {

// _TButtonMappingInfo as stored: 24 bytes. For the macro and user-action mapping types the word
// at kMappingActionType is the union's name pointer in memory and is stored as 0.
inline constexpr std::size_t kMappingSize = 24;
inline constexpr std::size_t kMappingButton = 0;       // lButton
inline constexpr std::size_t kMappingType = 4;         // mappingType
inline constexpr std::size_t kMappingActionType = 8;   // actionOrMacro.actionInfo.actionType
inline constexpr std::size_t kMappingInfo = 12;        // actionOrMacro.actionInfo.info, 3 words
inline constexpr std::size_t kInfoWords = 3;

// _TMacroElement: 24 bytes, no pointer, identical in memory and storage.
inline constexpr std::size_t kMacroElementSize = 24;
inline constexpr std::size_t kMacroElementActionType = 0;  // action.actionType
inline constexpr std::size_t kMacroElementInfo = 4;        // action.info, 3 words
inline constexpr std::size_t kMacroElementDelayMs = 16;    // lDelayMs
inline constexpr std::size_t kMacroElementHoldMs = 20;     // lHoldMs

// TButtonMappingManaged and TMacroElementManaged: six 32-bit words in the order of the
// corresponding record (24 bytes).
inline constexpr std::size_t kManagedRecordSize = 24;

// _stDpiStageType as handed out by GetDpiStages: one 100-byte block with room for ten stages.
inline constexpr std::size_t kDpiStageBlockSize = 100;
inline constexpr std::size_t kDpiStageTotalStages = 0;     // ulTotalStages
inline constexpr std::size_t kDpiStageCurrentX = 4;        // CurrentDpiStage.ulXSensitivity
inline constexpr std::size_t kDpiStageCurrentY = 8;        // CurrentDpiStage.ulYSensitivity
inline constexpr std::size_t kDpiStageCurrentStage = 12;   // lCurrentStage
inline constexpr std::size_t kDpiStageDefaultStage = 16;   // lDefaultStage
inline constexpr std::size_t kDpiStageSensitivity = 20;    // Sensitivity[0]; 8 bytes per stage
inline constexpr std::size_t kDpiStageEntrySize = 8;
inline constexpr std::size_t kDpiStageCapacity = 10;

// Enumeration values fixed by the type library, for portable code.
inline constexpr int kButtonLeft = 1;
inline constexpr int kButtonRight = 2;
inline constexpr int kButtonCenter = 3;
inline constexpr int kButtonMouse5 = 4;   // BUTTON_DEFINITION_MOUSE_5 comes before MOUSE_4
inline constexpr int kButtonMouse4 = 5;
inline constexpr int kButtonDpiUp = 6;
inline constexpr int kButtonDpiDown = 7;
inline constexpr int kButtonScrollUp = 8;
inline constexpr int kButtonScrollDown = 9;
inline constexpr unsigned kButtonFlagModifier = 0x80000000u;
inline constexpr unsigned kButtonMask = 0xFFFFu;

inline constexpr int kMappingDisabled = 0;
inline constexpr int kMappingDeviceAction = 1;
inline constexpr int kMappingMacro = 2;
inline constexpr int kMappingUserAction = 3;
inline constexpr int kMappingMultimedia = 4;
inline constexpr int kMappingAdvanced = 5;
inline constexpr int kMappingButtons = 6;

inline constexpr int kActionClick = 0;
inline constexpr int kActionKeycode = 1;
inline constexpr int kActionPropertyChange = 2;
inline constexpr int kActionInterrupt = 3;
inline constexpr int kActionRawValue = 4;
inline constexpr int kActionPressed = 5;

inline constexpr int kPropertyDpiStage = 4;
inline constexpr int kPropertyProfile = 5;
inline constexpr int kKeycodeOptionsBreak = 2;

}  // namespace quill::layout
