#include "middleware/objects/device/button_block_conversion.h"

#include <algorithm>
#include <array>

namespace quill::device {
namespace {

using namespace quill::layout;

constexpr std::array<int32_t, kButtonEntries> kSlotButtons{kButtonLeft,     kButtonRight,    kButtonCenter,
                                              kButtonMouse4,   kButtonMouse5,   kButtonDpiUp,
                                              kButtonDpiDown,  kButtonScrollUp, kButtonScrollDown};

// Click type -> block code: the five clicks are 1 to 5, the double left click 13.
struct ClickCode {
  int32_t click;
  uint8_t code;
};
constexpr std::array<ClickCode, 6> kClickCodes{{{kClickLeft, 1},
                                                {kClickRight, 2},
                                                {kClickMiddle, 3},
                                                {kClickButton4, 4},
                                                {kClickButton5, 5},
                                                {kClickDoubleLeft, 13}}};
constexpr uint8_t kKeyCode = 0x24;

constexpr size_t GroupAt(size_t slot_index) {
  return kButtonBlockFirstGroup + kButtonBlockGroupSize * slot_index;
}

}  // namespace

HResult MappingsToButtonBlock(std::span<const ButtonMappingRecord> mappings,
                              std::span<uint8_t> block) {
  if (block.size() < kButtonBlockSize) return kE_INVALIDARG;
  for (size_t k = 0; k < kSlotButtons.size(); ++k) {
    const size_t at = GroupAt(k);
    block[at] = static_cast<uint8_t>(k + 1);
    uint8_t code = 0;
    const auto record = std::find_if(mappings.begin(), mappings.end(), [&](const auto& m) {
      return m.lButton == kSlotButtons[k];
    });
    if (record != mappings.end() && record->mappingType == kMappingDeviceAction) {
      if (record->actionType == kActionClick) {
        for (const ClickCode& c : kClickCodes)
          if (c.click == record->info[kClickType]) code = c.code;
      } else if (record->actionType == kActionKeycode) {
        code = kKeyCode;
        block[at + 2] = static_cast<uint8_t>(record->info[kKeyScanCode] & 0xFF);
      }
    }
    block[at + 1] = code;
  }
  return kS_OK;
}

HResult ButtonBlockToMappings(std::span<const uint8_t> block,
                              std::vector<ButtonMappingRecord>& mappings) {
  if (block.size() < kButtonBlockSize) return kE_INVALIDARG;
  mappings.assign(kSlotButtons.size(), ButtonMappingRecord{});
  for (size_t k = 0; k < kSlotButtons.size(); ++k) {
    ButtonMappingRecord& m = mappings[k];
    m.lButton = kSlotButtons[k];
    const uint8_t code = block[GroupAt(k) + 1];
    const auto click = std::find_if(kClickCodes.begin(), kClickCodes.end(),
                                    [&](const ClickCode& c) { return c.code == code; });
    if (click != kClickCodes.end()) {
      m.mappingType = kMappingDeviceAction;
      m.actionType = kActionClick;
      m.info[kClickType] = click->click;
    } else if (code == kKeyCode) {
      m.mappingType = kMappingDeviceAction;
      m.actionType = kActionKeycode;
      m.info[kKeyScanCode] = block[GroupAt(k) + 2];
      m.info[kKeyVirtualKey] = block[GroupAt(k) + 2];
    } else {
      m.mappingType = kMappingDisabled;
    }
  }
  return kS_OK;
}

}  // namespace quill::device
