#include "middleware/objects/device/macro_manager.h"

#include <algorithm>
#include <array>

#include "middleware/objects/device/channel_io.h"
#include "middleware/objects/device/device_records.h"
#include "middleware/objects/device/macro_object.h"
#include "middleware/objects/device/memory_space.h"

namespace quill::device {

void CompactEntries(MacroDirectory& directory) {
  MacroDirectory compacted;
  size_t used = 0;
  for (size_t i = 0; i < kMaxMacros; ++i) {
    if (directory.sizes[i] == 0) continue;
    compacted.numbers[used] = directory.numbers[i];
    compacted.sizes[used] = directory.sizes[i];
    ++used;
  }
  directory = compacted;
}

bool NumberForNewMacro(const MacroDirectory& directory, size_t position, int32_t& number) {
  if (position >= kMaxMacros) return false;
  std::array<bool, kMaxMacros> held{};
  for (size_t i = 0; i < kMaxMacros; ++i)
    if (directory.sizes[i] != 0 && ValidMacroNumber(directory.numbers[i]))
      held[static_cast<size_t>(directory.numbers[i])] = true;

  const int32_t next = position == 0 ? 0 : directory.numbers[position - 1] + 1;
  if (ValidMacroNumber(next) && !held[static_cast<size_t>(next)]) {
    number = next;
    return true;
  }
  const auto free = std::find(held.begin(), held.end(), false);
  if (free == held.end()) return false;
  number = static_cast<int32_t>(free - held.begin());
  return true;
}

HResult MacroManager::CompactDirectory(FeatureChannel& channel) {
  const HResult hr = ReadMacroDirectory(channel, directory_);
  CompactEntries(directory_);
  return hr;
}

HResult MacroManager::GetMacroByIndex(FeatureChannel& channel, int32_t index, int32_t& macro_id) {
  if (index < 0 || index >= static_cast<int32_t>(kMaxMacros)) return kE_INVALIDARG;
  if (index == 0) {
    const HResult hr = CompactDirectory(channel);
    if (Failed(hr)) return hr;
  }
  const size_t position = static_cast<size_t>(index);
  if (directory_.sizes[position] == 0) return kE_FAIL;
  macro_id = directory_.numbers[position] + 1;
  return kS_OK;
}

HResult MacroManager::CreateMacro(FeatureChannel& channel, int32_t& macro_id) {
  if (!HasFreeSpace(channel)) return kE_OUTOFMEMORY;
  MacroDirectory directory;
  HResult hr = ReadMacroDirectory(channel, directory);
  if (Failed(hr)) return hr;
  const auto free = std::find(directory.sizes.begin(), directory.sizes.end(), 0u);
  if (free == directory.sizes.end()) return kE_FAIL;
  int32_t number = 0;
  if (!NumberForNewMacro(directory, static_cast<size_t>(free - directory.sizes.begin()), number))
    return kE_FAIL;
  hr = SetMacro(channel, number, nullptr);
  if (Succeeded(hr)) macro_id = number + 1;
  return hr;
}

HResult MacroManager::DeleteMacro(FeatureChannel& channel, int32_t macro_id) {
  if (macro_id < 1 || !ValidMacroNumber(macro_id - 1)) return kE_INVALIDARG;
  FeatureReport report = BuildMacroDelete(static_cast<uint32_t>(macro_id));
  return WriteReport(channel, report);
}

}  // namespace quill::device
