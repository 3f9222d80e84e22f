// Wire format of the emulator's named pipe, shared by its server and its clients (the pipe
// HidPort of the transport and the control command line).
//
// Every message is one pipe message: an operation byte, then its fields, little-endian;
// strings are a 32-bit unit count and the units (UTF-16LE for paths, UTF-8 for control text).
// A reply starts with a result byte (0 = ok). One connection is one HidDevice handle: after
// kOpen succeeds, the transfers of that connection use the opened handle.
#pragma once
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "middleware/transport/feature_report.h"
#include "middleware/transport/hid_port.h"

namespace quill::emu {

enum class PipeOp : uint8_t {
  kEnumerate = 1,   // -> count, then per interface: vendor, product, version (u16), path
  kOpen = 2,        // path ->
  kAttributes = 3,  // -> vendor, product, version
  kSetFeature = 4,  // 91 bytes ->
  kGetFeature = 5,  // -> 91 bytes
  kControl = 6,     // command line (UTF-8) -> ok flag, quit flag, output (UTF-8)
};

constexpr uint8_t kPipeOk = 0;
constexpr uint8_t kPipeFailed = 1;
constexpr size_t kMaxPipeMessage = 64u << 20;  // replies beyond this are cut (log dumps)

struct PipeInterface {
  std::u16string path;
  HidAttributes attributes;
};

// ---- encoding ----------------------------------------------------------------------------
class MessageWriter {
 public:
  MessageWriter& U8(uint8_t v);
  MessageWriter& U16(uint16_t v);
  MessageWriter& U32(uint32_t v);
  MessageWriter& Bytes(const uint8_t* data, size_t size);
  MessageWriter& Path(const std::u16string& path);
  MessageWriter& Text(const std::string& text);
  std::vector<uint8_t> Take() { return std::move(out_); }

 private:
  std::vector<uint8_t> out_;
};

// Reads fields in order; any read past the end (or a string longer than what is left)
// makes ok() false and returns zeros or empty values.
class MessageReader {
 public:
  explicit MessageReader(const std::vector<uint8_t>& message) : data_(message) {}
  uint8_t U8();
  uint16_t U16();
  uint32_t U32();
  bool Bytes(uint8_t* out, size_t size);
  std::u16string Path();
  std::string Text();
  bool ok() const { return ok_; }
  bool AtEnd() const { return ok_ && position_ == data_.size(); }

 private:
  const uint8_t* Take(size_t size);
  const std::vector<uint8_t>& data_;
  size_t position_ = 0;
  bool ok_ = true;
};

// Client-side builders and parsers of the replies.
std::vector<uint8_t> EnumerateRequest();
std::optional<std::vector<PipeInterface>> ParseEnumerateReply(const std::vector<uint8_t>& reply);
std::vector<uint8_t> OpenRequest(const std::u16string& path);
std::vector<uint8_t> AttributesRequest();
std::optional<HidAttributes> ParseAttributesReply(const std::vector<uint8_t>& reply);
std::vector<uint8_t> SetFeatureRequest(const uint8_t* report, size_t size);
std::vector<uint8_t> GetFeatureRequest(size_t size = kFeatureReportSize);
bool ParseGetFeatureReply(const std::vector<uint8_t>& reply, uint8_t* report, size_t size);
std::vector<uint8_t> ControlRequest(const std::string& command_line);
struct ControlReply {
  bool ok = false;
  bool quit = false;
  std::string output;
};
std::optional<ControlReply> ParseControlReply(const std::vector<uint8_t>& reply);
bool IsOkReply(const std::vector<uint8_t>& reply);

}  // namespace quill::emu
