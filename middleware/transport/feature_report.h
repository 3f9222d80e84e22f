// The 91-byte HID feature report every exchange with the mouse uses.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace quill {

constexpr size_t kFeatureReportSize = 91;
using FeatureReport = std::array<uint8_t, kFeatureReportSize>;

// Byte positions.
constexpr size_t kReportId = 0;
constexpr size_t kFixedOne = 1;
constexpr size_t kStatus = 2;
constexpr size_t kDirection = 3;  // 1 read request, 0 write request
constexpr size_t kCommand = 4;
constexpr size_t kLength = 5;
constexpr size_t kCounterHigh = 6;
constexpr size_t kCounterLow = 7;
constexpr size_t kMacroSlot = 8;
constexpr size_t kPayload = 9;        // payload bytes 9 to 88
constexpr size_t kPayloadSize = 80;
constexpr size_t kChecksum = 89;      // XOR of bytes 3 to 88
constexpr size_t kTrailer = 90;       // always 1

// Reply status byte values.
constexpr uint8_t kStatusBusy0 = 0;
constexpr uint8_t kStatusBusy1 = 1;
constexpr uint8_t kStatusDone = 2;
// 3 to 8: error, retried; anything else: final failure.
constexpr uint8_t kStatusRetryFirst = 3;
constexpr uint8_t kStatusRetryLast = 8;

// Direction byte of a request.
constexpr uint8_t kDirectionWrite = 0;
constexpr uint8_t kDirectionRead = 1;

// First and last byte covered by the checksum.
constexpr size_t kChecksumFirst = 3;
constexpr size_t kChecksumLast = 88;

// XOR of bytes 3 to 88.
uint8_t ComputeChecksum(const FeatureReport& report);
// Stores ComputeChecksum(report) in byte 89.
void ApplyChecksum(FeatureReport& report);
// The fixed report written after every exchange: all 0 except byte 1 = 1 and byte 90 = 1.
FeatureReport MakeResetReport();

}  // namespace quill
