// Stores of one device and in-memory files, with the export/import operations over them.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "middleware/storage/memory_file_system.h"
#include "middleware/storage/store_exchange.h"
#include "middleware/storage/tests/store_fixture.h"

namespace quill::storage::testing {

inline const std::u16string kFile = u"C:\\exchange.xml";

inline std::vector<uint8_t> Bytes(std::string_view text) { return std::vector<uint8_t>(text.begin(), text.end()); }

// UTF-16LE bytes of ASCII-or-wider text given as UTF-16.
inline std::vector<uint8_t> Utf16LeBytes(std::u16string_view text) {
  std::vector<uint8_t> bytes;
  for (char16_t c : text) {
    bytes.push_back(static_cast<uint8_t>(c));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  return bytes;
}

inline std::u16string Widen(std::string_view ascii) { return std::u16string(ascii.begin(), ascii.end()); }

class ExchangeTest : public StoreTest {
 public:
  MemoryFileSystem files;
  StoreExchange exchange{*machine, files, std::u16string(kDevice)};
};

}  // namespace quill::storage::testing
