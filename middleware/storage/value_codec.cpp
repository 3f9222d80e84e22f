#include "middleware/storage/value_codec.h"

#include "middleware/storage/storage_errors.h"

namespace quill::storage {

void AppendLe32(std::vector<uint8_t>& out, uint32_t value) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(value >> shift));
}

uint32_t ReadLe32(std::span<const uint8_t> bytes, size_t offset) {
  return static_cast<uint32_t>(bytes[offset]) | static_cast<uint32_t>(bytes[offset + 1]) << 8 |
         static_cast<uint32_t>(bytes[offset + 2]) << 16 | static_cast<uint32_t>(bytes[offset + 3]) << 24;
}

namespace {

int32_t ReadLe32Signed(std::span<const uint8_t> bytes, size_t offset) {
  return static_cast<int32_t>(ReadLe32(bytes, offset));
}

void AppendUnits(std::vector<uint8_t>& out, std::u16string_view text) {
  for (char16_t c : text) {
    out.push_back(static_cast<uint8_t>(c));
    out.push_back(static_cast<uint8_t>(c >> 8));
  }
  out.push_back(0);
  out.push_back(0);
}

// Units of `bytes` (even size) up to the first zero unit.
std::u16string ReadUnits(std::span<const uint8_t> bytes) {
  std::u16string text;
  for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
    const char16_t c = static_cast<char16_t>(bytes[i] | bytes[i + 1] << 8);
    if (c == 0) break;
    text.push_back(c);
  }
  return text;
}

}  // namespace

std::vector<uint8_t> EncodeDword(int32_t value) {
  std::vector<uint8_t> out;
  AppendLe32(out, static_cast<uint32_t>(value));
  return out;
}

HResult DecodeDword(std::span<const uint8_t> bytes, int32_t& value) {
  value = 0;
  if (bytes.size() != 4) return kE_INVALID_DATA;
  value = ReadLe32Signed(bytes, 0);
  return kS_OK;
}

std::vector<uint8_t> EncodeString(std::u16string_view text) {
  std::vector<uint8_t> out;
  out.reserve(2 * text.size() + 2);
  AppendUnits(out, text);
  return out;
}

HResult DecodeString(std::span<const uint8_t> bytes, std::u16string& text) {
  text.clear();
  if (bytes.size() % 2 != 0) return kE_INVALID_DATA;
  text = ReadUnits(bytes);
  return kS_OK;
}

std::vector<uint8_t> EncodeMapping(const ButtonMapping& mapping) {
  std::vector<uint8_t> out;
  out.reserve(kRecordSize + (mapping.NamesObject() ? 2 * mapping.name.size() + 2 : 0));
  AppendLe32(out, static_cast<uint32_t>(mapping.button));
  AppendLe32(out, static_cast<uint32_t>(mapping.mapping_type));
  AppendLe32(out, mapping.NamesObject() ? 0u : static_cast<uint32_t>(mapping.action_type));
  for (int32_t word : mapping.info) AppendLe32(out, static_cast<uint32_t>(word));
  if (mapping.NamesObject()) AppendUnits(out, mapping.name);
  return out;
}

HResult DecodeMapping(std::span<const uint8_t> bytes, ButtonMapping& mapping) {
  mapping = ButtonMapping{};
  if (bytes.size() < kRecordSize || bytes.size() > kMaxMappingValueSize) return kE_INVALID_DATA;
  ButtonMapping decoded;
  decoded.button = ReadLe32Signed(bytes, 0);
  decoded.mapping_type = ReadLe32Signed(bytes, 4);
  decoded.action_type = ReadLe32Signed(bytes, 8);
  for (size_t i = 0; i < 3; ++i) decoded.info[i] = ReadLe32Signed(bytes, 12 + 4 * i);
  if (decoded.NamesObject()) {
    if (bytes.size() < kRecordSize + 2 || bytes.size() % 2 != 0) return kE_INVALID_DATA;
    decoded.name = ReadUnits(bytes.subspan(kRecordSize));
  } else if (bytes.size() != kRecordSize) {
    return kE_INVALID_DATA;
  }
  mapping = std::move(decoded);
  return kS_OK;
}

std::vector<uint8_t> EncodeElement(const MacroElement& element) {
  std::vector<uint8_t> out;
  out.reserve(kRecordSize);
  AppendLe32(out, static_cast<uint32_t>(element.action_type));
  for (int32_t word : element.info) AppendLe32(out, static_cast<uint32_t>(word));
  AppendLe32(out, static_cast<uint32_t>(element.delay_ms));
  AppendLe32(out, static_cast<uint32_t>(element.hold_ms));
  return out;
}

HResult DecodeElement(std::span<const uint8_t> bytes, MacroElement& element) {
  element = MacroElement{};
  if (bytes.size() != kRecordSize) return kE_INVALID_DATA;
  element.action_type = ReadLe32Signed(bytes, 0);
  for (size_t i = 0; i < 3; ++i) element.info[i] = ReadLe32Signed(bytes, 4 + 4 * i);
  element.delay_ms = ReadLe32Signed(bytes, 16);
  element.hold_ms = ReadLe32Signed(bytes, 20);
  return kS_OK;
}

}  // namespace quill::storage
