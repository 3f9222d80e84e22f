// The device command protocol: command codes, the header each command carries, payload
// layouts, value encodings, and the multi-report transfers (macro chunks, directory pages).
//
// A builder returns a zeroed 91-byte report with the command's header (byte 0 = 0, byte 1 = 1,
// byte 3 = direction, byte 4 = code, byte 5 = length, byte 90 = 1) and its arguments; the
// transport adds the checksum. Reads go through GetFeatureRaw, writes through SetFeatureRaw.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "middleware/transport/feature_channel.h"
#include "middleware/transport/feature_report.h"
#include "middleware/transport/reply_access.h"
#include "middleware/typelib/hresult_codes.h"

namespace quill {

// ---- command codes ------------------------------------------------------------------------
constexpr uint8_t CMD_DEVICE_INFO = 0x02;
constexpr uint8_t CMD_PERFORMANCE = 0x05;
constexpr uint8_t CMD_PROFILE = 0x06;
constexpr uint8_t CMD_PROFILE_ERASE = 0x07;
constexpr uint8_t CMD_MACRO_DIRECTORY = 0x08;  // read: directory page; write: macro size
constexpr uint8_t CMD_MACRO_DELETE = 0x0C;
constexpr uint8_t CMD_MACRO_DATA = 0x0D;
constexpr uint8_t CMD_MACRO_NAME = 0x0E;
constexpr uint8_t CMD_PROFILE_NAME = 0x22;
constexpr uint8_t CMD_MEMORY_SPACE = 0x23;
constexpr uint8_t CMD_DOWNLOAD_MODE = 0x24;
constexpr uint8_t CMD_SENSOR_ROM = 0x30;

enum class Direction : uint8_t { kWrite = kDirectionWrite, kRead = kDirectionRead };

// One row of the command table: the header a request of this kind carries.
struct CommandSpec {
  uint8_t code;
  Direction direction;
  uint8_t length;  // byte 5 (for macro data writes: the full chunk length)
};

namespace commands {
inline constexpr CommandSpec kDeviceInfoRead{CMD_DEVICE_INFO, Direction::kRead, 1};
inline constexpr CommandSpec kPerformanceRead{CMD_PERFORMANCE, Direction::kRead, 0};
inline constexpr CommandSpec kActiveSlotRead{CMD_PERFORMANCE, Direction::kRead, 1};
inline constexpr CommandSpec kPerformanceWrite{CMD_PERFORMANCE, Direction::kWrite, 5};
inline constexpr CommandSpec kProfileRead{CMD_PROFILE, Direction::kRead, 1};
inline constexpr CommandSpec kProfileWrite{CMD_PROFILE, Direction::kWrite, 56};
inline constexpr CommandSpec kDefaultLayoutWrite{CMD_PROFILE, Direction::kWrite, 65};
inline constexpr CommandSpec kProfileErase{CMD_PROFILE_ERASE, Direction::kWrite, 1};
inline constexpr CommandSpec kMacroDirectoryRead{CMD_MACRO_DIRECTORY, Direction::kRead, 0};
inline constexpr CommandSpec kMacroSizeWrite{CMD_MACRO_DIRECTORY, Direction::kWrite, 4};
inline constexpr CommandSpec kMacroDelete{CMD_MACRO_DELETE, Direction::kWrite, 1};
inline constexpr CommandSpec kMacroDataWrite{CMD_MACRO_DATA, Direction::kWrite, 80};
inline constexpr CommandSpec kMacroDataRead{CMD_MACRO_DATA, Direction::kRead, 0};
inline constexpr CommandSpec kMacroNameRead{CMD_MACRO_NAME, Direction::kRead, 0};
inline constexpr CommandSpec kMacroNameWrite{CMD_MACRO_NAME, Direction::kWrite, 0};
inline constexpr CommandSpec kProfileNameRead{CMD_PROFILE_NAME, Direction::kRead, 1};
inline constexpr CommandSpec kProfileNameWrite{CMD_PROFILE_NAME, Direction::kWrite, 41};
inline constexpr CommandSpec kMemorySpaceRead{CMD_MEMORY_SPACE, Direction::kRead, 0};
inline constexpr CommandSpec kDownloadModeWrite{CMD_DOWNLOAD_MODE, Direction::kWrite, 1};
inline constexpr CommandSpec kSensorRomRead{CMD_SENSOR_ROM, Direction::kRead, 1};
inline constexpr CommandSpec kSensorRomWrite{CMD_SENSOR_ROM, Direction::kWrite, 1};
}  // namespace commands

// A zeroed report with the header of `spec`.
FeatureReport MakeRequest(const CommandSpec& spec);

// ---- value encodings ---------------------------------------------------------------------
// DPI = code * 25 + 100. Encoding uses unsigned division and keeps the low byte, so values
// outside 100 to 6475 wrap; DpiFitsCode tells whether a value survives the round trip range.
constexpr uint8_t DpiToCode(uint32_t dpi) { return static_cast<uint8_t>((dpi - 100u) / 25u); }
constexpr uint32_t CodeToDpi(uint8_t code) { return code * 25u + 100u; }
constexpr bool DpiFitsCode(uint32_t dpi) { return dpi >= 100u && dpi <= 6475u; }

// Polling rates in Hz and their codes: 1000 -> 1, 500 -> 2, 125 -> 8. Others: nullopt.
std::optional<uint8_t> PollingRateToCode(uint32_t hz);
std::optional<uint32_t> PollingCodeToRate(uint8_t code);
// The rates the mouse offers, in the order clients list them.
inline constexpr std::array<uint32_t, 3> kPollingRates{1000, 500, 125};

// ---- payload positions and sizes ---------------------------------------------------------
constexpr size_t kProfileSlots = 5;
constexpr size_t kProfileBlockSize = 56;     // report bytes 9 to 64
constexpr size_t kMaxDpiStages = 5;
constexpr size_t kButtonEntries = 9;
constexpr size_t kProfileNameUnits = 20;     // room of the name field (40 bytes)
constexpr size_t kMaxNameUnits = 19;         // longest name written (terminator included: 20)
constexpr size_t kSerialNumberSize = 32;     // reply bytes 9 to 40
constexpr size_t kMacroChunkSize = 80;
constexpr size_t kMaxMacros = 70;
constexpr size_t kDirectoryEntriesPerPage = 20;
constexpr size_t kDirectoryEntrySize = 4;
constexpr size_t kMaxMacroSize = 0xFFFF;     // the size field is 16 bits

// Profile block, as report positions.
constexpr size_t kBlockSlot = 9;
constexpr size_t kBlockLedBits = 10;
constexpr size_t kBlockDefaultStage = 11;
constexpr size_t kBlockStageCount = 12;
constexpr size_t kBlockStages = 13;          // five (X code, Y code) pairs
constexpr size_t kBlockButtons = 29;         // nine entries: button, function, param 1, param 2

using ProfileBlock = std::array<uint8_t, kProfileBlockSize>;

// ---- builders, one per command of the table -----------------------------------------------
FeatureReport BuildDeviceInfoRead();                 // 0x02 R: byte 9 = 0
FeatureReport BuildPerformanceRead();                // 0x05 R, byte 5 = 0
FeatureReport BuildActiveSlotRead();                 // 0x05 R, byte 5 = 1 (profile manager)
FeatureReport BuildProfileRead(uint8_t slot);        // 0x06 R: byte 9 = slot
// 0x06 W, byte 5 = 56: a fresh block (profile creation writes the default block this way).
FeatureReport BuildProfileWrite(const ProfileBlock& block);
// 0x06 W, byte 5 = 65: the default button layout written by profile saving.
FeatureReport BuildDefaultLayoutWrite();
FeatureReport BuildProfileErase(uint8_t slot);       // 0x07 W: byte 9 = slot
FeatureReport BuildMacroDirectoryRead(uint8_t page); // 0x08 R: byte 8 = page
// 0x08 W: byte 9 = macro number, bytes 10-11 = size (big-endian).
FeatureReport BuildMacroSizeWrite(uint8_t macro_number, uint16_t size);
// 0x0C W: byte 9 = macro identifier - 1 (identifiers are 1-based for clients).
FeatureReport BuildMacroDelete(uint32_t macro_id);
// 0x0D W: bytes 6-7 = counter (big-endian), byte 8 = macro number, byte 5 and bytes 9 on = the
// chunk (at most 80 bytes; longer data is cut).
FeatureReport BuildMacroDataWrite(uint8_t macro_number, uint16_t counter,
                                  std::span<const uint8_t> chunk);
FeatureReport BuildMacroDataRead(uint8_t macro_number, uint16_t counter);  // 0x0D R
FeatureReport BuildMacroNameRead(uint8_t macro_number);                    // 0x0E R
// 0x0E W: byte 8 = macro number, bytes 9-48 = name and terminator. E_FAIL (and `out`
// untouched) for names longer than 19 units.
HResult BuildMacroNameWrite(uint8_t macro_number, std::u16string_view name, FeatureReport& out);
// 0x22 R: byte 9 = slot; bytes 10-49 pre-filled with `name_fill` (some callers use 0xFF).
FeatureReport BuildProfileNameRead(uint8_t slot, uint8_t name_fill = 0);
// 0x22 W: byte 9 = slot, bytes 10-49 = name, zero-filled. E_FAIL for more than 19 units.
HResult BuildProfileNameWrite(uint8_t slot, std::u16string_view name, FeatureReport& out);
// 0x22 W with bytes 10-49 all 0xFF: the slot reads as empty afterwards.
FeatureReport BuildProfileNameErase(uint8_t slot);
FeatureReport BuildMemorySpaceRead();                // 0x23 R
FeatureReport BuildDownloadMode(bool enter);         // 0x24 W: byte 9 = 1 enter, 2 leave
FeatureReport BuildSensorRomRead();                  // 0x30 R: byte 9 = 0

// The block profile creation writes: LED bits 7, default stage 3, five stages of 800, 1200,
// 1800, 4000 and 5600 DPI, the default button entries, bytes 23 to 28 zero.
ProfileBlock DefaultProfileBlock(uint8_t slot);

// ---- read-modify-write --------------------------------------------------------------------
// Turns a reply into a write request of `length` payload bytes: byte 2 = 0, byte 3 = 0,
// byte 5 = length, byte 89 = 0, byte 90 = 1; every other byte stays as the device sent it.
void PrepareWriteFromReply(FeatureReport& report, uint8_t length);
// Reads `request`; on failure returns the read's error and writes nothing. Otherwise turns
// the reply into a write of `write_length`, lets `modify` change its bytes, and writes it.
// `report`, when given, receives the last reply.
HResult ReadModifyWrite(FeatureChannel& channel, const FeatureReport& request,
                        uint8_t write_length, const std::function<void(FeatureReport&)>& modify,
                        bool recover_read = false, FeatureReport* report = nullptr);

// ---- replies ------------------------------------------------------------------------------
// Command 0x05, bytes 9 to 13.
struct Performance {
  uint8_t active_slot = 0;
  uint8_t polling_code = 0;
  uint8_t dpi_stage = 0;
  uint8_t dpi_x_code = 0;
  uint8_t dpi_y_code = 0;
  bool operator==(const Performance&) const = default;
};
Performance ParsePerformance(const FeatureReport& reply);
void StorePerformance(FeatureReport& report, const Performance& performance);

struct DeviceInformation {
  std::array<uint8_t, kSerialNumberSize> serial{};
  uint8_t firmware_major = 0;
  uint8_t firmware_minor = 0;
};
DeviceInformation ParseDeviceInformation(const FeatureReport& reply);

ProfileBlock ParseProfileBlock(const FeatureReport& reply);
void StoreProfileBlock(FeatureReport& report, const ProfileBlock& block);

// Profile name of a 0x22 reply: empty when byte 10 is 0xFF; at most 20 units.
std::u16string ParseProfileName(const FeatureReport& reply);
// Macro name of a 0x0E reply, from byte 9 up to its terminator (at most 40 units).
std::u16string ParseMacroName(const FeatureReport& reply);

struct MemorySpace {
  uint8_t total = 0;
  uint8_t used = 0;
};
MemorySpace ParseMemorySpace(const FeatureReport& reply);

// ---- macro data (command 0x0D), chunked ----------------------------------------------------
// Chunks for `length` bytes: length / 80, plus one for a remainder.
constexpr size_t MacroChunkCount(size_t length) {
  return length / kMacroChunkSize + (length % kMacroChunkSize != 0 ? 1 : 0);
}
// Sends `data` in chunks with counters n-1 down to 0. Stops at the first chunk that fails and
// returns its error; E_FAIL with nothing sent for empty data, E_INVALIDARG for more than
// 65535 bytes.
HResult WriteMacroData(FeatureChannel& channel, uint8_t macro_number,
                       std::span<const uint8_t> data);
// Reads `length` bytes in chunks into `data`. Stops at the first failure, leaving `data`
// empty; E_FAIL for zero length, E_INVALIDARG for more than 65535 bytes.
HResult ReadMacroData(FeatureChannel& channel, uint8_t macro_number, size_t length,
                      std::vector<uint8_t>& data);

// ---- macro directory (command 0x08 read) --------------------------------------------------
// Positions 20p to 20p + 19 hold the entries of page p; numbers -1 and sizes 0 are free.
struct MacroDirectory {
  std::array<int32_t, kMaxMacros> numbers;
  std::array<uint32_t, kMaxMacros> sizes;
  MacroDirectory() { Clear(); }
  void Clear() {
    numbers.fill(-1);
    sizes.fill(0);
  }
};
// Reads pages 0, 1, 2, ... while a page reports 80 payload bytes (a full page). A page gives
// byte-5 / 4 entries (number, size high, size low, one ignored byte), never more than 20 and
// never past position 70, so a device that keeps claiming full pages is read at most four
// pages deep. Returns the last read's result; a failed read ends the directory there.
HResult ReadMacroDirectory(FeatureChannel& channel, MacroDirectory& directory);

}  // namespace quill
