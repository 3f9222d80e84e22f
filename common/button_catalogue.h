// The button assignment catalogue: the nine buttons of the mouse, the functions their boxes offer
// and the mapping record each function produces.
//
// Orders: the "file index" (0 left, 1 right, 2 middle, 3 button 4, 4 button 5, 5 DPI up,
// 6 DPI down, 7 wheel up, 8 wheel down) orders the boxes, the profile files and the per-button
// name arrays; the "slot" (button definition - 1) orders the profile's nine mapping records.
// Buttons 4 and 5 trade places between the two orders.
//
// Function index (the full catalogue in order; the texts are English keys for the translation):
//   0 "Click"  1 "Menu"  2 "Universal Scrolling"  3 "Double-Click"  4 "Macro"
//   5 "Sensitivity Stage Up"  6 "Sensitivity Stage Down"  7 "Forward"  8 "Backward"
//   9 "On-The-Fly Sensitivity"  10 "Single Key"  11 "Profile"  12 "Scroll Up"  13 "Scroll Down"
//   14 "Button Off"
// The wheel boxes offer only 4, 5, 6, 12, 13, 14 (list positions 0 to 5).
#pragma once
#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

namespace quill::buttons {

// _TButtonDefinitionType values of the nine buttons.
constexpr int32_t BUTTON_DEFINITION_LEFT_MOUSE = 1;
constexpr int32_t BUTTON_DEFINITION_RIGHT_MOUSE = 2;
constexpr int32_t BUTTON_DEFINITION_CENTER_MOUSE = 3;
constexpr int32_t BUTTON_DEFINITION_MOUSE_5 = 4;
constexpr int32_t BUTTON_DEFINITION_MOUSE_4 = 5;
constexpr int32_t BUTTON_DEFINITION_DPI_UP = 6;
constexpr int32_t BUTTON_DEFINITION_DPI_DOWN = 7;
constexpr int32_t BUTTON_DEFINITION_SCROLL_UP = 8;
constexpr int32_t BUTTON_DEFINITION_SCROLL_DOWN = 9;

// _TButtonMappingType values used here.
constexpr int32_t BUTTON_MAPPING_DISABLED = 0;
constexpr int32_t BUTTON_MAPPING_DEVICE_ACTION = 1;
constexpr int32_t BUTTON_MAPPING_MACRO = 2;
constexpr int32_t BUTTON_MAPPING_USER_ACTION = 3;
constexpr int32_t BUTTON_MAPPING_BUTTONS = 6;

// _TButtonActionType values used here.
constexpr int32_t BUTTON_ACTION_KEYCODE = 1;
constexpr int32_t BUTTON_ACTION_PRESSED = 5;

// _TMouseButtonType values of the catalogue.
constexpr int32_t MOUSE_BUTTON_OFF = 0;
constexpr int32_t MOUSE_BUTTON_CLICK = 1;
constexpr int32_t MOUSE_BUTTON_MENU = 2;
constexpr int32_t MOUSE_BUTTON_UNIVERSAL_SCROLLING = 3;
constexpr int32_t MOUSE_BUTTON_WINDOWS_BUTTON_5 = 4;
constexpr int32_t MOUSE_BUTTON_WINDOWS_BUTTON_4 = 5;
constexpr int32_t MOUSE_BUTTON_SCROLL_UP = 8;
constexpr int32_t MOUSE_BUTTON_SCROLL_DOWN = 9;
constexpr int32_t MOUSE_BUTTON_ON_THE_FLY_SENSITIVITY = 10;
constexpr int32_t MOUSE_BUTTON_DPI_UP = 11;
constexpr int32_t MOUSE_BUTTON_DPI_DOWN = 12;
constexpr int32_t MOUSE_BUTTON_DOUBLE_CLICK = 13;

constexpr int32_t PROPERTY_PROFILE = 5;

constexpr int kButtonCount = 9;
constexpr int kFirstButtonBox = 2800;
constexpr int kLastButtonBox = 2808;

// Function indexes.
enum Function : int {
  kFunctionClick = 0,
  kFunctionMenu = 1,
  kFunctionUniversalScrolling = 2,
  kFunctionDoubleClick = 3,
  kFunctionMacro = 4,
  kFunctionStageUp = 5,
  kFunctionStageDown = 6,
  kFunctionForward = 7,
  kFunctionBackward = 8,
  kFunctionOnTheFly = 9,
  kFunctionSingleKey = 10,
  kFunctionProfile = 11,
  kFunctionScrollUp = 12,
  kFunctionScrollDown = 13,
  kFunctionButtonOff = 14,
  kFunctionCount = 15,
};

// The six words of a button mapping record (_TButtonMappingInfo: lButton, mappingType, the
// action word, the three info words).
struct MappingWords {
  int32_t lButton = 0;
  int32_t mappingType = 0;
  int32_t actionType = 0;
  std::array<int32_t, 3> info{};
  bool operator==(const MappingWords&) const = default;
};

enum class Catalogue { Full, Wheel };

struct ButtonInfo {
  int box;             // drop-down box identifier, 2800 to 2808
  int fileIndex;       // 0 to 8
  int32_t lButton;     // button definition
  int slot;            // lButton - 1
  Catalogue catalogue;
  int defaultFunction;
};

// How a function turns into a mapping.
enum class FunctionKind {
  Fixed,      // the record of the table, stored when chosen
  Macro,      // needs a macro picked from the second-level list; stored at apply time
  SingleKey,  // needs a key captured in the key box
  Profile,    // needs a profile picked from the second-level list; stored at apply time
};

struct CatalogueFunction {
  int index;
  std::u16string_view text;
  FunctionKind kind;
  int32_t mappingType;
  int32_t actionType;
  int32_t mouseButton;   // first info word of a Fixed function
  bool opensStageSettings;  // the sensitivity stage functions open the stage settings first
};

// The nine buttons in file-index order.
std::span<const ButtonInfo, kButtonCount> Buttons();
const ButtonInfo* ButtonForBox(int box);
const ButtonInfo* ButtonForFileIndex(int fileIndex);
const ButtonInfo* ButtonForSlot(int slot);

// The fifteen functions in index order; FunctionByIndex is null outside 0 to 14.
std::span<const CatalogueFunction, kFunctionCount> Functions();
const CatalogueFunction* FunctionByIndex(int index);

// Function indexes a catalogue lists, in list order.
std::span<const int> CatalogueFunctions(Catalogue catalogue);
// Function at a list position of a box (-1 outside the list or for an unknown box), and back.
int FunctionAtListPosition(int box, int position);
int ListPositionOfFunction(int box, int function);

// Mapping record of a Fixed function for a button; nullopt for the other kinds, an index outside
// the catalogue or a function the button's catalogue does not offer.
std::optional<MappingWords> FixedMapping(const ButtonInfo& button, int function);
// The records of the functions that need a pick or a key.
MappingWords SingleKeyMapping(int32_t lButton, int32_t deviceKeyCode);
MappingWords MacroMapping(int32_t lButton, int32_t macroId);
MappingWords ProfileMapping(int32_t lButton, int32_t targetProfileId);

// The function a stored record shows in its box (the reverse of the catalogue), -1 when it
// matches none.
int FunctionForMapping(const MappingWords& mapping);
// The function of a _TMouseButtonType value of a BUTTON_MAPPING_BUTTONS record, -1 for none.
int FunctionForMouseButton(int32_t mouseButton);

// The nine default records in slot order, and the default function of each file index.
std::array<MappingWords, kButtonCount> DefaultMappings();

// True when a slot holds the "Click" record.
bool IsClickMapping(const MappingWords& mapping);
// The at-least-one-click rule: false when writing `mapping` into `slot` would leave none of the
// nine slots on "Click".
bool KeepsAClick(std::span<const MappingWords, kButtonCount> slots, int slot, const MappingWords& mapping);

}  // namespace quill::buttons
