// Files through std::filesystem, for native tools and tests. The move into place is the
// standard library's rename, which replaces the target in one step on POSIX systems.
#pragma once
#include "middleware/storage/file_system.h"

namespace quill::storage {

class StdFileSystem final : public FileSystem {
 public:
  HResult ReadAll(const std::u16string& path, size_t max_size, std::vector<uint8_t>& bytes,
                   bool& found) override;
  HResult ReplaceAll(const std::u16string& path, std::span<const uint8_t> bytes) override;
};

}  // namespace quill::storage
