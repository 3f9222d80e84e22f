// The generated header compiles in C++ and its records have the sizes and offsets that the
// serialisers (record_layouts.h) and the clients rely on.
#include <windows.h>
#include <ole2.h>

#include <cstddef>
#include <cstdint>
#include <cstring>

#include <gtest/gtest.h>

#include "ServerLib.h"
#include "middleware/typelib/record_layouts.h"

namespace {

namespace L = quill::layout;

// 64-bit: the union of _TButtonMappingInfo holds a pointer at bytes 8 to 15, yet the record
// stays 24 bytes and the stored words keep their offsets.
static_assert(sizeof(void*) == 8, "the product is 64-bit");
static_assert(sizeof(_TButtonMappingInfo) == L::kMappingSize);
static_assert(offsetof(_TButtonMappingInfo, lButton) == L::kMappingButton);
static_assert(offsetof(_TButtonMappingInfo, mappingType) == L::kMappingType);
static_assert(offsetof(_TButtonMappingInfo, actionOrMacro) == 8);
static_assert(offsetof(_TButtonMappingInfo, actionOrMacro.ppszName) == 8);
static_assert(sizeof(decltype(_TActionOrMacro::ppszName)) == 8);
static_assert(offsetof(_TButtonMappingInfo, actionOrMacro.actionInfo.actionType) == L::kMappingActionType);
static_assert(offsetof(_TButtonMappingInfo, actionOrMacro.actionInfo.info) == L::kMappingInfo);
static_assert(sizeof(_TInfo) == 4 * L::kInfoWords);
static_assert(sizeof(_TActionInfo) == 16);
static_assert(sizeof(_TActionOrMacro) == 16);

// Every member of _TInfo lays its words over the same three words.
static_assert(offsetof(_TInfo, click.mouseClick) == 0 && offsetof(_TInfo, click.options) == 4);
static_assert(offsetof(_TInfo, keycode.lScanCode) == 0 && offsetof(_TInfo, keycode.options) == 8);
static_assert(offsetof(_TInfo, property.propertyId) == 0 && offsetof(_TInfo, property.lVal) == 8);
static_assert(offsetof(_TInfo, rawValue.lValue1) == 0 && offsetof(_TInfo, rawValue.lValue2) == 4);
static_assert(offsetof(_TInfo, pressed.button) == 0);
static_assert(offsetof(_TInfo, macro.lMacroId) == 0 && offsetof(_TInfo, macro.lMacroFlags) == 4);

static_assert(sizeof(_TMacroElement) == L::kMacroElementSize);
static_assert(offsetof(_TMacroElement, action.actionType) == L::kMacroElementActionType);
static_assert(offsetof(_TMacroElement, action.info) == L::kMacroElementInfo);
static_assert(offsetof(_TMacroElement, lDelayMs) == L::kMacroElementDelayMs);
static_assert(offsetof(_TMacroElement, lHoldMs) == L::kMacroElementHoldMs);

static_assert(sizeof(TButtonMappingManaged) == L::kManagedRecordSize);
static_assert(offsetof(TButtonMappingManaged, lActionType) == 8);
static_assert(offsetof(TButtonMappingManaged, lParam2) == 20);
static_assert(sizeof(TMacroElementManaged) == L::kManagedRecordSize);
static_assert(offsetof(TMacroElementManaged, lDelayMs) == 16);
static_assert(offsetof(TMacroElementManaged, lHoldMs) == 20);

static_assert(sizeof(_stSensitivityType) == L::kDpiStageEntrySize);
static_assert(sizeof(_stDpiStageType) == L::kDpiStageBlockSize);
static_assert(offsetof(_stDpiStageType, ulTotalStages) == L::kDpiStageTotalStages);
static_assert(offsetof(_stDpiStageType, CurrentDpiStage.ulXSensitivity) == L::kDpiStageCurrentX);
static_assert(offsetof(_stDpiStageType, CurrentDpiStage.ulYSensitivity) == L::kDpiStageCurrentY);
static_assert(offsetof(_stDpiStageType, lCurrentStage) == L::kDpiStageCurrentStage);
static_assert(offsetof(_stDpiStageType, lDefaultStage) == L::kDpiStageDefaultStage);
static_assert(offsetof(_stDpiStageType, Sensitivity) == L::kDpiStageSensitivity);
static_assert(sizeof(_stDpiStageType::Sensitivity) / sizeof(_stSensitivityType) == L::kDpiStageCapacity);

static_assert(sizeof(_TDeviceCapabilities) == 28);
static_assert(offsetof(_TDeviceCapabilities, bHasMeridex) == 12);
static_assert(offsetof(_TDeviceCapabilities, bPollingRateSupported) == 24);
static_assert(sizeof(_TDeviceEnumerationGlobal) == 8);
static_assert(offsetof(_TDeviceEnumerationGlobal, lPidNumDevices) == 4);
static_assert(sizeof(_TDeviceEnumerationGlobal::usPid) == 2);
static_assert(sizeof(_TDeviceEnumerationStatus) == 16);
static_assert(sizeof(_TDeviceStatus) == 12);
static_assert(sizeof(_TButtonStatus) == 8);
static_assert(sizeof(_TXYSensitivityStatus) == 32);
static_assert(sizeof(_TMeridexInfoType) == 16);
static_assert(offsetof(_TMeridexInfoType, ActiveProfile) == 12);
static_assert(sizeof(_TBatteryStatusType) == 8);
static_assert(sizeof(_TWirelessDistanceInfoType) == 24);
static_assert(sizeof(_TDefaultModeInfo) == 4);
static_assert(sizeof(_TMeridexProfileManagerInfo) == 4);
static_assert(sizeof(_TProfileParams) == 16);
static_assert(offsetof(_TProfileParams, ppMappings) == 8);
static_assert(sizeof(_TUserActionParams) == 16);
static_assert(offsetof(_TUserActionParams, ppData) == 8);
static_assert(offsetof(_TMacroParams, FixedDelay) == 12);
static_assert(offsetof(_TMacroParams, lRepeat) == 16);
static_assert(offsetof(_TMacroParams, ppszIconFile) == 24);
static_assert(offsetof(_TMacroParams, lNumElements) == 32);
static_assert(offsetof(_TMacroParams, ppElements) == 40);

// Enumerations are 32-bit and carry the device's values.
static_assert(sizeof(_TButtonDefinitionType) == 4);
static_assert(sizeof(_TButtonMappingType) == 4 && sizeof(_TButtonActionType) == 4);
static_assert(BUTTON_DEFINITION_MOUSE_5 == L::kButtonMouse5 && BUTTON_DEFINITION_MOUSE_4 == L::kButtonMouse4);
static_assert(BUTTON_DEFINITION_LEFT_MOUSE == L::kButtonLeft && BUTTON_DEFINITION_SCROLL_DOWN == L::kButtonScrollDown);
static_assert(BUTTON_DEFINITION_DPI_UP == L::kButtonDpiUp && BUTTON_DEFINITION_DPI_DOWN == L::kButtonDpiDown);
static_assert(BUTTON_DEFINITIO_TEPA_END == 10 && BUTTON_DEFINITION_X1 == 11 && BUTTON_DEFINITION_X5 == 15);
static_assert(BUTTON_DEFINITION_MODIFIER == 16 && BUTTON_DEFINITION_OTFS == 17 && BUTTON_DEFINITION_BUTTONCOUNT == 18);
static_assert(static_cast<uint32_t>(BUTTON_DEFINITION_MASK) == L::kButtonMask);
static_assert(static_cast<uint32_t>(BUTTON_DEFINITION_FLAG_MODIFIER) == L::kButtonFlagModifier);
static_assert(static_cast<int32_t>(BUTTON_DEFINITION_FLAG_MODIFIER) < 0, "the sign bit");
static_assert(BUTTON_MAPPING_DISABLED == L::kMappingDisabled && BUTTON_MAPPING_DEVICE_ACTION == L::kMappingDeviceAction);
static_assert(BUTTON_MAPPING_MACRO == L::kMappingMacro && BUTTON_MAPPING_USER_ACTION == L::kMappingUserAction);
static_assert(BUTTON_MAPPING_MULTIMEDIA == L::kMappingMultimedia && BUTTON_MAPPING_ADVANCED == L::kMappingAdvanced);
static_assert(BUTTON_MAPPING_BUTTONS == L::kMappingButtons);
static_assert(BUTTON_ACTION_CLICK == L::kActionClick && BUTTON_ACTION_KEYCODE == L::kActionKeycode);
static_assert(BUTTON_ACTION_PROPERTY_CHANGE == L::kActionPropertyChange && BUTTON_ACTION_INTERRUPT == L::kActionInterrupt);
static_assert(BUTTON_ACTION_RAW_VALUE == L::kActionRawValue && BUTTON_ACTION_PRESSED == L::kActionPressed);
static_assert(PROPERTY_DPI_STAGE == L::kPropertyDpiStage && PROPERTY_PROFILE == L::kPropertyProfile);
static_assert(KEYCODE_OPTIONS_BREAK == L::kKeycodeOptionsBreak);
static_assert(MOUSE_BUTTON_OFF == 0 && MOUSE_BUTTON_CLICK == 1 && MOUSE_BUTTON_WINDOWS_BUTTON_5 == 4 &&
              MOUSE_BUTTON_WINDOWS_BUTTON_4 == 5 && MOUSE_BUTTON_DOUBLE_CLICK == 13 && MOUSE_BUTTON_STOP == 14);
static_assert(MOUSE_CLICK_LCLICK == 0 && MOUSE_CLICK_BUTTON5CLK == 4);
static_assert(MACRO_OPTIONS_REPEAT_UNTIL_RELEASED == 2 && MACRO_TYPE_KEYSTROKE == 1 && BUS_TYPE_USB == 0);

// The name pointer of a macro mapping and the action words share the union: the pointer covers
// bytes 8 to 15, the action type word is byte 8 and the info words start at byte 12.
TEST(TypelibLayout, MappingUnionPlacesPointerAndWordsAtFixedBytes) {
    LPWSTR name = const_cast<LPWSTR>(L"Macro 1");
    _TButtonMappingInfo m{};
    m.mappingType = BUTTON_MAPPING_MACRO;
    m.actionOrMacro.ppszName = &name;
    const auto* bytes = reinterpret_cast<const unsigned char*>(&m);
    void* stored = nullptr;
    std::memcpy(&stored, bytes + 8, sizeof stored);
    EXPECT_EQ(stored, static_cast<void*>(&name));

    _TButtonMappingInfo p{};
    p.lButton = BUTTON_DEFINITION_MOUSE_4;
    p.mappingType = BUTTON_MAPPING_BUTTONS;
    p.actionOrMacro.actionInfo.actionType = BUTTON_ACTION_PRESSED;
    p.actionOrMacro.actionInfo.info.pressed.button = MOUSE_BUTTON_DPI_UP;
    p.actionOrMacro.actionInfo.info.alWords[2] = 0x11223344;
    const int32_t expected[6] = {5, 6, 5, 11, 0, 0x11223344};
    int32_t words[6];
    std::memcpy(words, &p, sizeof words);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(words[i], expected[i]) << "word " << i;
}

}  // namespace
