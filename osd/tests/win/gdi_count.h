// The number of GDI objects the process holds. GetGuiResources answers 0 under Wine; there the
// process's handle table (the PEB's GDI handle table, the same layout as Windows') is counted.
#pragma once
#include <windows.h>
#include <winternl.h>

#include <cstdint>
#include <cstring>

namespace quill::osd::test {

inline unsigned GdiObjectCount() {
  const DWORD reported = GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS);
  if (reported != 0) return reported;
  PROCESS_BASIC_INFORMATION basic{};
  if (NtQueryInformationProcess(GetCurrentProcess(), ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) {
    return 0;
  }
  const auto* peb = reinterpret_cast<const uint8_t*>(basic.PebBaseAddress);
  const uint8_t* table = nullptr;
  std::memcpy(&table, peb + 0xF8, sizeof table);  // GdiSharedHandleTable on x64
  if (table == nullptr) return 0;
  constexpr unsigned kEntries = 0x10000, kEntrySize = 24, kTypeOffset = 14;
  unsigned count = 0;
  for (unsigned i = 0; i < kEntries; ++i) {
    const uint8_t* entry = table + static_cast<size_t>(i) * kEntrySize;
    uint64_t object = 0;
    std::memcpy(&object, entry, sizeof object);
    if (object != 0 && entry[kTypeOffset] != 0) ++count;
  }
  return count;
}

}  // namespace quill::osd::test
