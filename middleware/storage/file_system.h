// The seam between the exchange engine and the file system.
//
// Implementations: Windows files (middleware/storage/win/), std::filesystem for native tools
// and tests (std_file_system.h), and the in-memory files of memory_file_system.h.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "middleware/typelib/hresult_codes.h"

namespace quill::storage {

class FileSystem {
 public:
  virtual ~FileSystem() = default;

  // Reads the whole file. A file that does not exist gives S_OK with `found` false; one that
  // exists and cannot be opened or read gives E_HANDLE or the read error; one larger than
  // `max_size` bytes kE_FILE_TOO_LARGE.
  virtual HResult ReadAll(const std::u16string& path, size_t max_size, std::vector<uint8_t>& bytes,
                           bool& found) = 0;

  // Writes `bytes` to a new file beside `path`, then puts it in place of `path` in one step:
  // afterwards the target holds either all of `bytes` or what it held before, and no file is
  // left beside it. E_HANDLE when the file beside cannot be created or a target that is there
  // cannot be opened for writing (it is then left as it was).
  virtual HResult ReplaceAll(const std::u16string& path, std::span<const uint8_t> bytes) = 0;
};

}  // namespace quill::storage
