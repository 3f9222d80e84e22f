#include "middleware/transport/pipe_wire.h"

#include <cstring>

namespace quill::emu {

// ---- encoding ----------------------------------------------------------------------------

MessageWriter& MessageWriter::U8(uint8_t v) {
  out_.push_back(v);
  return *this;
}
MessageWriter& MessageWriter::U16(uint16_t v) { return U8(static_cast<uint8_t>(v & 0xFF)).U8(static_cast<uint8_t>(v >> 8)); }
MessageWriter& MessageWriter::U32(uint32_t v) {
  return U16(static_cast<uint16_t>(v & 0xFFFF)).U16(static_cast<uint16_t>(v >> 16));
}
MessageWriter& MessageWriter::Bytes(const uint8_t* data, size_t size) {
  out_.insert(out_.end(), data, data + size);
  return *this;
}
MessageWriter& MessageWriter::Path(const std::u16string& path) {
  U32(static_cast<uint32_t>(path.size()));
  for (char16_t unit : path) U16(unit);
  return *this;
}
MessageWriter& MessageWriter::Text(const std::string& text) {
  U32(static_cast<uint32_t>(text.size()));
  return Bytes(reinterpret_cast<const uint8_t*>(text.data()), text.size());
}

const uint8_t* MessageReader::Take(size_t size) {
  if (!ok_ || size > data_.size() - position_) {
    ok_ = false;
    return nullptr;
  }
  const uint8_t* p = data_.data() + position_;
  position_ += size;
  return p;
}
uint8_t MessageReader::U8() {
  const uint8_t* p = Take(1);
  return p ? p[0] : 0;
}
uint16_t MessageReader::U16() {
  const uint8_t* p = Take(2);
  return p ? static_cast<uint16_t>(p[0] | p[1] << 8) : 0;
}
uint32_t MessageReader::U32() {
  const uint8_t* p = Take(4);
  return p ? static_cast<uint32_t>(p[0] | p[1] << 8 | p[2] << 16 | static_cast<uint32_t>(p[3]) << 24) : 0;
}
bool MessageReader::Bytes(uint8_t* out, size_t size) {
  const uint8_t* p = Take(size);
  if (p && size != 0) std::memcpy(out, p, size);  // an empty vector's data() may be null
  return p != nullptr;
}
std::u16string MessageReader::Path() {
  const uint32_t units = U32();
  std::u16string path;
  if (!ok_ || units > (data_.size() - position_) / 2) {
    ok_ = false;
    return path;
  }
  const uint8_t* p = Take(size_t{units} * 2);
  for (uint32_t i = 0; i < units; ++i) path.push_back(static_cast<char16_t>(p[2 * i] | p[2 * i + 1] << 8));
  return path;
}
std::string MessageReader::Text() {
  const uint32_t size = U32();
  const uint8_t* p = Take(size);
  return p ? std::string(reinterpret_cast<const char*>(p), size) : std::string();
}

std::vector<uint8_t> EnumerateRequest() { return MessageWriter().U8(uint8_t(PipeOp::kEnumerate)).Take(); }
std::vector<uint8_t> OpenRequest(const std::u16string& path) {
  return MessageWriter().U8(uint8_t(PipeOp::kOpen)).Path(path).Take();
}
std::vector<uint8_t> AttributesRequest() { return MessageWriter().U8(uint8_t(PipeOp::kAttributes)).Take(); }
std::vector<uint8_t> SetFeatureRequest(const uint8_t* report, size_t size) {
  return MessageWriter().U8(uint8_t(PipeOp::kSetFeature)).U32(static_cast<uint32_t>(size)).Bytes(report, size).Take();
}
std::vector<uint8_t> GetFeatureRequest(size_t size) {
  return MessageWriter().U8(uint8_t(PipeOp::kGetFeature)).U32(static_cast<uint32_t>(size)).Take();
}
std::vector<uint8_t> ControlRequest(const std::string& command_line) {
  return MessageWriter().U8(uint8_t(PipeOp::kControl)).Text(command_line).Take();
}

bool IsOkReply(const std::vector<uint8_t>& reply) { return reply.size() == 1 && reply[0] == kPipeOk; }

std::optional<std::vector<PipeInterface>> ParseEnumerateReply(const std::vector<uint8_t>& reply) {
  MessageReader in(reply);
  if (in.U8() != kPipeOk) return std::nullopt;
  const uint32_t count = in.U32();
  std::vector<PipeInterface> list;
  for (uint32_t i = 0; in.ok() && i < count && i < 1024; ++i) {
    PipeInterface iface;
    iface.attributes.vendor_id = in.U16();
    iface.attributes.product_id = in.U16();
    iface.attributes.version = in.U16();
    iface.path = in.Path();
    list.push_back(std::move(iface));
  }
  if (!in.AtEnd()) return std::nullopt;
  return list;
}

std::optional<HidAttributes> ParseAttributesReply(const std::vector<uint8_t>& reply) {
  MessageReader in(reply);
  if (in.U8() != kPipeOk) return std::nullopt;
  HidAttributes a;
  a.vendor_id = in.U16();
  a.product_id = in.U16();
  a.version = in.U16();
  if (!in.AtEnd()) return std::nullopt;
  return a;
}

bool ParseGetFeatureReply(const std::vector<uint8_t>& reply, uint8_t* report, size_t size) {
  MessageReader in(reply);
  if (in.U8() != kPipeOk || in.U32() != size) return false;
  FeatureReport buffer{};
  if (size != buffer.size() || !in.Bytes(buffer.data(), size) || !in.AtEnd()) return false;
  std::memcpy(report, buffer.data(), size);
  return true;
}

std::optional<ControlReply> ParseControlReply(const std::vector<uint8_t>& reply) {
  MessageReader in(reply);
  if (in.U8() != kPipeOk) return std::nullopt;
  ControlReply r;
  r.ok = in.U8() != 0;
  r.quit = in.U8() != 0;
  r.output = in.Text();
  if (!in.AtEnd()) return std::nullopt;
  return r;
}

}  // namespace quill::emu
