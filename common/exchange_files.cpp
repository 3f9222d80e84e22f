#include "common/exchange_files.h"

#include "common/exchange_check.h"
#include "common/macro_text.h"
#include "common/profile_text.h"

namespace quill {

std::u16string ExchangeFilter(std::u16string_view description, std::u16string_view extension) {
  std::u16string filter(description);
  filter += u"|*.";
  filter += extension;
  filter += u"||";
  for (char16_t& c : filter)
    if (c == u'|') c = u'\0';
  return filter;
}

bool ExportExchangeFile(FileSystem& fs, const std::u16string& path, ProfileEntry* profile, const MacroEntry* macro,
                        EntryLists& lists) {
  TextWriter text;
  if (profile) WriteProfileText(text, *profile, lists);
  if (macro) WriteMacroText(text, *macro);
  return SaveText(fs, path, text);
}

ProfileImport ImportProfileFile(FileSystem& fs, const std::u16string& path, EntryLists& lists,
                                Translator* translator) {
  ProfileImport result;
  auto reader = OpenTextForReading(fs, path);
  if (!reader) return result;
  result.error = CheckExchangeText(*reader);
  if (!result.error.empty()) return result;
  ProfileReadResult read = ReadProfileText(*reader, lists, {}, true, translator);
  if (!read.entry) return result;
  result.profile = read.entry;
  if (read.created) {
    lists.profiles.Adopt(std::move(read.created));
    result.profileCreated = true;
  }
  ProfileEntry& profile = *result.profile;
  for (size_t i = 0; i < kProfileButtons; ++i) {
    if (!profile.aszTargetProfileNames[i].empty())
      profile.apTargetProfiles[i] = lists.profiles.FindByName(profile.aszTargetProfileNames[i]);
    if (profile.aszMacroNames[i].empty()) continue;
    MacroReadResult macro = ReadMacroText(*reader, lists.macros, profile.aszMacroNames[i]);
    profile.apMacros[i] = macro.entry;
    if (!macro.entry) continue;
    macro.entry->bModified = 1;
    if (macro.created) {
      lists.macros.Adopt(std::move(macro.created));
      result.createdMacros.push_back(macro.entry);
    }
  }
  return result;
}

MacroImport ImportMacroFile(FileSystem& fs, const std::u16string& path, MacroList& macros) {
  MacroImport result;
  auto reader = OpenTextForReading(fs, path);
  if (!reader) return result;
  result.error = CheckExchangeText(*reader);
  if (!result.error.empty()) return result;
  MacroReadResult read = ReadMacroText(*reader, macros, {});
  if (!read.entry) return result;
  read.entry->bModified = 1;
  result.macro = read.entry;
  if (read.created) {
    macros.Adopt(std::move(read.created));
    result.created = true;
  }
  return result;
}

}  // namespace quill
