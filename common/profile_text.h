// Profile blocks of the desktop text files (.dat, .txp).
//
// A block is a sequence of header/value line pairs:
//   [FILEVERSION] 1.03   [SUPPORTEDDEVICE] Quillfern   [DATATYPE] Profile
//   [PROFILENAME] 'name'
//   [DPISTAGES] NoofStages: n   [DEFAULTSTAGE] Stage: d   [CURRENTSTAGE] Stage: c
//   [DPISTAGE0..n-1] X-Sense: x Y-Sense: y                     (only with DPI stages)
//   [LEDSCROLLWHEEL] / [LEDBATTERYINDICATOR] / [LEDCHARGINGDOCK] LEDState: 0|1, 0|2, 0|4
//   [EXECUTABLE] file name   [AUTOLOAD] 0|1   [OTFSOSD] 0|1   [PROFILEOSD] 0|1
//   [BUTTONMAPPING0..8] mapping text                           (only with mappings)
// followed by one macro block (macro_text.h) per button with a macro, in file-index order.
//
// Mapping texts: "Mapping: 3 Data: 1 <key>", "Mapping: 6 Data: 5 <button function>",
// "Mapping: 1 Data: 5 '<target profile>'", "Mapping: 2 Data: 0 '<macro>'",
// "Mapping: 0 Data: 0 ''" (a profile or macro button whose target is unknown) and
// "Invalid Mapping!".
//
// Limits: value lines of names and mappings hold at most 127 characters, so the writer cuts a
// name to what fits (125 characters for a profile or macro name); the executable line holds at
// most 258 (what a reader takes). Counts above the record's room (5 DPI stages) are cut to it.
#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "common/profile_records.h"
#include "common/text_lines.h"

namespace quill {

class Translator;

constexpr size_t kValueLineUnits = 127;       // names, mappings, macro lines
constexpr size_t kExecutableLineUnits = kMaxTextLineUnits;
inline constexpr std::u16string_view kNoExecutable = u"<none>";  // shown translated

// "prefix'name'" with name cut so that the line holds at most kValueLineUnits characters.
std::u16string QuotedValue(std::u16string_view prefix, std::u16string_view name);

// Mapping text of the button at a file index (0 to 8) of a profile with mappings. A switch-profile
// button without a known target, or a macro button without a known macro, is looked up by the
// identifier in its slot and the entry found remembered in apTargetProfiles / apMacros.
std::u16string MappingText(ProfileEntry& profile, size_t fileIndex, const EntryLists& lists);

// Writes the profile block and the macro blocks of its buttons.
void WriteProfileText(TextWriter& out, ProfileEntry& profile, const EntryLists& lists);

struct ProfileReadResult {
  ProfileEntry* entry = nullptr;           // the entry read; null when none
  std::unique_ptr<ProfileEntry> created;   // owns entry when it is new (bCreated = 1), not yet listed
};

// Reads the profile blocks of a file (from its start). requestedName, when not empty, selects
// the block of that name. Without import only profiles of the list are read (the application,
// the three switches and the button target names; the DPI stages, LED switches and mapping slots
// stay). With import the whole block is read into the profile of that name, or into a new entry
// when the list has none (or only one marked for deletion or deleted). translator gives the text
// of an empty executable ("<none>"); null shows it in English.
ProfileReadResult ReadProfileText(TextReader& in, EntryLists& lists, std::u16string_view requestedName,
                                  bool import, Translator* translator);

}  // namespace quill
