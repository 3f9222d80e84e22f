#include "middleware/transport/win/pipe_hid_port.h"

#include <vector>

#include "middleware/transport/pipe_wire.h"
#include "middleware/transport/win/pipe_connection.h"
#include "middleware/typelib/hresult_codes.h"
#include "middleware/typelib/quillfern_ids.h"

namespace quill::emu {
namespace {

class PipeHidDevice : public HidDevice {
 public:
  explicit PipeHidDevice(std::unique_ptr<PipeConnection> connection) : connection_(std::move(connection)) {}

  bool GetAttributes(HidAttributes& attributes) override {
    const auto reply = connection_->Transact(AttributesRequest());
    const std::optional<HidAttributes> parsed = reply ? ParseAttributesReply(*reply) : std::nullopt;
    if (!parsed) return Fail();
    attributes = *parsed;
    return true;
  }
  bool SetFeature(const uint8_t* report, size_t size) override {
    if (!report) return Fail();
    const auto reply = connection_->Transact(SetFeatureRequest(report, size));
    return (reply && IsOkReply(*reply)) || Fail();
  }
  bool GetFeature(uint8_t* report, size_t size) override {
    if (!report) return Fail();
    const auto reply = connection_->Transact(GetFeatureRequest(size));
    return (reply && ParseGetFeatureReply(*reply, report, size)) || Fail();
  }

 private:
  // A device that is gone or has no such report: the error HID gives for both.
  static bool Fail() {
    SetLastError(ERROR_GEN_FAILURE);
    return false;
  }
  std::unique_ptr<PipeConnection> connection_;
};

class PipeHidPort : public HidPort {
 public:
  explicit PipeHidPort(std::wstring full_name) : name_(std::move(full_name)) {}

  bool BeginEnumeration() override {
    interfaces_.clear();
    if (std::unique_ptr<PipeConnection> connection = PipeConnection::Connect(name_)) {
      const auto reply = connection->Transact(EnumerateRequest());
      if (auto list = reply ? ParseEnumerateReply(*reply) : std::nullopt) interfaces_ = std::move(*list);
    }
    return true;  // no emulator: a system without the mouse
  }
  uint32_t InterfaceAt(uint32_t index, std::u16string& path) override {
    if (index >= interfaces_.size()) return kErrorNoMoreItems;
    path = interfaces_[index].path;
    return 0;
  }
  void EndEnumeration() override { interfaces_.clear(); }

  std::unique_ptr<HidDevice> Open(const std::u16string& path) override {
    std::unique_ptr<PipeConnection> connection = PipeConnection::Connect(name_);
    if (!connection) {
      SetLastError(ERROR_FILE_NOT_FOUND);
      return nullptr;
    }
    const auto reply = connection->Transact(OpenRequest(path));
    if (!reply || !IsOkReply(*reply)) {
      SetLastError(ERROR_FILE_NOT_FOUND);
      return nullptr;
    }
    return std::make_unique<PipeHidDevice>(std::move(connection));
  }

 private:
  std::wstring name_;
  std::vector<PipeInterface> interfaces_;
};

}  // namespace

std::unique_ptr<quill::HidPort> CreatePipeHidPort(const std::u16string& pipe_name) {
  return std::make_unique<PipeHidPort>(FullPipeName(pipe_name));
}

std::optional<std::u16string> EmulatorPipeFromEnvironment() {
  const std::wstring name = kEmulatorVariable;
  wchar_t buffer[512];
  const DWORD length = GetEnvironmentVariableW(name.c_str(), buffer, 512);
  if (length == 0 || length >= 512) return std::nullopt;
  return std::u16string(buffer, buffer + length);
}

}  // namespace quill::emu
