#include "emulator/pipe_protocol.h"

#include <cstring>

#include "emulator/control_commands.h"
#include "emulator/in_process_port.h"
#include "middleware/transport/device_ids.h"

namespace quill::emu {

std::u16string ForeignMousePath() {
  return u"\\\\?\\hid#vid_845e&pid_0001#1&2d595ca7&0&0000#{378de44c-56ef-11d1-bc8c-00a0c91405dd}";
}

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

// ---- server side -------------------------------------------------------------------------------

PipeSession::PipeSession(QuillfernModel& model, uint32_t client) : model_(model), client_(client) {}

std::vector<uint8_t> PipeSession::Handle(const std::vector<uint8_t>& request, bool& quit) {
  MessageReader in(request);
  const auto op = static_cast<PipeOp>(in.U8());
  const std::vector<uint8_t> failed{kPipeFailed};
  switch (op) {
    case PipeOp::kEnumerate: {
      if (!in.AtEnd()) return failed;
      MessageWriter out;
      const std::vector<std::u16string> paths = model_.KnownPaths();
      out.U8(kPipeOk).U32(static_cast<uint32_t>(paths.size() + 1));
      out.U16(kWineVirtualMouseVendor).U16(kWineVirtualMouseProduct).U16(0).Path(ForeignMousePath());
      for (const std::u16string& path : paths) out.U16(VENDOR_ID).U16(QUILLFERN_PID).U16(kQuillfernVersion).Path(path);
      return out.Take();
    }
    case PipeOp::kOpen: {
      const std::u16string path = in.Path();
      if (!in.AtEnd() || opened_ != Opened::kNothing) return failed;
      if (path == ForeignMousePath()) {
        opened_ = Opened::kForeign;
      } else if (std::optional<uint64_t> handle = model_.OpenHandle(path)) {
        opened_ = Opened::kMouse;
        handle_ = *handle;
      } else {
        return failed;
      }
      return {kPipeOk};
    }
    case PipeOp::kAttributes: {
      if (!in.AtEnd()) return failed;
      MessageWriter out;
      if (opened_ == Opened::kForeign)
        return out.U8(kPipeOk).U16(kWineVirtualMouseVendor).U16(kWineVirtualMouseProduct).U16(0).Take();
      if (opened_ == Opened::kMouse && model_.HandleAlive(handle_))
        return out.U8(kPipeOk).U16(VENDOR_ID).U16(QUILLFERN_PID).U16(kQuillfernVersion).Take();
      return failed;
    }
    case PipeOp::kSetFeature: {
      const uint32_t size = in.U32();
      if (!in.ok() || size > kFeatureReportSize * 4) return failed;
      std::vector<uint8_t> report(size);
      if (!in.Bytes(report.data(), size) || !in.AtEnd() || opened_ != Opened::kMouse) return failed;
      return {model_.SetFeature(handle_, client_, report.data(), report.size()) ? kPipeOk : kPipeFailed};
    }
    case PipeOp::kGetFeature: {
      const uint32_t size = in.U32();
      if (!in.AtEnd() || opened_ != Opened::kMouse || size > kFeatureReportSize * 4) return failed;
      std::vector<uint8_t> report(size);
      if (!model_.GetFeature(handle_, client_, report.data(), report.size())) return failed;
      return MessageWriter().U8(kPipeOk).U32(size).Bytes(report.data(), report.size()).Take();
    }
    case PipeOp::kControl: {
      const std::string line = in.Text();
      if (!in.AtEnd()) return failed;
      const ControlResult result = RunControlCommand(model_, SplitControlLine(line));
      quit = quit || result.quit;
      std::string output = result.output;
      if (output.size() > kMaxPipeMessage - 16) {
        output.resize(kMaxPipeMessage - 64);
        output += "\n(cut)\n";
      }
      return MessageWriter().U8(kPipeOk).U8(result.ok ? 1 : 0).U8(result.quit ? 1 : 0).Text(output).Take();
    }
  }
  return failed;
}

}  // namespace quill::emu
