// Helpers of the text-file tests: files as lines, readers over them, small profile and macro lists.
#pragma once
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <string_view>

#include "common/memory_file_system.h"
#include "common/profile_records.h"
#include "common/text_lines.h"

namespace quill::testing {

// The lines joined, each ended by CR LF.
std::u16string CrLfLines(std::initializer_list<std::u16string_view> lines);
// The file bytes (UTF-16 little-endian) of some text.
std::string Bytes(std::u16string_view text);
TextReader Reader(std::u16string_view text);

// Every line of a text (split at CR LF; a last piece without CR LF included).
std::vector<std::u16string> SplitLines(std::u16string_view text);

// A profile with mappings and DPI stages, as the middleware gives one.
ProfileEntry& AddDeviceProfile(EntryLists& lists, std::u16string_view name, int32_t id);
MacroEntry& AddMacro(EntryLists& lists, std::u16string_view name, int32_t id, int32_t events);

// A whole profile block in the form the writer produces.
std::u16string ProfileBlock(std::u16string_view name, std::u16string_view executable,
                            std::initializer_list<std::u16string_view> mappings);

}  // namespace quill::testing
