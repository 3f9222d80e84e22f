// Device side of IMeridexMacroManager: the macro directory (command 0x08 pages), its
// compaction, enumeration by index, creation and deletion. Macros are handed out as lMacroId
// (device number + 1); the COM layer makes the macro objects from them.
#pragma once
#include <cstddef>
#include <cstdint>

#include "middleware/transport/commands.h"
#include "middleware/transport/feature_channel.h"
#include "middleware/typelib/hresult_codes.h"

namespace quill::device {

// Moves the used entries (size not 0) to positions 0 to u - 1, keeping their order; every other
// position becomes free (number -1, size 0).
void CompactEntries(MacroDirectory& directory);
// The number for a macro created at free `position`: one more than the entry before it (0 at
// position 0), or, when that number is out of range or another used entry holds it, the lowest
// number no used entry holds. False when every number is held.
bool NumberForNewMacro(const MacroDirectory& directory, size_t position, int32_t& number);

class MacroManager {
 public:
  // The manager's own table, as the last CompactDirectory left it (cleared at creation).
  const MacroDirectory& directory() const { return directory_; }

  // Reads the directory into the manager's table and compacts it. Only the page reads go to
  // the device.
  HResult CompactDirectory(FeatureChannel& channel);
  // Index 0 compacts first (its error is returned). E_INVALIDARG for an index outside 0 to 69,
  // E_FAIL when the position is free; otherwise the lMacroId at that position.
  HResult GetMacroByIndex(FeatureChannel& channel, int32_t index, int32_t& macro_id);
  // E_OUTOFMEMORY when no space remains; reads the directory (errors returned: a failed read
  // never makes a position count as free), takes the first free position (none: E_FAIL), picks
  // the number as NumberForNewMacro does and clears that macro (size 40, 40 zero bytes).
  HResult CreateMacro(FeatureChannel& channel, int32_t& macro_id);
  // Erases macro lMacroId (command 0x0C with lMacroId - 1). E_INVALIDARG without traffic for an
  // lMacroId outside 1 to 70.
  HResult DeleteMacro(FeatureChannel& channel, int32_t macro_id);

 private:
  MacroDirectory directory_;
};

}  // namespace quill::device
