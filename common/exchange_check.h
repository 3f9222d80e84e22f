// The check an exchange file (.txp, .txm) passes before anything of it is read into the lists.
// The readers themselves are lenient (they cut what is too long or too many and skip what they
// cannot parse), which suits the program's own data files; a file the user imports is refused
// whole instead, with a message, so that a damaged or foreign file never half-changes a profile
// or a macro.
//
// Refused:
//   - a line longer than the files' lines hold;
//   - a profile or macro name that is not one quoted line ('...') or holds control characters
//     (a name broken over two lines, tabs, ...);
//   - a macro with a negative or unreadable count, more than 16 events, or events missing, out of
//     order or beyond its count (its elements are 0 to count - 1, in order);
//   - an event line that does not read as "Scancode: XXXX Scantime: t" (or Mousecode), a time
//     before 0 or before the previous event, or a code that names no key or mouse button
//     (code 0, which the key list writes for a row it cannot name, is accepted);
//   - a stage count that is unreadable or above the five stages the mouse has.
#pragma once

#include <string_view>

#include "common/text_lines.h"

namespace quill {

inline constexpr std::u16string_view kFileLineTooLongText = u"The file holds a line that is too long.";
inline constexpr std::u16string_view kFileBadNameText = u"The file holds a name that is not valid.";
inline constexpr std::u16string_view kFileTooManyEventsText = u"The file holds a macro of more than 16 events.";
inline constexpr std::u16string_view kFileBadEventText = u"The file holds a macro event that is not valid.";
inline constexpr std::u16string_view kFileBadStagesText = u"The file holds sensitivity stages that are not valid.";

// The problem of the file (one of the texts above, an English key for the translation), empty
// when it may be imported. Reads the text from its start and leaves the reader rewound.
std::u16string_view CheckExchangeText(TextReader& in);

}  // namespace quill
