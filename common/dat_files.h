// The per-profile files QuillfernProfile<n>.dat in the user's roaming application-data folder:
// one profile block (with the macro blocks of its buttons) for the profile at position n of the
// profile list. The configuration application writes them; it and the tray agent read them to
// complete the profiles of the mouse with the application, automatic loading, the on-screen
// display switches and the button target names.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

#include "common/file_system.h"
#include "common/profile_records.h"

namespace quill {

class Translator;

inline constexpr std::u16string_view kDatFilePrefix = u"QuillfernProfile";

// "<folder>\QuillfernProfile<n>.dat".
std::u16string DatFilePath(std::u16string_view folder, size_t position);

// Writes the file of every profile, position 0, 1, 2, ... (each replacing what was there), then
// removes the files of positions past the last profile, so that a stale file of a profile that
// is gone cannot come back. Returns the number of files written.
size_t SaveProfileFiles(FileSystem& fs, std::u16string_view folder, EntryLists& lists);

// Reads the file of each position of the profile list into the profile it names (profiles not
// in the list are ignored), then resolves the button names into apMacros / apTargetProfiles by
// name. A missing file is skipped; past position 5 a missing file ends the reading. Files of
// positions past the last profile are not read.
void LoadProfileFiles(FileSystem& fs, std::u16string_view folder, EntryLists& lists, Translator* translator);

}  // namespace quill
