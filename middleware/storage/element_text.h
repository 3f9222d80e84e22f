// The compact text of one exchange-file element: building it and reading its parts.
//
// Compact form: the element's start tag, its children (each a start tag immediately followed by
// its end tag) and its end tag, with nothing between them. Attribute values stand between double
// quotes and are not escaped, so a value holding a double quote, "<" or ">" cannot be written.
#pragma once
#include <cstdint>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "middleware/typelib/hresult_codes.h"

namespace quill::storage {

enum class ElementKind { kProfileGroup, kProfile, kSpellBook, kMacro, kUserAction };
// In the order a section lists them.
inline constexpr ElementKind kElementKinds[] = {ElementKind::kProfileGroup, ElementKind::kProfile,
                                                ElementKind::kSpellBook, ElementKind::kMacro,
                                                ElementKind::kUserAction};
// "ProfileGroup", "Profile", "SpellBook", "Macro", "UserAction".
std::u16string_view ElementTag(ElementKind kind);

// True when the text can stand between the double quotes of an attribute.
bool CanQuote(std::u16string_view text);

class ElementWriter {
 public:
  // Begins "<Tag name="name">".
  ElementWriter(ElementKind kind, std::u16string_view name);

  // <Key value="name" type="DWORD|BINARY|STRING" data="…"></Key>
  void DwordKey(std::u16string_view value_name, int32_t value);
  void BinaryKey(std::u16string_view value_name, std::span<const uint8_t> bytes);
  void StringKey(std::u16string_view value_name, std::u16string_view text);
  // <Tag ptr="target"></Tag> (ProfilePtr, MacroPtr).
  void PointerChild(std::u16string_view tag, std::u16string_view target);

  // The compact text with its end tag; kE_INVALID_NAME when a name or string value could not
  // be quoted.
  HResult Finish(std::u16string& text);

 private:
  void Quoted(std::u16string_view text);
  void Key(std::u16string_view value_name, std::u16string_view type, std::u16string_view data);

  ElementKind kind_;
  std::u16string text_;
  bool quotable_ = true;
};

// The tags of a compact text in order, without their angle brackets.
std::vector<std::u16string_view> SplitTags(std::u16string_view text);
// The tag's first word (up to the first space).
std::u16string_view TagWord(std::u16string_view tag);
// The double-quoted strings of `text` in order (an unclosed quote ends the list).
std::vector<std::u16string_view> QuotedStrings(std::u16string_view text, size_t limit = SIZE_MAX);
// The first double-quoted string, empty when there is none.
std::u16string_view FirstQuoted(std::u16string_view text);

// A Key child as the import reads it: its three quoted strings.
struct KeyChild {
  std::u16string_view value_name;
  std::u16string_view type;
  std::u16string_view data;
};
// Every Key child of the element; E_FAIL when one lacks a quoted string.
HResult ReadKeys(std::u16string_view text, std::vector<KeyChild>& keys);
// The first quoted string of every child whose tag word is `tag` (the ptr values).
HResult ReadPointers(std::u16string_view text, std::u16string_view tag, std::vector<std::u16string>& targets);

// "%d" of the value.
std::u16string FormatDecimal(int32_t value);
// Leading blanks, an optional sign and the digits up to the first other character; empty or
// non-numeric text reads as 0, values beyond 32 bits are cut to the nearest limit.
int32_t ParseDecimal(std::u16string_view text);
// True for one or more decimal digits and nothing else.
bool IsIndexName(std::u16string_view text);
// Each byte as two upper-case hexadecimal digits.
std::u16string FormatHex(std::span<const uint8_t> bytes);
// Two hexadecimal digits per byte; E_FAIL for an odd length or another character.
HResult ParseHex(std::u16string_view text, std::vector<uint8_t>& bytes);

}  // namespace quill::storage
