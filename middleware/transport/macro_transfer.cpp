// The multi-report transfers of the command layer: macro data in chunks, directory pages.
#include <algorithm>

#include "middleware/transport/commands.h"

namespace quill {

HResult WriteMacroData(FeatureChannel& channel, uint8_t macro_number,
                       std::span<const uint8_t> data) {
  if (data.empty()) return kE_FAIL;
  if (data.size() > kMaxMacroSize) return kE_INVALIDARG;
  const size_t chunks = MacroChunkCount(data.size());
  HResult hr = kS_OK;
  for (size_t i = 0; i < chunks; ++i) {
    const size_t offset = i * kMacroChunkSize;
    const auto chunk = data.subspan(offset, std::min(kMacroChunkSize, data.size() - offset));
    FeatureReport report =
        BuildMacroDataWrite(macro_number, static_cast<uint16_t>(chunks - 1 - i), chunk);
    hr = channel.SetFeatureRaw(report, report.size(), false);
    // A missing chunk leaves the macro corrupt whatever follows: stop and report it.
    if (Failed(hr)) return hr;
  }
  return hr;
}

HResult ReadMacroData(FeatureChannel& channel, uint8_t macro_number, size_t length,
                      std::vector<uint8_t>& data) {
  data.clear();
  if (length == 0) return kE_FAIL;
  if (length > kMaxMacroSize) return kE_INVALIDARG;
  std::vector<uint8_t> buffer;
  buffer.reserve(length);
  const size_t chunks = MacroChunkCount(length);
  for (size_t i = 0; i < chunks; ++i) {
    FeatureReport report = BuildMacroDataRead(macro_number, static_cast<uint16_t>(chunks - 1 - i));
    const HResult hr = channel.GetFeatureRaw(report, report.size(), false);
    if (Failed(hr)) return hr;
    const size_t take = std::min(kMacroChunkSize, length - i * kMacroChunkSize);
    const auto bytes = ReplyBytes(report, kPayload, take);
    buffer.insert(buffer.end(), bytes.begin(), bytes.end());
  }
  data = std::move(buffer);
  return kS_OK;
}

HResult ReadMacroDirectory(FeatureChannel& channel, MacroDirectory& directory) {
  directory.Clear();
  HResult hr = kS_OK;
  for (size_t page = 0; page * kDirectoryEntriesPerPage < kMaxMacros; ++page) {
    FeatureReport report = BuildMacroDirectoryRead(static_cast<uint8_t>(page));
    hr = channel.GetFeatureRaw(report, report.size(), false);
    if (Failed(hr)) break;
    const size_t entries =
        std::min(ReplyPayloadLength(report) / kDirectoryEntrySize, kDirectoryEntriesPerPage);
    for (size_t k = 0; k < entries; ++k) {
      const size_t position = page * kDirectoryEntriesPerPage + k;
      if (position >= kMaxMacros) break;
      const size_t at = kPayload + k * kDirectoryEntrySize;
      directory.numbers[position] = report[at];
      directory.sizes[position] = GetBigEndian16(report, at + 1);
    }
    if (report[kLength] != kDirectoryEntriesPerPage * kDirectoryEntrySize) break;
  }
  return hr;
}

}  // namespace quill
