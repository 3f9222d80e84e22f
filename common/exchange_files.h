// Exchange files the user exports and imports through the file dialogs:
//   .txp  one profile block followed by the macro blocks of the macros on its buttons
//   .txm  one macro block
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "common/file_system.h"
#include "common/profile_records.h"

namespace quill {

class Translator;

inline constexpr std::u16string_view kProfileExchangeDescription = u"Torvo Exchange Profile File (*.txp)";
inline constexpr std::u16string_view kMacroExchangeDescription = u"Torvo Exchange Macro File (*.txm)";
inline constexpr std::u16string_view kProfileExchangeExtension = u"txp";
inline constexpr std::u16string_view kMacroExchangeExtension = u"txm";

// Filter of the file dialogs: "<description>|*.<extension>||" with every bar a NUL character.
// description is the translated text of one of the two descriptions above.
std::u16string ExchangeFilter(std::u16string_view description, std::u16string_view extension);

// Writes an exchange file: the profile block (with its macros) when profile is given, then the
// macro block when macro is given. False when the file cannot be written.
bool ExportExchangeFile(FileSystem& fs, const std::u16string& path, ProfileEntry* profile, const MacroEntry* macro,
                        EntryLists& lists);

struct ProfileImport {
  ProfileEntry* profile = nullptr;        // the profile read (null: the file holds none)
  bool profileCreated = false;            // it is new and was added to the profile list
  std::vector<MacroEntry*> createdMacros; // macros of its buttons that were added to the macro list
  std::u16string_view error;              // not empty: the file was refused (exchange_check.h)
};

// A file that fails CheckExchangeText changes nothing and answers the problem in error.
// Imports a .txp: the profile block with import (a new profile is added to the list), then each
// button's target profile is resolved by name in the list and each button's macro is read from
// the same file by its name (marked modified; a new one added to the macro list).
ProfileImport ImportProfileFile(FileSystem& fs, const std::u16string& path, EntryLists& lists,
                                Translator* translator);

struct MacroImport {
  MacroEntry* macro = nullptr;  // null: the file holds no macro
  bool created = false;         // added to the macro list
  std::u16string_view error;    // not empty: the file was refused (exchange_check.h)
};

// Imports a .txm: its macro block into a new macro (marked modified) added to the list.
MacroImport ImportMacroFile(FileSystem& fs, const std::u16string& path, MacroList& macros);

}  // namespace quill
