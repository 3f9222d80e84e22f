#include "middleware/storage/memory_file_system.h"

#include "middleware/storage/storage_errors.h"

namespace quill::storage {

HResult MemoryFileSystem::ReadAll(const std::u16string& path, size_t max_size,
                                   std::vector<uint8_t>& bytes, bool& found) {
  bytes.clear();
  found = false;
  if (Failed(read_failure_)) return read_failure_;
  auto it = files_.find(path);
  if (it == files_.end()) return kS_OK;
  found = true;
  if (it->second.size() > max_size) return kE_FILE_TOO_LARGE;
  bytes = it->second;
  return kS_OK;
}

HResult MemoryFileSystem::ReplaceAll(const std::u16string& path, std::span<const uint8_t> bytes) {
  if (Failed(replace_failure_)) return replace_failure_;
  files_[path].assign(bytes.begin(), bytes.end());
  ++replacements_;
  return kS_OK;
}

std::vector<uint8_t> MemoryFileSystem::Get(const std::u16string& path) const {
  auto it = files_.find(path);
  return it == files_.end() ? std::vector<uint8_t>{} : it->second;
}

std::string MemoryFileSystem::GetText(const std::u16string& path) const {
  const std::vector<uint8_t> bytes = Get(path);
  return std::string(bytes.begin(), bytes.end());
}

}  // namespace quill::storage
