// The objects the store keeps, as portable records. Their byte layouts (registry values and
// exchange-file data) are written and read only by value_codec.h.
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace quill::storage {

// Mapping types whose entry names a stored object (BUTTON_MAPPING_MACRO and
// BUTTON_MAPPING_USER_ACTION of the type library).
constexpr int32_t kMappingTypeMacro = 2;
constexpr int32_t kMappingTypeUserAction = 3;

// One _TButtonMappingInfo. For the two naming types the union's word is the name pointer in
// memory; here the name travels beside the record and action_type is stored as 0.
struct ButtonMapping {
  int32_t button = 0;        // lButton
  int32_t mapping_type = 0;  // mappingType
  int32_t action_type = 0;   // actionInfo.actionType
  std::array<int32_t, 3> info{};  // actionInfo.info
  std::u16string name;       // macro or user-action name for the naming types, else empty

  bool NamesMacro() const { return mapping_type == kMappingTypeMacro; }
  bool NamesUserAction() const { return mapping_type == kMappingTypeUserAction; }
  bool NamesObject() const { return NamesMacro() || NamesUserAction(); }
  bool operator==(const ButtonMapping&) const = default;
};

// A stored profile or private profile (_TProfileParams without the pointers).
struct ProfileRecord {
  int32_t version = 0;
  std::vector<ButtonMapping> mappings;
  bool operator==(const ProfileRecord&) const = default;
};

// One _TMacroElement.
struct MacroElement {
  int32_t action_type = 0;
  std::array<int32_t, 3> info{};
  int32_t delay_ms = 0;
  int32_t hold_ms = 0;
  bool operator==(const MacroElement&) const = default;
};

// A stored macro (_TMacroParams without FixedDelay, which is not stored).
struct MacroRecord {
  int32_t version = 0;
  int32_t options = 0;  // _TMacroOptions
  int32_t type = 0;     // _TMacroType
  int32_t repeat = 0;
  std::u16string icon_file;
  std::vector<MacroElement> elements;
  bool operator==(const MacroRecord&) const = default;
};

// A stored user action (_TUserActionParams).
struct UserActionRecord {
  int32_t code = 0;
  std::vector<uint8_t> data;
  bool operator==(const UserActionRecord&) const = default;
};

}  // namespace quill::storage
