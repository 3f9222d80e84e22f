// The backup file reader on any bytes: no crash, and a file it accepts writes back as a file
// that reads as the same mouse and writes as the same text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "cli/mouse_backup.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace quill::cli;
  const BackupReadResult read = ReadBackup(std::string_view(reinterpret_cast<const char*>(data), size));
  if (!read.ok) return 0;
  const std::string text = WriteBackup(read.backup);
  const BackupReadResult again = ReadBackup(text);
  if (!again.ok || !(again.backup == read.backup) || WriteBackup(again.backup) != text) std::abort();
  return 0;
}
