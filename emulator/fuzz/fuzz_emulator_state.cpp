// Any bytes as a state file: the parser gives a state or an error, and a parsed state
// survives being written and read again unchanged.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "emulator/state_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  const quill::emu::StateParseResult first = quill::emu::ParseStateText(text);
  if (!first.ok) {
    if (first.error.empty()) std::abort();
    return 0;
  }
  const quill::emu::StateParseResult again = quill::emu::ParseStateText(quill::emu::FormatStateText(first.state));
  if (!again.ok || !(again.state == first.state)) std::abort();
  return 0;
}
