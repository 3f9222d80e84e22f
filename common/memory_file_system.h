// Files kept in memory, for tests of the code that reads and writes the desktop text files.
#pragma once
#include <map>
#include <set>
#include <string>

#include "common/file_system.h"

namespace quill {

class MemoryFileSystem final : public FileSystem {
 public:
  std::optional<std::string> ReadFile(const std::u16string& path, size_t maxBytes) override;
  bool WriteFile(const std::u16string& path, std::string_view bytes) override;
  bool AppendFile(const std::u16string& path, std::string_view bytes) override;
  bool RemoveFile(const std::u16string& path) override;
  bool FileExists(const std::u16string& path) override { return files.count(path) != 0; }

  // Direct access for tests.
  std::map<std::u16string, std::string> files;
  std::set<std::u16string> unreadable;   // paths whose reading fails
  std::set<std::u16string> unwritable;   // paths whose writing, appending or removal fails
  int reads = 0;                         // ReadFile calls
};

}  // namespace quill
