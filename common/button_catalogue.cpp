#include "common/button_catalogue.h"

#include <algorithm>

namespace quill::buttons {
namespace {

constexpr std::array<ButtonInfo, kButtonCount> kButtons = {{
    {2800, 0, BUTTON_DEFINITION_LEFT_MOUSE, 0, Catalogue::Full, kFunctionClick},
    {2801, 1, BUTTON_DEFINITION_RIGHT_MOUSE, 1, Catalogue::Full, kFunctionMenu},
    {2802, 2, BUTTON_DEFINITION_CENTER_MOUSE, 2, Catalogue::Full, kFunctionUniversalScrolling},
    {2803, 3, BUTTON_DEFINITION_MOUSE_4, 4, Catalogue::Full, kFunctionBackward},
    {2804, 4, BUTTON_DEFINITION_MOUSE_5, 3, Catalogue::Full, kFunctionForward},
    {2805, 5, BUTTON_DEFINITION_DPI_UP, 5, Catalogue::Full, kFunctionStageUp},
    {2806, 6, BUTTON_DEFINITION_DPI_DOWN, 6, Catalogue::Full, kFunctionStageDown},
    {2807, 7, BUTTON_DEFINITION_SCROLL_UP, 7, Catalogue::Wheel, kFunctionScrollUp},
    {2808, 8, BUTTON_DEFINITION_SCROLL_DOWN, 8, Catalogue::Wheel, kFunctionScrollDown},
}};

constexpr int32_t kButtons6 = BUTTON_MAPPING_BUTTONS;
constexpr int32_t kPressed = BUTTON_ACTION_PRESSED;

constexpr std::array<CatalogueFunction, kFunctionCount> kFunctions = {{
    {kFunctionClick, u"Click", FunctionKind::Fixed, kButtons6, kPressed, MOUSE_BUTTON_CLICK, false},
    {kFunctionMenu, u"Menu", FunctionKind::Fixed, kButtons6, kPressed, MOUSE_BUTTON_MENU, false},
    {kFunctionUniversalScrolling, u"Universal Scrolling", FunctionKind::Fixed, kButtons6, kPressed,
     MOUSE_BUTTON_UNIVERSAL_SCROLLING, false},
    {kFunctionDoubleClick, u"Double-Click", FunctionKind::Fixed, kButtons6, kPressed, MOUSE_BUTTON_DOUBLE_CLICK, false},
    {kFunctionMacro, u"Macro", FunctionKind::Macro, BUTTON_MAPPING_MACRO, kPressed, 0, false},
    {kFunctionStageUp, u"Sensitivity Stage Up", FunctionKind::Fixed, kButtons6, kPressed, MOUSE_BUTTON_DPI_UP, true},
    {kFunctionStageDown, u"Sensitivity Stage Down", FunctionKind::Fixed, kButtons6, kPressed, MOUSE_BUTTON_DPI_DOWN,
     true},
    {kFunctionForward, u"Forward", FunctionKind::Fixed, kButtons6, kPressed, MOUSE_BUTTON_WINDOWS_BUTTON_5, false},
    {kFunctionBackward, u"Backward", FunctionKind::Fixed, kButtons6, kPressed, MOUSE_BUTTON_WINDOWS_BUTTON_4, false},
    {kFunctionOnTheFly, u"On-The-Fly Sensitivity", FunctionKind::Fixed, kButtons6, kPressed,
     MOUSE_BUTTON_ON_THE_FLY_SENSITIVITY, false},
    {kFunctionSingleKey, u"Single Key", FunctionKind::SingleKey, BUTTON_MAPPING_USER_ACTION, BUTTON_ACTION_KEYCODE, 0,
     false},
    {kFunctionProfile, u"Profile", FunctionKind::Profile, BUTTON_MAPPING_DEVICE_ACTION, 0, 0, false},
    {kFunctionScrollUp, u"Scroll Up", FunctionKind::Fixed, kButtons6, kPressed, MOUSE_BUTTON_SCROLL_UP, false},
    {kFunctionScrollDown, u"Scroll Down", FunctionKind::Fixed, kButtons6, kPressed, MOUSE_BUTTON_SCROLL_DOWN, false},
    {kFunctionButtonOff, u"Button Off", FunctionKind::Fixed, kButtons6, kPressed, MOUSE_BUTTON_OFF, false},
}};

constexpr std::array<int, kFunctionCount> kFullList = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14};
constexpr std::array<int, 6> kWheelList = {kFunctionMacro,    kFunctionStageUp,    kFunctionStageDown,
                                           kFunctionScrollUp, kFunctionScrollDown, kFunctionButtonOff};

}  // namespace

std::span<const ButtonInfo, kButtonCount> Buttons() { return kButtons; }

const ButtonInfo* ButtonForBox(int box) {
  if (box < kFirstButtonBox || box > kLastButtonBox) return nullptr;
  return &kButtons[static_cast<size_t>(box - kFirstButtonBox)];
}

