// Bounds-checked reading of device replies. A reply's own counts and lengths (byte 5, name
// terminators) are never trusted beyond the 80 payload bytes a report carries.
#pragma once
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "middleware/transport/feature_report.h"

namespace quill {

// Byte 5 of a reply cut to the payload area (at most 80).
size_t ReplyPayloadLength(const FeatureReport& reply);
// Bytes 9 onwards, as many as byte 5 claims, at most 80.
std::span<const uint8_t> ReplyPayload(const FeatureReport& reply);
// Up to `count` bytes from report byte `first`, cut at the end of the payload area (byte 88);
// empty when `first` lies outside it.
std::span<const uint8_t> ReplyBytes(const FeatureReport& reply, size_t first, size_t count);
// UTF-16LE text from report byte `first`: up to `max_units` units, ending at the first 0 unit
// or at the end of the payload area, whichever comes first.
std::u16string ReplyText(const FeatureReport& reply, size_t first, size_t max_units);

// Big-endian 16-bit numbers inside bytes 0 to 88 of a report; a pair reaching past byte 88
// reads as 0 and is not written.
uint16_t GetBigEndian16(const FeatureReport& report, size_t at);
void PutBigEndian16(FeatureReport& report, size_t at, uint16_t value);

}  // namespace quill
