// In-memory files behind the FileSystem seam, with injectable failures, for tests.
#pragma once
#include <map>

#include "middleware/storage/file_system.h"

namespace quill::storage {

class MemoryFileSystem final : public FileSystem {
 public:
  HResult ReadAll(const std::u16string& path, size_t max_size, std::vector<uint8_t>& bytes,
                   bool& found) override;
  HResult ReplaceAll(const std::u16string& path, std::span<const uint8_t> bytes) override;

  void Put(const std::u16string& path, std::vector<uint8_t> bytes) { files_[path] = std::move(bytes); }
  void PutText(const std::u16string& path, std::string_view text) {
    Put(path, std::vector<uint8_t>(text.begin(), text.end()));
  }
  bool Exists(const std::u16string& path) const { return files_.count(path) != 0; }
  // The file's bytes (empty for a missing file).
  std::vector<uint8_t> Get(const std::u16string& path) const;
  std::string GetText(const std::u16string& path) const;

  // The next reads or replacements fail with this result (S_OK: they succeed again).
  void FailReads(HResult hr) { read_failure_ = hr; }
  void FailReplacements(HResult hr) { replace_failure_ = hr; }
  int replacements() const { return replacements_; }

 private:
  std::map<std::u16string, std::vector<uint8_t>> files_;
  HResult read_failure_ = kS_OK;
  HResult replace_failure_ = kS_OK;
  int replacements_ = 0;
};

}  // namespace quill::storage
