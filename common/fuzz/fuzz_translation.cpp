// Translation files from outside: the file reader and the lookup in every mode, including the
// recording that appends to the file.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "common/memory_file_system.h"
#include "common/translation.h"
#include "common/translation_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quill;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const std::vector<TranslationPair> pairs = ParseTranslationFile(bytes);

  const uint32_t mode = size > 0 ? data[0] % 4 : 0;
  MemoryFileSystem fs;
  const std::u16string path = u"C:\\Torvo\\lang.txt";
  fs.files[path] = std::string(bytes);
  Translator translator(fs);
  translator.SetSource({u"C:\\Torvo\\", u"lang.txt", mode});

  const std::u16string& first = translator.Translate(u"Cancel", true);
  const std::u16string kept = first;
  size_t n = 0;
  for (const TranslationPair& pair : pairs) {
    translator.Translate(pair.source);
    if (++n == 64) break;
  }
  translator.Translate(u"Not in the file\nat all*");
  translator.Translate(u"Cancel", true);
  if (first != kept) std::abort();  // returned texts never change

  // What recording appended is a well-formed file again.
  ParseTranslationFile(fs.files[path]);
  return 0;
}
