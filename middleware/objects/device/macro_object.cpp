#include "middleware/objects/device/macro_object.h"

#include <algorithm>
#include <vector>

#include "middleware/objects/device/channel_io.h"
#include "middleware/objects/device/macro_stream.h"
#include "middleware/objects/device/memory_space.h"
#include "middleware/transport/commands.h"

namespace quill::device {
namespace {

constexpr size_t kNameBlockUnits = kMacroNameBlockSize / 2;

uint8_t Wire(int32_t number) { return static_cast<uint8_t>(number); }

HResult WriteSize(FeatureChannel& channel, int32_t number, size_t size) {
  FeatureReport report = BuildMacroSizeWrite(Wire(number), static_cast<uint16_t>(size));
  return WriteReport(channel, report);
}

// Size write, then the data in chunks; stops at the first failure.
HResult Upload(FeatureChannel& channel, int32_t number, std::span<const uint8_t> stream) {
  const HResult hr = WriteSize(channel, number, stream.size());
  if (Failed(hr)) return hr;
  return WriteMacroData(channel, Wire(number), stream);
}

}  // namespace

HResult CheckMacroNumber(int32_t number) {
  if (number == kNoNumber) return kE_FAIL;
  return ValidMacroNumber(number) ? kS_OK : kE_INVALIDARG;
}

HResult ReadMacroNameBlock(FeatureChannel& channel, int32_t number, FeatureReport& reply) {
  const HResult hr = CheckMacroNumber(number);
  if (Failed(hr)) return hr;
  reply = BuildMacroNameRead(Wire(number));
  return ReadReport(channel, reply);
}

std::u16string MacroNameFromReply(const FeatureReport& reply) {
  return ReplyText(reply, kPayload, kNameBlockUnits);
}

HResult GetMacroName(FeatureChannel& channel, int32_t number, std::u16string& name) {
  FeatureReport reply{};
  const HResult hr = ReadMacroNameBlock(channel, number, reply);
  if (Succeeded(hr)) name = MacroNameFromReply(reply);
  return hr;
}

HResult SetMacroName(FeatureChannel& channel, int32_t number, std::u16string_view name) {
  HResult hr = CheckMacroNumber(number);
  if (Failed(hr)) return hr;
  FeatureReport report{};
  return WriteBuilt(channel, BuildMacroNameWrite(Wire(number), name, report), report);
}

HResult GetMacroSize(FeatureChannel& channel, int32_t number, uint32_t& size) {
  HResult hr = CheckMacroNumber(number);
  if (Failed(hr)) return hr;
  MacroDirectory directory;
  hr = ReadMacroDirectory(channel, directory);
  if (Failed(hr)) return hr;
  const auto it = std::find(directory.numbers.begin(), directory.numbers.end(), number);
  if (it == directory.numbers.end()) return kE_FAIL;
  size = directory.sizes[static_cast<size_t>(it - directory.numbers.begin())];
  return hr;
}

HResult SetMacro(FeatureChannel& channel, int32_t number, const MacroRecord* macro) {
  HResult hr = CheckMacroNumber(number);
  if (Failed(hr)) return hr;
  if (!macro) {
    const std::vector<uint8_t> empty(kEmptyMacroSize, 0);
    return Upload(channel, number, empty);
  }

  std::vector<uint8_t> stream;
  hr = EncodeMacroStream(*macro, stream);
  if (Failed(hr)) return hr;
  if (stream.size() > kMaxMacroSize) return kE_OUTOFMEMORY;

  int32_t remaining = 0;
  hr = GetRemainingSpace(channel, remaining);
  if (Failed(hr)) return hr;
  if (!MacroFits(remaining, stream.size())) return kE_OUTOFMEMORY;

  // The stored name travels in the stream; without it the upload would wipe the name.
  FeatureReport name_block{};
  hr = ReadMacroNameBlock(channel, number, name_block);
  if (Failed(hr)) return hr;
  std::copy_n(name_block.begin() + kPayload, kMacroNameBlockSize, stream.begin());

  return Upload(channel, number, stream);
}

HResult GetMacro(FeatureChannel& channel, int32_t number, MacroRecord& macro) {
  uint32_t size = 0;
  HResult hr = GetMacroSize(channel, number, size);
  if (Failed(hr)) return hr;
  std::vector<uint8_t> stream;
  hr = ReadMacroData(channel, Wire(number), size, stream);
  if (Failed(hr)) return hr;
  return DecodeMacroStream(stream, macro);
}

}  // namespace quill::device
