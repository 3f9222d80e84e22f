#include "middleware/storage/win/com/profile_mapping_upload.h"

#include "middleware/typelib/record_layouts.h"

namespace quill::server {
namespace {

void PutWord(std::vector<uint8_t>& block, size_t at, int32_t value) {
  const auto word = static_cast<uint32_t>(value);
  for (size_t i = 0; i < 4; ++i) block[at + i] = static_cast<uint8_t>(word >> (8 * i));
}

// How many info words of an action travel, from the first.
size_t InfoWordsSent(int32_t action_type) {
  switch (action_type) {
    case layout::kActionClick: return 2;
    case layout::kActionKeycode:
    case layout::kActionPropertyChange: return 3;
    default: return 0;  // interrupts and the other action types send none
  }
}

}  // namespace

std::vector<uint8_t> MappingSetUploadBlock(const storage::ProfileRecord& set) {
  std::vector<uint8_t> block(kUploadSetHeader + kUploadEntrySize * set.mappings.size(), 0);
  PutWord(block, 0, set.version);
  PutWord(block, 4, static_cast<int32_t>(set.mappings.size()));
  int32_t macros = 0;
  int32_t user_actions = 0;
  for (size_t i = 0; i < set.mappings.size(); ++i) {
    const storage::ButtonMapping& mapping = set.mappings[i];
    const size_t at = kUploadSetHeader + kUploadEntrySize * i;
    PutWord(block, at, mapping.button);
    PutWord(block, at + 4, mapping.mapping_type);
    if (mapping.mapping_type == layout::kMappingDeviceAction) {
      PutWord(block, at + 8, mapping.action_type);
      for (size_t w = 0; w < InfoWordsSent(mapping.action_type); ++w) PutWord(block, at + 12 + 4 * w, mapping.info[w]);
    } else if (mapping.NamesMacro()) {
      PutWord(block, at + 8, ++macros);
    } else if (mapping.NamesUserAction()) {
      PutWord(block, at + 8, ++user_actions);
    }
  }
  return block;
}

std::vector<uint8_t> MacroUploadBlock(const storage::MacroRecord& macro, int32_t ordinal) {
  std::vector<uint8_t> block(kUploadMacroHeader + kUploadEntrySize * macro.elements.size(), 0);
  PutWord(block, 0, 1);
  PutWord(block, 4, macro.options);
  PutWord(block, 8, macro.type);
  PutWord(block, 12, ordinal);
  PutWord(block, 16, macro.repeat);
  PutWord(block, 20, static_cast<int32_t>(macro.elements.size()));
  for (size_t i = 0; i < macro.elements.size(); ++i) {
    const storage::MacroElement& element = macro.elements[i];
    const size_t at = kUploadMacroHeader + kUploadEntrySize * i;
    PutWord(block, at, element.action_type);
    for (size_t w = 0; w < InfoWordsSent(element.action_type); ++w) PutWord(block, at + 4 + 4 * w, element.info[w]);
    PutWord(block, at + 33, element.delay_ms);
    PutWord(block, at + 37, element.hold_ms);
  }
  return block;
}

HResult UploadMappingSet(DriverHandler& handler, storage::MacroStore& macros,
                         const storage::ProfileRecord& set) {
  HResult hr = handler.UploadButtonMappingBlock(MappingSetUploadBlock(set));
  int32_t ordinal = 0;
  for (const storage::ButtonMapping& mapping : set.mappings) {
    if (Failed(hr)) break;
    if (!mapping.NamesMacro()) continue;
    storage::MacroRecord macro;
    hr = macros.Load(mapping.name, macro);
    if (Succeeded(hr)) hr = handler.UploadButtonMappingEntries(MacroUploadBlock(macro, ++ordinal));
  }
  return hr;
}

}  // namespace quill::server
