#include "middleware/objects/device/button_entries.h"

#include "middleware/objects/device/channel_io.h"
#include "middleware/transport/commands.h"

namespace quill::device {
namespace {

using namespace quill::layout;

constexpr int32_t kAnyAction = -1;
constexpr int32_t kNoProperty = -1;
constexpr int8_t kNoWord = -1;

// One row of the action-code table. Encoding picks the first row whose mapping type, action
// type (unless kAnyAction) and property (info 0, unless kNoProperty) match the record, and for
// a range row whose code word lies in the range; decoding picks the row of the code.
struct EntryRow {
  uint8_t first_code;
  uint8_t last_code;
  int32_t mapping_type;
  int32_t required_action;  // kAnyAction: not looked at when encoding
  int32_t decoded_action;   // actionType of a record read back
  int32_t property;         // info 0 of device actions
  int8_t code_word;         // info word that is the code itself (range rows)
  int8_t param1_word;       // parameter 1 = info[param1_word] + param1_offset
  int8_t param1_offset;
  int8_t param2_word;       // parameter 2 = info[param2_word]; kNoWord: 0
};

constexpr std::array<EntryRow, 7> kRows{{
    {0x00, 0x0E, kMappingButtons, kActionPressed, kActionPressed, kNoProperty, 0, kNoWord, 0, kNoWord},
    {0x21, 0x21, kMappingDeviceAction, kAnyAction, kActionClick, kPropertyDpiStage, kNoWord, 2, 0, kNoWord},
    {0x22, 0x22, kMappingDeviceAction, kAnyAction, kActionClick, kPropertyProfile, kNoWord, 2, 0, kNoWord},
    {0x31, 0x31, kMappingUserAction, kActionKeycode, kActionKeycode, kNoProperty, kNoWord, 0, 0, kNoWord},
    {0x32, 0x32, kMappingMultimedia, kActionRawValue, kActionRawValue, kNoProperty, kNoWord, 0, 0, 1},
    {0x33, 0x33, kMappingAdvanced, kActionRawValue, kActionRawValue, kNoProperty, kNoWord, 0, 0, 1},
    // Macro mappings carry the 1-based lMacroId; the device wants the 0-based number.
    {0x41, 0x41, kMappingMacro, kAnyAction, kActionPressed, kNoProperty, kNoWord, 0, -1, 1},
}};

constexpr size_t kEntryButton = 0, kEntryCode = 1, kEntryParam1 = 2, kEntryParam2 = 3;
constexpr int32_t kMaxMacroId = static_cast<int32_t>(kMaxMacros);
constexpr uint8_t kProfileWriteLength = commands::kProfileWrite.length;
constexpr uint8_t kDefaultLayoutSlot = 3;

uint8_t LowByte(int32_t value) { return static_cast<uint8_t>(value & 0xFF); }
// Low byte of value + offset, without signed overflow for any record.
uint8_t LowByte(int32_t value, int32_t offset) {
  return static_cast<uint8_t>((static_cast<uint32_t>(value) + static_cast<uint32_t>(offset)) & 0xFF);
}

bool RowMatches(const EntryRow& row, const ButtonMappingRecord& m) {
  if (m.mappingType != row.mapping_type) return false;
  if (row.required_action != kAnyAction && m.actionType != row.required_action) return false;
  if (row.property != kNoProperty && m.info[0] != row.property) return false;
  if (row.code_word != kNoWord) {
    const int32_t code = m.info[static_cast<size_t>(row.code_word)];
    if (code < row.first_code || code > row.last_code) return false;
  }
  return true;
}

void EntryAt(const FeatureReport& report, size_t index, ButtonEntry& entry) {
  for (size_t b = 0; b < entry.size(); ++b) entry[b] = report[kBlockButtons + 4 * index + b];
}
void StoreEntry(FeatureReport& report, size_t index, const ButtonEntry& entry) {
  for (size_t b = 0; b < entry.size(); ++b) report[kBlockButtons + 4 * index + b] = entry[b];
}

}  // namespace

void EncodeButtonEntry(const ButtonMappingRecord& m, ButtonEntry& entry) {
  entry[kEntryButton] = LowByte(m.lButton);
  if (m.mappingType == kMappingDisabled) {
    entry[kEntryCode] = 0;
    return;
  }
  for (const EntryRow& row : kRows) {
    if (!RowMatches(row, m)) continue;
    entry[kEntryCode] = row.code_word != kNoWord
                            ? LowByte(m.info[static_cast<size_t>(row.code_word)])
                            : row.first_code;
    entry[kEntryParam1] =
        row.param1_word != kNoWord
            ? LowByte(m.info[static_cast<size_t>(row.param1_word)], row.param1_offset)
            : 0;
    entry[kEntryParam2] =
        row.param2_word != kNoWord ? LowByte(m.info[static_cast<size_t>(row.param2_word)]) : 0;
    return;
  }
}

ButtonMappingRecord DecodeButtonEntry(const ButtonEntry& entry) {
  ButtonMappingRecord m;
  m.lButton = entry[kEntryButton];
  const uint8_t code = entry[kEntryCode];
  for (const EntryRow& row : kRows) {
    if (code < row.first_code || code > row.last_code) continue;
    m.mappingType = row.mapping_type;
    m.actionType = row.decoded_action;
    if (row.property != kNoProperty) m.info[0] = row.property;
    if (row.code_word != kNoWord) m.info[static_cast<size_t>(row.code_word)] = code;
    if (row.param1_word != kNoWord)
      m.info[static_cast<size_t>(row.param1_word)] = entry[kEntryParam1] - row.param1_offset;
    if (row.param2_word != kNoWord)
      m.info[static_cast<size_t>(row.param2_word)] = entry[kEntryParam2];
    return m;
  }
  m.mappingType = kMappingDisabled;
  return m;
}

HResult CheckMappings(std::span<const ButtonMappingRecord> mappings) {
  if (mappings.size() > kButtonEntries) return kE_INVALIDARG;
  for (const ButtonMappingRecord& m : mappings)
    if (m.mappingType == kMappingMacro && (m.info[0] < 1 || m.info[0] > kMaxMacroId))
      return kE_INVALIDARG;
  return kS_OK;
}

HResult CheckProfileNumber(int32_t slot) {
  if (slot == kNoNumber) return kE_FAIL;
  return ValidSlot(slot) ? kS_OK : kE_INVALIDARG;
}

HResult SetProfileMappings(FeatureChannel& channel, int32_t slot,
                           std::span<const ButtonMappingRecord> mappings) {
  HResult hr = CheckProfileNumber(slot);
  if (Succeeded(hr)) hr = CheckMappings(mappings);
  if (Failed(hr)) return hr;
  return ReadModifyWrite(channel, BuildProfileRead(static_cast<uint8_t>(slot)), kProfileWriteLength,
                         [&](FeatureReport& report) {
                           for (size_t i = 0; i < mappings.size(); ++i) {
                             ButtonEntry entry;
                             EntryAt(report, i, entry);
                             EncodeButtonEntry(mappings[i], entry);
                             StoreEntry(report, i, entry);
                           }
                         });
}

HResult GetProfileMappings(FeatureChannel& channel, int32_t slot,
                           std::vector<ButtonMappingRecord>& mappings) {
  HResult hr = CheckProfileNumber(slot);
  if (Failed(hr)) return hr;
  FeatureReport report = BuildProfileRead(static_cast<uint8_t>(slot));
  hr = ReadReport(channel, report);
  if (Failed(hr)) return hr;
  mappings.assign(kButtonEntries, ButtonMappingRecord{});
  for (size_t i = 0; i < kButtonEntries; ++i) {
    ButtonEntry entry;
    EntryAt(report, i, entry);
    mappings[i] = DecodeButtonEntry(entry);
  }
  return hr;
}

HResult WriteDefaultLayout(FeatureChannel& channel) {
  FeatureReport report = BuildDefaultLayoutWrite();
  return WriteReport(channel, report);
}

HResult ReadDefaultLayout(FeatureChannel& channel) {
  FeatureReport report = BuildProfileRead(kDefaultLayoutSlot);
  return ReadReport(channel, report);
}

}  // namespace quill::device
