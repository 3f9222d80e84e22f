#include "middleware/storage/store_names.h"

#include <cstdio>

#include "middleware/storage/storage_errors.h"

namespace quill::storage {

std::u16string CollectionPath(std::u16string_view device_key_name, std::u16string_view suffix) {
  std::u16string path = u"Software\\Torvo\\";
  path += device_key_name;
  path += suffix;
  return path;
}

HResult CheckItemName(std::u16string_view name) {
  if (name.empty() || name.size() > kMaxItemNameLength) return kE_INVALID_NAME;
  for (char16_t c : name) {
    if (c == u'\\' || c == 0) return kE_INVALID_NAME;
  }
  return kS_OK;
}

std::u16string IndexedValueName(uint32_t index) {
  char buffer[16];
  const int n = std::snprintf(buffer, sizeof buffer, "%04u", static_cast<unsigned>(index));
  return std::u16string(buffer, buffer + n);
}

}  // namespace quill::storage
