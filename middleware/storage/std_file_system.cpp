#include "middleware/storage/std_file_system.h"

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

#include "middleware/storage/storage_errors.h"

namespace quill::storage {

namespace fs = std::filesystem;

HResult StdFileSystem::ReadAll(const std::u16string& path, size_t max_size,
                                std::vector<uint8_t>& bytes, bool& found) {
  bytes.clear();
  found = false;
  const fs::path target(path);
  std::error_code ec;
  const fs::file_status status = fs::status(target, ec);
  if (status.type() == fs::file_type::not_found) return kS_OK;
  found = true;
  if (ec || status.type() != fs::file_type::regular) return kE_HANDLE;
  const uintmax_t size = fs::file_size(target, ec);
  if (ec) return kE_HANDLE;
  if (size > max_size) return kE_FILE_TOO_LARGE;
  std::ifstream in(target, std::ios::binary);
  if (!in) return kE_HANDLE;
  bytes.resize(static_cast<size_t>(size));
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (in.gcount() != static_cast<std::streamsize>(bytes.size())) {
    bytes.clear();
    return kE_FAIL;
  }
  return kS_OK;
}

namespace {

// A name beside the target that no other file has: "<name>.TVO<number>".
fs::path BesideName(const fs::path& target) {
  static std::atomic<uint32_t> counter{std::random_device{}()};
  for (int attempt = 0; attempt < 100; ++attempt) {
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".TVO%08X", static_cast<unsigned>(counter++));
    fs::path candidate = target;
    candidate += suffix;
    std::error_code ec;
    if (!fs::exists(candidate, ec) && !ec) return candidate;
  }
  return {};
}

}  // namespace

HResult StdFileSystem::ReplaceAll(const std::u16string& path, std::span<const uint8_t> bytes) {
  const fs::path target(path);
  const fs::path beside = BesideName(target);
  if (beside.empty()) return kE_HANDLE;
  {
    std::ofstream out(beside, std::ios::binary | std::ios::trunc);
    if (!out) return kE_HANDLE;
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ignored;
      fs::remove(beside, ignored);
      return kE_FAIL;
    }
  }
  std::error_code ec;
  fs::rename(beside, target, ec);
  if (ec) {
    std::error_code ignored;
    fs::remove(beside, ignored);
    return kE_FAIL;
  }
  return kS_OK;
}

}  // namespace quill::storage
