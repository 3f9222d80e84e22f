// Macro blocks of the desktop text files (.txm, and after a profile block in .txp and .dat):
//   [FILEVERSION] 1.03   [SUPPORTEDDEVICE] Quillfern   [DATATYPE] Macro
//   [MACRONAME] 'name'   [MACROELEMENTS] n
//   [MACROELEMENT0..n-1] Scancode: %04X Scantime: t   (Mousecode: for a mouse event)
// A macro name read is cut to 63 characters; more than 16 elements are cut to 16. Event codes are
// read into the written form of macro_events.h (NormalizeEventCode).
#pragma once
#include <memory>
#include <string_view>

#include "common/profile_records.h"
#include "common/text_lines.h"

namespace quill {

constexpr size_t kMacroFileNameUnits = 63;

void WriteMacroText(TextWriter& out, const MacroEntry& macro);

struct MacroReadResult {
  MacroEntry* entry = nullptr;            // the entry read; null when none
  std::unique_ptr<MacroEntry> created;    // owns entry when it is new (bCreated = 1), not yet listed
};

// Reads the first macro block (from the file's start) whose name is requestedName, or the first
// of all when requestedName is empty. It is read into the macro of requestedName in the list, or
// into a new entry named as in the file when the list has none (or only one marked for deletion
// or deleted); an empty requestedName always makes a new entry. A block of 0 elements leaves the
// events as they were.
MacroReadResult ReadMacroText(TextReader& in, MacroList& macros, std::u16string_view requestedName);

}  // namespace quill
