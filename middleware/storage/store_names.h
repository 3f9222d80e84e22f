// Names inside the store: item names, indexed value names, collection keys.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "middleware/typelib/hresult_codes.h"

namespace quill::storage {

// Collection suffixes, appended to "Software\Torvo\" + device key name.
inline constexpr std::u16string_view kProfileGroupsSuffix = u"\\ProfileGroups";
inline constexpr std::u16string_view kProfilesSuffix = u"\\Profiles";
inline constexpr std::u16string_view kPrivateProfilesSuffix = u"\\PrivateProfiles";
inline constexpr std::u16string_view kSpellBooksSuffix = u"\\SpellBooks";
inline constexpr std::u16string_view kMacrosSuffix = u"\\Macros";
inline constexpr std::u16string_view kUserActionsSuffix = u"\\UserActions";

// Value names of the items (also the value names of the exchange files' Key children).
inline constexpr std::u16string_view kNumProfilesValue = u"NumProfiles";
inline constexpr std::u16string_view kNumMacrosValue = u"NumMacros";
inline constexpr std::u16string_view kVersionValue = u"Version";
inline constexpr std::u16string_view kNumMappingsValue = u"NumMappings";
inline constexpr std::u16string_view kOptionsValue = u"Options";
inline constexpr std::u16string_view kTypeValue = u"Type";
inline constexpr std::u16string_view kRepeatValue = u"Repeat";
inline constexpr std::u16string_view kIconFileValue = u"IconFile";
inline constexpr std::u16string_view kNumElementsValue = u"NumElements";
inline constexpr std::u16string_view kCodeValue = u"Code";
inline constexpr std::u16string_view kNumDataValue = u"NumData";
inline constexpr std::u16string_view kDataValue = u"Data";

// The one private profile the middleware writes.
inline constexpr std::u16string_view kLastActiveProfile = u"LastActive";

// Longest icon file name a macro keeps, in UTF-16 units.
constexpr size_t kMaxIconFileLength = 32767;
// Most data bytes a user action keeps.
constexpr size_t kMaxUserActionData = 1 << 20;

// "Software\Torvo\" + device key name + suffix, below HKEY_LOCAL_MACHINE.
std::u16string CollectionPath(std::u16string_view device_key_name, std::u16string_view suffix);

// Longest name of a stored object, in UTF-16 units (the registry's key-name limit).
constexpr size_t kMaxItemNameLength = 255;

// S_OK for a name that addresses exactly one item of a collection; kE_INVALID_NAME for an
// empty name, one longer than kMaxItemNameLength, or one holding a backslash or a zero unit
// (either would reach another key).
HResult CheckItemName(std::u16string_view name);

// "%04d" of a list index: "0000" … "9999", then five digits and more.
std::u16string IndexedValueName(uint32_t index);

}  // namespace quill::storage
