#include "common/file_system.h"

#include <filesystem>
#include <fstream>
#include <system_error>

namespace quill {

namespace {

std::filesystem::path ToPath(const std::u16string& path) {
#ifdef _WIN32
  return std::filesystem::path(path);
#else
  std::u16string portable = path;
  for (char16_t& c : portable)
    if (c == u'\\') c = u'/';
  return std::filesystem::path(portable);
#endif
}

}  // namespace

std::optional<std::string> DiskFileSystem::ReadFile(const std::u16string& path, size_t maxBytes) {
  std::ifstream in(ToPath(path), std::ios::binary);
  if (!in) return std::nullopt;
  std::string bytes;
  char chunk[4096];
  while (in) {
    in.read(chunk, sizeof chunk);
    const auto got = static_cast<size_t>(in.gcount());
    if (bytes.size() + got > maxBytes) return std::nullopt;
    bytes.append(chunk, got);
  }
  if (in.bad()) return std::nullopt;
  return bytes;
}

namespace {
bool WriteBytes(const std::u16string& path, std::string_view bytes, std::ios::openmode mode) {
  std::ofstream out(ToPath(path), std::ios::binary | mode);
  if (!out) return false;
  out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  out.close();
  return !out.fail();
}
}  // namespace

bool DiskFileSystem::WriteFile(const std::u16string& path, std::string_view bytes) {
  return WriteBytes(path, bytes, std::ios::trunc);
}

bool DiskFileSystem::AppendFile(const std::u16string& path, std::string_view bytes) {
  return WriteBytes(path, bytes, std::ios::app);
}

bool DiskFileSystem::RemoveFile(const std::u16string& path) {
  std::error_code error;
  const auto p = ToPath(path);
  std::filesystem::remove(p, error);
  return !std::filesystem::exists(p, error);
}

bool DiskFileSystem::FileExists(const std::u16string& path) {
  std::error_code error;
  return std::filesystem::is_regular_file(ToPath(path), error);
}

std::optional<TextReader> OpenTextForReading(FileSystem& fs, const std::u16string& path) {
  auto bytes = fs.ReadFile(path, kMaxTextFileBytes);
  if (!bytes) return std::nullopt;
  return TextReader::FromBytes(*bytes);
}

bool SaveText(FileSystem& fs, const std::u16string& path, const TextWriter& text) {
  return fs.WriteFile(path, text.Bytes());
}

std::u16string JoinPath(std::u16string_view folder, std::u16string_view name) {
  std::u16string path(folder);
  if (!path.empty() && path.back() != u'\\' && path.back() != u'/') path.push_back(u'\\');
  path.append(name);
  return path;
}

}  // namespace quill
