// The export-file reader and the store's byte and code texts on any bytes: no crash, every
// decoded mapping reads back from its own data, and accepted bytes print back to themselves.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "cli/store_text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quill::cli;
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const char* kind : {"Profile", "ProfileGroup", "Macro"}) {
    for (const ExchangeElement& e : ReadExchangeElements(text, kind)) {
      for (const ExchangeKey& key : e.keys) {
        if (std::optional<StoredMapping> m = DecodeStoredMapping(key.data)) (void)StoredAssignmentText(*m);
      }
    }
  }
  const HexBytesResult bytes = ParseHexBytes(text, 64);
  if (bytes.ok) {
    const HexBytesResult again = ParseHexBytes(HexBytesText(bytes.bytes), 64);
    if (!again.ok || again.bytes != bytes.bytes) std::abort();
  }
  (void)ParseCode(text);
  return 0;
}
