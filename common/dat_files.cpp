#include "common/dat_files.h"

#include "common/profile_text.h"
#include "common/utf16.h"

namespace quill {

namespace {
// Positions up to this one are all tried; past it the first missing file ends the run.
constexpr size_t kLastSkippedPosition = 5;
}  // namespace

std::u16string DatFilePath(std::u16string_view folder, size_t position) {
  return std::u16string(folder) + u"\\" + std::u16string(kDatFilePrefix) +
         DecimalText(static_cast<int64_t>(position)) + u".dat";
}

size_t SaveProfileFiles(FileSystem& fs, std::u16string_view folder, EntryLists& lists) {
  size_t written = 0;
  size_t position = 0;
  for (ProfileEntry& profile : lists.profiles) {
    TextWriter text;
    WriteProfileText(text, profile, lists);
    if (SaveText(fs, DatFilePath(folder, position), text)) ++written;
    ++position;
  }
  // Files past the last profile are stale: remove them, up to the first gap after position 5.
  for (;; ++position) {
    const std::u16string path = DatFilePath(folder, position);
    const bool existed = fs.FileExists(path);
    if (!existed && position > kLastSkippedPosition) break;
    if (existed) fs.RemoveFile(path);
  }
  return written;
}

void LoadProfileFiles(FileSystem& fs, std::u16string_view folder, EntryLists& lists, Translator* translator) {
  const size_t count = lists.profiles.size();
  for (size_t position = 0; position < count; ++position) {
    auto reader = OpenTextForReading(fs, DatFilePath(folder, position));
    if (!reader) {
      if (position > kLastSkippedPosition) break;
      continue;
    }
    ProfileReadResult read = ReadProfileText(*reader, lists, {}, false, translator);
    if (!read.entry || read.created) continue;  // only profiles of the list take settings
    ProfileEntry& profile = *read.entry;
    for (size_t i = 0; i < kProfileButtons; ++i) {
      if (!profile.aszMacroNames[i].empty()) profile.apMacros[i] = lists.macros.FindByName(profile.aszMacroNames[i]);
      if (!profile.aszTargetProfileNames[i].empty())
        profile.apTargetProfiles[i] = lists.profiles.FindByName(profile.aszTargetProfileNames[i]);
    }
  }
}

}  // namespace quill
