// Reads arbitrary bytes as an exchange file: opening, rewriting and importing every kind must
// never crash, and a file rewritten once reads back and rewrites to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <vector>

#include "middleware/storage/exchange_file.h"
#include "middleware/storage/memory_file_system.h"
#include "middleware/storage/memory_registry.h"
#include "middleware/storage/store_exchange.h"

namespace {

using namespace quill::storage;

const std::u16string kPath = u"fuzz.xml";
constexpr std::u16string_view kDevice = u"TorvoControl_0C31";

// Opens `bytes` as a file and renders it; false when either fails.
bool Rewrite(const std::vector<uint8_t>& bytes, std::vector<uint8_t>& rendered) {
  MemoryFileSystem files;
  files.Put(kPath, bytes);
  std::unique_ptr<ExchangeFile> file;
  return quill::Succeeded(ExchangeFile::Open(files, kPath, kDevice, file)) && quill::Succeeded(file->Render(rendered));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> input(data, data + size);
  std::vector<uint8_t> first, second, third;
  if (Rewrite(input, first)) {
    // Layout text of the input may be dropped by the first rewrite; after that it is stable.
    if (!Rewrite(first, second) || !Rewrite(second, third) || second != third) std::abort();
  }

  MemoryFileSystem files;
  files.Put(kPath, input);
  MemoryRegistry registry;
  auto machine = registry.Root();
  StoreExchange exchange(*machine, files, std::u16string(kDevice));
  exchange.ImportAllUserActions(kPath);
  exchange.ImportAllMacros(kPath);
  exchange.ImportAllSpellBooks(kPath);
  exchange.ImportAllProfiles(kPath);
  exchange.ImportAllProfileGroups(kPath);
  if (files.Get(kPath) != input) std::abort();  // imports never write
  return 0;
}
