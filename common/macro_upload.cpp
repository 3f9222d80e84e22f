#include "common/macro_upload.h"

#include <algorithm>
#include <limits>

#include "common/key_names.h"
#include "common/name_fields.h"

namespace quill::macro_store {
namespace {

int32_t ClickTypeOfButton(int buttonIndex) {
  const uint32_t bit = MouseBitFromButtonIndex(buttonIndex);
  int32_t type = 0;
  while (bit > (1u << type)) ++type;
  return type;
}

}  // namespace

MacroElement UploadElement(uint16_t code, int32_t delayMs) {
  MacroElement element;
  element.lDelayMs = std::clamp(delayMs, 0, kMaxElementDelayMs);
  const int32_t options = IsReleaseEvent(code) ? KEYCODE_OPTIONS_BREAK : 0;
  const int button = MouseButtonIndex(code);
  if (IsMouseEvent(code) && button != 0) {
    element.actionType = BUTTON_ACTION_CLICK;
    element.info[kClickInfoType] = ClickTypeOfButton(button);
    element.info[kClickInfoOptions] = options;
    return element;
  }
  element.actionType = BUTTON_ACTION_KEYCODE;
  element.info[kKeyInfoUsage] = IsMouseEvent(code) ? 0 : HidUsageFromKeyCode(code);
  element.info[kKeyInfoOptions] = options;
  return element;
}

std::optional<MacroUpload> BuildUploadForm(const MacroEventList& events) {
  if (events.lNumElements < 0 || events.lNumElements > kMaxMacroEvents) return std::nullopt;
  MacroUpload upload;
  upload.lNumElements = events.lNumElements;
  for (int32_t i = 0; i < events.lNumElements; ++i) {
    const size_t at = static_cast<size_t>(i);
    int64_t delay = 0;
    if (i + 1 < events.lNumElements) delay = static_cast<int64_t>(events.alTimes[at + 1]) - events.alTimes[at];
    delay = std::clamp<int64_t>(delay, 0, kMaxElementDelayMs);
    upload.elements[at] = UploadElement(events.ausCodes[at], static_cast<int32_t>(delay));
  }
  return upload;
}

uint16_t ReadBackCode(const MacroElement& element) {
  if (element.actionType == BUTTON_ACTION_CLICK) {
    const bool release = element.info[kClickInfoOptions] != 0;
    const int32_t type = element.info[kClickInfoType];
    const int button = (type >= 0 && type < 31) ? ButtonIndexFromMouseBit(1u << type) : 0;
    if (button == 0) return release ? kEventRelease : 0;
    return MouseEventCode(button, release);
  }
  if (element.actionType == BUTTON_ACTION_KEYCODE) {
    const bool release = element.info[kKeyInfoOptions] != 0;
    const int32_t usage = element.info[kKeyInfoUsage];
    const uint16_t key = (usage > 0 && usage <= 0xFF) ? KeyCodeFromHidUsage(static_cast<uint8_t>(usage)) : 0;
    return static_cast<uint16_t>(key | (release ? kEventRelease : 0));
  }
  return 0;
}

ReadBackResult ReadBackForm(std::span<const MacroElement> elements) {
  ReadBackResult result;
  const size_t count = std::min(elements.size(), static_cast<size_t>(kMaxMacroEvents));
  result.cut = elements.size() > count;
  int64_t time = 0;
  for (size_t i = 0; i < count; ++i) {
    result.events.ausCodes[i] = ReadBackCode(elements[i]);
    result.events.alTimes[i] = static_cast<int32_t>(time);
    time = std::min<int64_t>(time + std::clamp(elements[i].lDelayMs, 0, kMaxElementDelayMs),
                             std::numeric_limits<int32_t>::max());
  }
  result.events.lNumElements = static_cast<int32_t>(count);
  return result;
}

std::u16string DeviceMacroName(std::u16string_view name) {
  return std::u16string(CutToUnits(name, kDeviceMacroNameUnits));
}

}  // namespace quill::macro_store