const ButtonInfo* ButtonForFileIndex(int fileIndex) {
  if (fileIndex < 0 || fileIndex >= kButtonCount) return nullptr;
  return &kButtons[static_cast<size_t>(fileIndex)];
}

const ButtonInfo* ButtonForSlot(int slot) {
  for (const ButtonInfo& button : kButtons) {
    if (button.slot == slot) return &button;
  }
  return nullptr;
}

std::span<const CatalogueFunction, kFunctionCount> Functions() { return kFunctions; }

const CatalogueFunction* FunctionByIndex(int index) {
  if (index < 0 || index >= kFunctionCount) return nullptr;
  return &kFunctions[static_cast<size_t>(index)];
}

std::span<const int> CatalogueFunctions(Catalogue catalogue) {
  if (catalogue == Catalogue::Wheel) return kWheelList;
  return kFullList;
}

int FunctionAtListPosition(int box, int position) {
  const ButtonInfo* button = ButtonForBox(box);
  if (button == nullptr) return -1;
  const std::span<const int> list = CatalogueFunctions(button->catalogue);
  if (position < 0 || static_cast<size_t>(position) >= list.size()) return -1;
  return list[static_cast<size_t>(position)];
}

int ListPositionOfFunction(int box, int function) {
  const ButtonInfo* button = ButtonForBox(box);
  if (button == nullptr) return -1;
  const std::span<const int> list = CatalogueFunctions(button->catalogue);
  const auto it = std::find(list.begin(), list.end(), function);
  return it == list.end() ? -1 : static_cast<int>(it - list.begin());
}

std::optional<MappingWords> FixedMapping(const ButtonInfo& button, int function) {
  const CatalogueFunction* entry = FunctionByIndex(function);
  if (entry == nullptr || entry->kind != FunctionKind::Fixed) return std::nullopt;
  const std::span<const int> list = CatalogueFunctions(button.catalogue);
  if (std::find(list.begin(), list.end(), function) == list.end()) return std::nullopt;
  MappingWords mapping;
  mapping.lButton = button.lButton;
  mapping.mappingType = entry->mappingType;
  mapping.actionType = entry->actionType;
  mapping.info = {entry->mouseButton, 0, 0};
  return mapping;
}

MappingWords SingleKeyMapping(int32_t lButton, int32_t deviceKeyCode) {
  return {lButton, BUTTON_MAPPING_USER_ACTION, BUTTON_ACTION_KEYCODE, {deviceKeyCode, 0, 0}};
}

MappingWords MacroMapping(int32_t lButton, int32_t macroId) {
  return {lButton, BUTTON_MAPPING_MACRO, BUTTON_ACTION_PRESSED, {macroId, 1, 0}};
}

MappingWords ProfileMapping(int32_t lButton, int32_t targetProfileId) {
  return {lButton, BUTTON_MAPPING_DEVICE_ACTION, 0, {PROPERTY_PROFILE, 0, targetProfileId}};
}

int FunctionForMouseButton(int32_t mouseButton) {
  for (const CatalogueFunction& entry : kFunctions) {
    if (entry.kind == FunctionKind::Fixed && entry.mouseButton == mouseButton) return entry.index;
  }
  return -1;
}

int FunctionForMapping(const MappingWords& mapping) {
  switch (mapping.mappingType) {
    case BUTTON_MAPPING_BUTTONS:
      return mapping.actionType == BUTTON_ACTION_PRESSED ? FunctionForMouseButton(mapping.info[0]) : -1;
    case BUTTON_MAPPING_MACRO: return kFunctionMacro;
    case BUTTON_MAPPING_DEVICE_ACTION: return mapping.info[0] == PROPERTY_PROFILE ? kFunctionProfile : -1;
    case BUTTON_MAPPING_USER_ACTION: return mapping.actionType == BUTTON_ACTION_KEYCODE ? kFunctionSingleKey : -1;
    default: return -1;
  }
}

std::array<MappingWords, kButtonCount> DefaultMappings() {
  std::array<MappingWords, kButtonCount> slots{};
  for (const ButtonInfo& button : kButtons) {
    slots[static_cast<size_t>(button.slot)] = *FixedMapping(button, button.defaultFunction);
  }
  return slots;
}

bool IsClickMapping(const MappingWords& mapping) {
  return mapping.mappingType == BUTTON_MAPPING_BUTTONS && mapping.actionType == BUTTON_ACTION_PRESSED &&
         mapping.info[0] == MOUSE_BUTTON_CLICK;
}

bool KeepsAClick(std::span<const MappingWords, kButtonCount> slots, int slot, const MappingWords& mapping) {
  for (int i = 0; i < kButtonCount; ++i) {
    if (IsClickMapping(i == slot ? mapping : slots[static_cast<size_t>(i)])) return true;
  }
  return false;
}

}  // namespace quill::buttons
