// The opening of every block of the profile and macro files: "[FILEVERSION]" "1.03",
// "[SUPPORTEDDEVICE]" "Quillfern", "[DATATYPE]" and the block's type, then its name.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "common/text_lines.h"

namespace quill {

inline constexpr std::u16string_view kDataTypeProfile = u"Profile";
inline constexpr std::u16string_view kDataTypeMacro = u"Macro";

// Writes the three opening pairs of a block.
void WriteBlockOpening(TextWriter& out, std::u16string_view dataType);
// The name pair of a block ("[PROFILENAME]" or "[MACRONAME]").
void WriteBlockName(TextWriter& out, std::u16string_view header, std::u16string_view name);

// Moves to the next block of that type (forward from the current position): true once its
// three opening pairs are read; blocks of another version, device or type are passed over.
bool NextBlock(TextReader& in, std::u16string_view dataType);
// The name of the block: the quoted name of the name pair (the whole value when it has no
// apostrophe), cut to maxUnits; nullopt when the block has no name pair.
std::optional<std::u16string> ReadBlockName(TextReader& in, std::u16string_view header, size_t maxUnits);

}  // namespace quill
