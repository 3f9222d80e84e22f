// The file system as the desktop text files use it: whole files read, replaced, appended to and
// removed. Paths are UTF-16 (wide on Windows); both backslash and slash separate folders.
//
// Files are created with the default security of the folder they are in (the user's, for the
// application-data folder): no access list is built by this code.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "common/text_lines.h"

namespace quill {

// Largest text file read (a bound against reading a huge or endless file into memory).
constexpr size_t kMaxTextFileBytes = 16u << 20;

class FileSystem {
 public:
  virtual ~FileSystem() = default;
  // The file's bytes; nullopt when it does not open or is larger than maxBytes.
  virtual std::optional<std::string> ReadFile(const std::u16string& path, size_t maxBytes) = 0;
  // Replaces the file's content (creating it when missing): nothing of an older, longer content
  // remains. False when it cannot be written.
  virtual bool WriteFile(const std::u16string& path, std::string_view bytes) = 0;
  // Appends to the end of the file, creating it when missing.
  virtual bool AppendFile(const std::u16string& path, std::string_view bytes) = 0;
  // Removes the file; true when it is gone afterwards.
  virtual bool RemoveFile(const std::u16string& path) = 0;
  virtual bool FileExists(const std::u16string& path) = 0;
};

// Files of the operating system (std::filesystem and file streams; wide paths on Windows).
class DiskFileSystem final : public FileSystem {
 public:
  std::optional<std::string> ReadFile(const std::u16string& path, size_t maxBytes) override;
  bool WriteFile(const std::u16string& path, std::string_view bytes) override;
  bool AppendFile(const std::u16string& path, std::string_view bytes) override;
  bool RemoveFile(const std::u16string& path) override;
  bool FileExists(const std::u16string& path) override;
};

// Opening a text file for reading: a reader over its content, nullopt when it does not open.
std::optional<TextReader> OpenTextForReading(FileSystem& fs, const std::u16string& path);
// Writing a text file: its whole content at once.
bool SaveText(FileSystem& fs, const std::u16string& path, const TextWriter& text);

// folder and name joined by a backslash, unless folder is empty or already ends with a
// separator.
std::u16string JoinPath(std::u16string_view folder, std::u16string_view name);

}  // namespace quill
