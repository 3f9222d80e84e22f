// The macro text parser on any bytes: no crash, and whatever it accepts formats back into text
// that parses to the same steps.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "cli/macro_script.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quill::cli;
  const MacroScriptResult r = ParseMacroScript(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!r.ok) return 0;
  const MacroScriptResult again = ParseMacroScript(FormatMacroScript(r.steps));
  if (!again.ok || again.steps != r.steps) std::abort();
  if (EncodedMacroSize(r.steps) > kMaxMacroStreamBytes) std::abort();
  return 0;
}
