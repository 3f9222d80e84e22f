#include "middleware/transport/reply_access.h"

#include <algorithm>

namespace quill {
namespace {
constexpr size_t kPayloadEnd = kPayload + kPayloadSize;  // one past byte 88
}  // namespace

size_t ReplyPayloadLength(const FeatureReport& reply) {
  return std::min<size_t>(reply[kLength], kPayloadSize);
}

std::span<const uint8_t> ReplyPayload(const FeatureReport& reply) {
  return std::span<const uint8_t>(reply).subspan(kPayload, ReplyPayloadLength(reply));
}

std::span<const uint8_t> ReplyBytes(const FeatureReport& reply, size_t first, size_t count) {
  if (first < kPayload || first >= kPayloadEnd) return {};
  return std::span<const uint8_t>(reply).subspan(first, std::min(count, kPayloadEnd - first));
}

std::u16string ReplyText(const FeatureReport& reply, size_t first, size_t max_units) {
  const std::span<const uint8_t> bytes = ReplyBytes(reply, first, max_units * 2);
  std::u16string text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const char16_t unit = static_cast<char16_t>(bytes[i] | (bytes[i + 1] << 8));
    if (unit == 0) break;
    text.push_back(unit);
  }
  return text;
}

uint16_t GetBigEndian16(const FeatureReport& report, size_t at) {
  if (at + 1 > kChecksumLast) return 0;
  return static_cast<uint16_t>((report[at] << 8) | report[at + 1]);
}

void PutBigEndian16(FeatureReport& report, size_t at, uint16_t value) {
  if (at + 1 > kChecksumLast) return;
  report[at] = static_cast<uint8_t>(value >> 8);
  report[at + 1] = static_cast<uint8_t>(value & 0xFF);
}

}  // namespace quill
