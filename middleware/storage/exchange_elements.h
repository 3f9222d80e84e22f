// The exchange-file element of each kind of stored object, written from and read into the
// store's records.
//
// Writing fails with kE_INVALID_NAME when a name or the icon file name holds a double quote,
// "<" or ">", which the unescaped format cannot carry. Reading fails with E_FAIL for a Key
// without its quoted strings, a missing count Key, an indexed Key that is not a decimal index
// below the count or that repeats, a count that differs from the number of indexed Keys, and
// data that does not decode.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "middleware/storage/element_text.h"
#include "middleware/storage/store_records.h"
#include "middleware/typelib/hresult_codes.h"

namespace quill::storage {

// The element kind of each record type: ElementKindOf<ProfileRecord>.
template <class Record>
constexpr ElementKind ElementKindOf();
template <>
constexpr ElementKind ElementKindOf<ProfileRecord>() { return ElementKind::kProfile; }
template <>
constexpr ElementKind ElementKindOf<MacroRecord>() { return ElementKind::kMacro; }
template <>
constexpr ElementKind ElementKindOf<UserActionRecord>() { return ElementKind::kUserAction; }

HResult WriteElement(std::u16string_view name, const ProfileRecord& profile, std::u16string& text);
HResult WriteElement(std::u16string_view name, const MacroRecord& macro, std::u16string& text);
HResult WriteElement(std::u16string_view name, const UserActionRecord& action, std::u16string& text);

HResult ReadElement(std::u16string_view text, ProfileRecord& profile);
HResult ReadElement(std::u16string_view text, MacroRecord& macro);
HResult ReadElement(std::u16string_view text, UserActionRecord& action);

// Group elements: kProfileGroup with ProfilePtr children, kSpellBook with MacroPtr children,
// one per member in member order.
HResult WriteGroupElement(ElementKind kind, std::u16string_view name,
                          const std::vector<std::u16string>& members, std::u16string& text);
// The ptr values of the group's member children, in order.
HResult ReadGroupElement(ElementKind kind, std::u16string_view text, std::vector<std::u16string>& members);

}  // namespace quill::storage
