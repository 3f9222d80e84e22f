#include "middleware/objects/device/profile_manager.h"

#include "middleware/objects/device/button_entries.h"
#include "middleware/objects/device/channel_io.h"
#include "middleware/objects/device/device_records.h"
#include "middleware/transport/commands.h"

namespace quill::device {
namespace {

constexpr size_t kNameFirstByte = 10;
constexpr uint8_t kEmptyName = 0xFF;
constexpr uint8_t kPerformanceWriteLength = commands::kPerformanceWrite.length;
constexpr int32_t kBaseProfile = 1;

uint8_t Wire(int32_t slot) { return static_cast<uint8_t>(slot); }

// Name read of a slot. `occupied` is meaningful only on success.
HResult ReadSlotState(FeatureChannel& channel, int32_t slot, uint8_t fill, bool& occupied) {
  FeatureReport report = BuildProfileNameRead(Wire(slot), fill);
  const HResult hr = ReadReport(channel, report);
  occupied = Succeeded(hr) && report[kNameFirstByte] != kEmptyName;
  return hr;
}

HResult WriteReportOf(FeatureChannel& channel, FeatureReport report) {
  return WriteReport(channel, report);
}

// Slot n to a fresh profile: default block, then an empty name.
HResult InitialiseSlot(FeatureChannel& channel, int32_t slot) {
  HResult hr = WriteReportOf(channel, BuildProfileWrite(DefaultProfileBlock(Wire(slot))));
  if (Failed(hr)) return hr;
  FeatureReport name{};
  return WriteBuilt(channel, BuildProfileNameWrite(Wire(slot), u"", name), name);
}

}  // namespace

HResult ProfileExists(FeatureChannel& channel, int32_t slot) {
  if (!ValidSlot(slot)) return kE_INVALIDARG;
  bool occupied = false;
  const HResult hr = ReadSlotState(channel, slot, 0, occupied);
  if (Failed(hr)) return hr;
  return occupied ? kS_OK : kE_FAIL;
}

HResult GetActiveProfileNumber(FeatureChannel& channel, int32_t& slot) {
  FeatureReport report = BuildActiveSlotRead();
  const HResult hr = ReadReport(channel, report);
  if (Succeeded(hr)) slot = ParsePerformance(report).active_slot;
  return hr;
}

HResult GetProfileByIndex(FeatureChannel& channel, int32_t index, int32_t& slot) {
  if (index < 0 || index >= static_cast<int32_t>(kProfileSlots)) return kE_INVALIDARG;
  int32_t existing = 0;
  for (int32_t n = kFirstSlot; n <= kLastSlot; ++n) {
    bool occupied = false;
    const HResult hr = ReadSlotState(channel, n, 0, occupied);
    // Without this slot's state the index cannot be counted.
    if (Failed(hr)) return hr;
    if (!occupied) continue;
    if (existing == index) return OpenProfile(channel, n, slot);
    ++existing;
  }
  if (existing > 0) return kE_FAIL;

  int32_t created = 0;
  HResult hr = CreateProfile(channel, created);
  if (Succeeded(hr)) hr = SetActiveProfile(channel, created);
  if (Failed(hr)) return hr;
  if (index != 0) return kE_FAIL;
  slot = created;
  return hr;
}

HResult OpenProfile(FeatureChannel& channel, int32_t number, int32_t& slot) {
  HResult hr = ProfileExists(channel, number);
  if (Failed(hr)) return hr;
  FeatureReport report = BuildProfileRead(Wire(number));
  hr = ReadReport(channel, report);
  if (Failed(hr)) return hr;
  const int32_t reported = report[kBlockSlot];
  if (!ValidSlot(reported)) return kE_FAIL;
  slot = reported;
  return hr;
}

HResult SetActiveProfile(FeatureChannel& channel, int32_t slot) {
  if (!ValidSlot(slot)) return kE_INVALIDARG;
  FeatureReport block = BuildProfileRead(Wire(slot));
  HResult hr = ReadReport(channel, block);
  if (Failed(hr)) return hr;
  const uint8_t stage = block[kBlockDefaultStage];
  const bool has_stage = stage >= 1 && stage <= kMaxDpiStages;

  int32_t active = 0;
  hr = GetActiveProfileNumber(channel, active);
  if (Failed(hr)) return hr;
  if (active == slot) return kS_OK;

  FeatureReport report = BuildPerformanceRead();
  hr = ReadReport(channel, report);
  if (Failed(hr)) return hr;
  PrepareWriteFromReply(report, kPerformanceWriteLength);
  Performance performance = ParsePerformance(report);
  performance.active_slot = Wire(slot);
  if (has_stage) {
    performance.dpi_stage = stage;
    performance.dpi_x_code = block[kBlockStages + 2 * (stage - 1)];
    performance.dpi_y_code = block[kBlockStages + 2 * (stage - 1) + 1];
  }
  StorePerformance(report, performance);
  return WriteReport(channel, report);
}

HResult CreateProfile(FeatureChannel& channel, int32_t& slot) {
  HResult last_error = kS_OK;
  for (int32_t n = kFirstSlot; n <= kLastSlot; ++n) {
    bool occupied = true;
    HResult hr = ReadSlotState(channel, n, kEmptyName, occupied);
    if (Succeeded(hr) && occupied) continue;
    if (Succeeded(hr)) hr = InitialiseSlot(channel, n);
    if (Failed(hr)) {
      last_error = hr;
      continue;
    }
    slot = n;
    return hr;
  }
  return Failed(last_error) ? last_error : kE_OUTOFMEMORY;
}

HResult DeleteProfile(FeatureChannel& channel, int32_t slot) {
  HResult hr = CheckProfileNumber(slot);
  if (Failed(hr)) return hr;
  if (slot == kBaseProfile) return kE_ACCESSDENIED;
  int32_t active = 0;
  hr = GetActiveProfileNumber(channel, active);
  if (Failed(hr)) return hr;
  if (active == slot) return kE_ACCESSDENIED;
  hr = WriteReportOf(channel, BuildProfileErase(Wire(slot)));
  if (Failed(hr)) return hr;
  return WriteReportOf(channel, BuildProfileNameErase(Wire(slot)));
}

HResult SetProfileName(FeatureChannel& channel, int32_t slot, std::u16string_view name) {
  HResult hr = CheckProfileNumber(slot);
  if (Failed(hr)) return hr;
  FeatureReport report{};
  return WriteBuilt(channel, BuildProfileNameWrite(Wire(slot), name, report), report);
}

HResult GetProfileName(FeatureChannel& channel, int32_t slot, std::u16string& name) {
  HResult hr = CheckProfileNumber(slot);
  if (Failed(hr)) return hr;
  FeatureReport report = BuildProfileNameRead(Wire(slot));
  hr = ReadReport(channel, report);
  if (Succeeded(hr)) name = ParseProfileName(report);
  return hr;
}

}  // namespace quill::device
