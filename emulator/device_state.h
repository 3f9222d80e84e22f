// The memory of the emulated Quillfern: what the mouse keeps while it is unplugged.
//
// Plain values only; the command handling that reads and changes them is in quillfern_model.h,
// the readable state file in state_file.h.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace quill::emu {

constexpr int kProfileSlots = 5;
constexpr size_t kProfileNameBytes = 40;   // UTF-16LE, first byte 0xFF = empty slot
constexpr size_t kProfileBlockSize = 56;   // payload of command 0x06, report bytes 9 to 64
constexpr size_t kSerialBytes = 32;
constexpr int kMaxMacros = 70;             // device macro numbers 0 to 69
constexpr size_t kMacroNameBytes = 40;     // the first 40 bytes of a macro stream are its name
constexpr size_t kMacroChunkSize = 80;     // data bytes per command 0x0D transfer
constexpr size_t kDirectoryEntriesPerPage = 20;
constexpr size_t kDirectoryEntrySize = 4;  // number, size high, size low, used flag
constexpr size_t kSpaceUnitBytes = 480;    // memory space is counted in units of this size
constexpr uint8_t kDefaultTotalSpace = 128;
constexpr int kMaxDpiStages = 5;

// Offsets inside the 56-byte profile block (block[0] is report byte 9).
constexpr size_t kBlockSlot = 0;
constexpr size_t kBlockLed = 1;
constexpr size_t kBlockDefaultStage = 2;
constexpr size_t kBlockStageCount = 3;
constexpr size_t kBlockStages = 4;    // five (X code, Y code) pairs
constexpr size_t kBlockButtons = 20;  // nine entries of four bytes: button, function, p1, p2
constexpr size_t kButtonCount = 9;

using ProfileName = std::array<uint8_t, kProfileNameBytes>;
using ProfileBlock = std::array<uint8_t, kProfileBlockSize>;

struct ProfileSlot {
  ProfileName name{};    // raw bytes as the device stores them
  ProfileBlock block{};
  bool Occupied() const { return name[0] != 0xFF; }
  bool operator==(const ProfileSlot&) const = default;
};

// Command 0x05, report bytes 9 to 13.
struct PerformanceRecord {
  uint8_t active_slot = 1;
  uint8_t polling_rate_code = 2;  // 1 = 1000 Hz, 2 = 500 Hz, 8 = 125 Hz
  uint8_t current_stage = 3;
  uint8_t dpi_x_code = 68;        // DPI = code * 25 + 100
  uint8_t dpi_y_code = 68;
  bool operator==(const PerformanceRecord&) const = default;
};

struct DeviceInfo {
  std::array<uint8_t, kSerialBytes> serial{};
  uint8_t firmware_major = 1;
  uint8_t firmware_minor = 0;
  bool operator==(const DeviceInfo&) const = default;
};

// One on-board macro. size 0 = free number. data holds exactly `size` bytes; its first 40
// bytes are the macro's name (command 0x0E reads and writes them).
struct Macro {
  std::vector<uint8_t> data;
  bool Used() const { return !data.empty(); }
  bool operator==(const Macro&) const = default;
};

struct DeviceState {
  std::array<ProfileSlot, kProfileSlots> profiles{};  // index 0 = slot 1
  PerformanceRecord performance;
  DeviceInfo info;
  uint8_t sensor_rom_status = 0;
  bool download_mode = false;
  uint8_t total_space = kDefaultTotalSpace;           // in units of kSpaceUnitBytes
  std::array<Macro, kMaxMacros> macros{};

  // A new mouse out of the box.
  static DeviceState Factory();

  // Units taken by the macros: each macro takes ceil(size / 480) units.
  unsigned UsedSpace() const;
  ProfileSlot& Slot(int slot) { return profiles[static_cast<size_t>(slot - 1)]; }
  const ProfileSlot& Slot(int slot) const { return profiles[static_cast<size_t>(slot - 1)]; }
  bool operator==(const DeviceState&) const = default;
};

// The block that profile creation writes (LED 7, stage 3 of 800/1200/1800/4000/5600 DPI,
// default button entries).
ProfileBlock DefaultProfileBlock(uint8_t slot);
// An empty-slot name (all 0xFF) and a name from text (UTF-16LE, zero-filled, cut at 20 units).
ProfileName EmptyProfileName();
ProfileName ProfileNameFromText(const std::u16string& text);
// The text of a stored name up to its terminator; empty for an empty slot.
std::u16string ProfileNameText(const ProfileName& name);

unsigned SpaceUnitsFor(size_t macro_size);
constexpr unsigned DpiFromCode(uint8_t code) { return code * 25u + 100u; }

}  // namespace quill::emu
