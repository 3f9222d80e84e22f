#include "emulator/device_state.h"

#include <algorithm>

namespace quill::emu {
namespace {

constexpr uint8_t kDefaultStageCodes[kMaxDpiStages] = {28, 44, 68, 156, 220};
// Function codes of the default layout, buttons 1 to 9 (DPI up 0x0B, DPI down 0x0C).
constexpr uint8_t kDefaultFunctions[kButtonCount] = {1, 2, 3, 4, 5, 11, 12, 8, 9};

}  // namespace

ProfileBlock DefaultProfileBlock(uint8_t slot) {
  ProfileBlock block{};
  block[kBlockSlot] = slot;
  block[kBlockLed] = 7;
  block[kBlockDefaultStage] = 3;
  block[kBlockStageCount] = kMaxDpiStages;
  for (int i = 0; i < kMaxDpiStages; ++i) {
    block[kBlockStages + 2 * i] = kDefaultStageCodes[i];
    block[kBlockStages + 2 * i + 1] = kDefaultStageCodes[i];
  }
  for (size_t i = 0; i < kButtonCount; ++i) {
    block[kBlockButtons + 4 * i] = static_cast<uint8_t>(i + 1);
    block[kBlockButtons + 4 * i + 1] = kDefaultFunctions[i];
  }
  return block;
}

ProfileName EmptyProfileName() {
  ProfileName name;
  name.fill(0xFF);
  return name;
}

ProfileName ProfileNameFromText(const std::u16string& text) {
  ProfileName name{};
  const size_t units = std::min(text.size(), kProfileNameBytes / 2 - 1);  // keep a terminator
  for (size_t i = 0; i < units; ++i) {
    name[2 * i] = static_cast<uint8_t>(text[i] & 0xFF);
    name[2 * i + 1] = static_cast<uint8_t>(text[i] >> 8);
  }
  return name;
}

std::u16string ProfileNameText(const ProfileName& name) {
  std::u16string text;
  if (name[0] == 0xFF) return text;
  for (size_t i = 0; i + 1 < name.size(); i += 2) {
    const char16_t unit = static_cast<char16_t>(name[i] | (name[i + 1] << 8));
    if (unit == 0) break;
    text.push_back(unit);
  }
  return text;
}

unsigned SpaceUnitsFor(size_t macro_size) {
  return static_cast<unsigned>((macro_size + kSpaceUnitBytes - 1) / kSpaceUnitBytes);
}

unsigned DeviceState::UsedSpace() const {
  unsigned used = 0;
  for (const Macro& macro : macros) used += SpaceUnitsFor(macro.data.size());
  return used;
}

DeviceState DeviceState::Factory() {
  DeviceState state;
  for (int slot = 1; slot <= kProfileSlots; ++slot) {
    ProfileSlot& profile = state.Slot(slot);
    profile.name = EmptyProfileName();
    profile.block = ProfileBlock{};
    profile.block[kBlockSlot] = static_cast<uint8_t>(slot);
  }
  state.Slot(1).name = ProfileNameFromText(u"Profile 1");
  state.Slot(1).block = DefaultProfileBlock(1);
  state.performance = PerformanceRecord{};  // slot 1, 500 Hz, stage 3 (1800 DPI)
  const char serial[] = "QF24EMU0001";
  std::copy(serial, serial + sizeof serial - 1, state.info.serial.begin());
  state.info.firmware_major = 1;
  state.info.firmware_minor = 4;
  return state;
}

}  // namespace quill::emu
