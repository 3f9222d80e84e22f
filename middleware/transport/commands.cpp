#include "middleware/transport/commands.h"

#include <algorithm>

namespace quill {
namespace {

struct RateCode {
  uint32_t hz;
  uint8_t code;
};
constexpr std::array<RateCode, 3> kRateCodes{{{1000, 1}, {500, 2}, {125, 8}}};

// UTF-16LE units into the report from `first`; the caller has checked that they fit.
void PutText(FeatureReport& report, size_t first, std::u16string_view text) {
  for (size_t i = 0; i < text.size(); ++i) {
    report[first + 2 * i] = static_cast<uint8_t>(text[i] & 0xFF);
    report[first + 2 * i + 1] = static_cast<uint8_t>(text[i] >> 8);
  }
}

FeatureReport RequestWithByte9(const CommandSpec& spec, uint8_t value) {
  FeatureReport report = MakeRequest(spec);
  report[kPayload] = value;
  return report;
}

constexpr size_t kProfileNameFirst = 10;   // bytes 10 to 49
constexpr size_t kProfileNameBytes = 2 * kProfileNameUnits;
constexpr size_t kMacroNameFirst = 9;      // bytes 9 to 48

}  // namespace

FeatureReport MakeRequest(const CommandSpec& spec) {
  FeatureReport report{};
  report[kReportId] = 0;
  report[kFixedOne] = 1;
  report[kDirection] = static_cast<uint8_t>(spec.direction);
  report[kCommand] = spec.code;
  report[kLength] = spec.length;
  report[kTrailer] = 1;
  return report;
}

std::optional<uint8_t> PollingRateToCode(uint32_t hz) {
  for (const RateCode& rc : kRateCodes)
    if (rc.hz == hz) return rc.code;
  return std::nullopt;
}

std::optional<uint32_t> PollingCodeToRate(uint8_t code) {
  for (const RateCode& rc : kRateCodes)
    if (rc.code == code) return rc.hz;
  return std::nullopt;
}

FeatureReport BuildDeviceInfoRead() { return MakeRequest(commands::kDeviceInfoRead); }
FeatureReport BuildPerformanceRead() { return MakeRequest(commands::kPerformanceRead); }
FeatureReport BuildActiveSlotRead() { return MakeRequest(commands::kActiveSlotRead); }

FeatureReport BuildProfileRead(uint8_t slot) {
  return RequestWithByte9(commands::kProfileRead, slot);
}

FeatureReport BuildProfileWrite(const ProfileBlock& block) {
  FeatureReport report = MakeRequest(commands::kProfileWrite);
  StoreProfileBlock(report, block);
  return report;
}

FeatureReport BuildDefaultLayoutWrite() {
  static constexpr std::array<uint8_t, kButtonEntries> kCodes{1, 2, 3, 4, 5, 0x0B, 0x0C, 8, 9};
  FeatureReport report = MakeRequest(commands::kDefaultLayoutWrite);
  report[9] = 3;
  report[10] = 2;
  report[11] = 4;
  for (size_t k = 0; k < kButtonEntries; ++k) {
    const size_t at = 12 + 4 * k;
    report[at + 2] = static_cast<uint8_t>(k + 1);
    report[at + 3] = kCodes[k];
  }
  return report;
}

FeatureReport BuildProfileErase(uint8_t slot) {
  return RequestWithByte9(commands::kProfileErase, slot);
}

FeatureReport BuildMacroDirectoryRead(uint8_t page) {
  FeatureReport report = MakeRequest(commands::kMacroDirectoryRead);
  report[kMacroSlot] = page;
  return report;
}

FeatureReport BuildMacroSizeWrite(uint8_t macro_number, uint16_t size) {
  FeatureReport report = RequestWithByte9(commands::kMacroSizeWrite, macro_number);
  PutBigEndian16(report, 10, size);
  return report;
}

FeatureReport BuildMacroDelete(uint32_t macro_id) {
  return RequestWithByte9(commands::kMacroDelete, static_cast<uint8_t>(macro_id - 1));
}

FeatureReport BuildMacroDataWrite(uint8_t macro_number, uint16_t counter,
                                  std::span<const uint8_t> chunk) {
  const size_t length = std::min(chunk.size(), kMacroChunkSize);
  FeatureReport report = MakeRequest(commands::kMacroDataWrite);
  report[kLength] = static_cast<uint8_t>(length);
  PutBigEndian16(report, kCounterHigh, counter);
  report[kMacroSlot] = macro_number;
  std::copy_n(chunk.begin(), length, report.begin() + kPayload);
  return report;
}

FeatureReport BuildMacroDataRead(uint8_t macro_number, uint16_t counter) {
  FeatureReport report = MakeRequest(commands::kMacroDataRead);
  PutBigEndian16(report, kCounterHigh, counter);
  report[kMacroSlot] = macro_number;
  return report;
}

FeatureReport BuildMacroNameRead(uint8_t macro_number) {
  FeatureReport report = MakeRequest(commands::kMacroNameRead);
  report[kMacroSlot] = macro_number;
  return report;
}

HResult BuildMacroNameWrite(uint8_t macro_number, std::u16string_view name, FeatureReport& out) {
  if (name.size() > kMaxNameUnits) return kE_FAIL;
  FeatureReport report = MakeRequest(commands::kMacroNameWrite);
  report[kMacroSlot] = macro_number;
  PutText(report, kMacroNameFirst, name);  // the zeroed bytes after it are the terminator
  out = report;
  return kS_OK;
}

FeatureReport BuildProfileNameRead(uint8_t slot, uint8_t name_fill) {
  FeatureReport report = RequestWithByte9(commands::kProfileNameRead, slot);
  std::fill_n(report.begin() + kProfileNameFirst, kProfileNameBytes, name_fill);
  return report;
}

HResult BuildProfileNameWrite(uint8_t slot, std::u16string_view name, FeatureReport& out) {
  if (name.size() > kMaxNameUnits) return kE_FAIL;
  FeatureReport report = RequestWithByte9(commands::kProfileNameWrite, slot);
  PutText(report, kProfileNameFirst, name);
  out = report;
  return kS_OK;
}

FeatureReport BuildProfileNameErase(uint8_t slot) {
  FeatureReport report = RequestWithByte9(commands::kProfileNameWrite, slot);
  std::fill_n(report.begin() + kProfileNameFirst, kProfileNameBytes, uint8_t{0xFF});
  return report;
}

FeatureReport BuildMemorySpaceRead() { return MakeRequest(commands::kMemorySpaceRead); }

FeatureReport BuildDownloadMode(bool enter) {
  return RequestWithByte9(commands::kDownloadModeWrite, enter ? 1 : 2);
}

FeatureReport BuildSensorRomRead() { return MakeRequest(commands::kSensorRomRead); }

ProfileBlock DefaultProfileBlock(uint8_t slot) {
  static constexpr std::array<uint8_t, kMaxDpiStages> kStageCodes{28, 44, 68, 156, 220};
  static constexpr std::array<uint8_t, kButtonEntries> kFunctions{1, 2, 3, 4, 5, 11, 12, 8, 9};
  ProfileBlock block{};
  block[kBlockSlot - kPayload] = slot;
  block[kBlockLedBits - kPayload] = 7;
  block[kBlockDefaultStage - kPayload] = 3;
  block[kBlockStageCount - kPayload] = kMaxDpiStages;
  for (size_t i = 0; i < kMaxDpiStages; ++i) {
    block[kBlockStages - kPayload + 2 * i] = kStageCodes[i];
    block[kBlockStages - kPayload + 2 * i + 1] = kStageCodes[i];
  }
  for (size_t i = 0; i < kButtonEntries; ++i) {
    block[kBlockButtons - kPayload + 4 * i] = static_cast<uint8_t>(i + 1);
    block[kBlockButtons - kPayload + 4 * i + 1] = kFunctions[i];
  }
  return block;
}

void PrepareWriteFromReply(FeatureReport& report, uint8_t length) {
  report[kStatus] = 0;
  report[kDirection] = kDirectionWrite;
  report[kLength] = length;
  report[kChecksum] = 0;
  report[kTrailer] = 1;
}

HResult ReadModifyWrite(FeatureChannel& channel, const FeatureReport& request,
                        uint8_t write_length, const std::function<void(FeatureReport&)>& modify,
                        bool recover_read, FeatureReport* report) {
  FeatureReport buffer = request;
  HResult hr = channel.GetFeatureRaw(buffer, buffer.size(), recover_read);
  if (Succeeded(hr)) {
    PrepareWriteFromReply(buffer, write_length);
    if (modify) modify(buffer);
    hr = channel.SetFeatureRaw(buffer, buffer.size(), false);
  }
  if (report) *report = buffer;
  return hr;
}

Performance ParsePerformance(const FeatureReport& reply) {
  return Performance{reply[9], reply[10], reply[11], reply[12], reply[13]};
}

void StorePerformance(FeatureReport& report, const Performance& p) {
  report[9] = p.active_slot;
  report[10] = p.polling_code;
  report[11] = p.dpi_stage;
  report[12] = p.dpi_x_code;
  report[13] = p.dpi_y_code;
}

DeviceInformation ParseDeviceInformation(const FeatureReport& reply) {
  DeviceInformation info;
  std::copy_n(reply.begin() + kPayload, kSerialNumberSize, info.serial.begin());
  info.firmware_major = reply[41];
  info.firmware_minor = reply[42];
  return info;
}

ProfileBlock ParseProfileBlock(const FeatureReport& reply) {
  ProfileBlock block{};
  std::copy_n(reply.begin() + kPayload, kProfileBlockSize, block.begin());
  return block;
}

void StoreProfileBlock(FeatureReport& report, const ProfileBlock& block) {
  std::copy(block.begin(), block.end(), report.begin() + kPayload);
}

std::u16string ParseProfileName(const FeatureReport& reply) {
  if (reply[kProfileNameFirst] == 0xFF) return {};
  return ReplyText(reply, kProfileNameFirst, kProfileNameUnits);
}

std::u16string ParseMacroName(const FeatureReport& reply) {
  return ReplyText(reply, kMacroNameFirst, kPayloadSize / 2);
}

MemorySpace ParseMemorySpace(const FeatureReport& reply) { return MemorySpace{reply[9], reply[10]}; }

}  // namespace quill
