// The exchange engine's file seam over Windows files. A replacement is written to a temporary
// file in the target's folder and moved over the target with MoveFileExW.
#pragma once
#include "middleware/storage/file_system.h"

namespace quill::storage {

class WinFileSystem final : public FileSystem {
 public:
  HResult ReadAll(const std::u16string& path, size_t max_size, std::vector<uint8_t>& bytes,
                   bool& found) override;
  HResult ReplaceAll(const std::u16string& path, std::span<const uint8_t> bytes) override;
};

}  // namespace quill::storage
