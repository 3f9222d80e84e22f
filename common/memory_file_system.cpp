#include "common/memory_file_system.h"

namespace quill {

std::optional<std::string> MemoryFileSystem::ReadFile(const std::u16string& path, size_t maxBytes) {
  ++reads;
  if (unreadable.count(path)) return std::nullopt;
  auto it = files.find(path);
  if (it == files.end() || it->second.size() > maxBytes) return std::nullopt;
  return it->second;
}

bool MemoryFileSystem::WriteFile(const std::u16string& path, std::string_view bytes) {
  if (unwritable.count(path)) return false;
  files[path] = std::string(bytes);
  return true;
}

bool MemoryFileSystem::AppendFile(const std::u16string& path, std::string_view bytes) {
  if (unwritable.count(path)) return false;
  files[path].append(bytes);
  return true;
}

bool MemoryFileSystem::RemoveFile(const std::u16string& path) {
  if (unwritable.count(path)) return !FileExists(path);
  files.erase(path);
  return true;
}

}  // namespace quill
