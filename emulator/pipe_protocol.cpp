#include "emulator/pipe_protocol.h"

#include "emulator/control_commands.h"
#include "emulator/in_process_port.h"
#include "middleware/transport/device_ids.h"

namespace quill::emu {

std::u16string ForeignMousePath() {
  return u"\\\\?\\hid#vid_845e&pid_0001#1&2d595ca7&0&0000#{378de44c-56ef-11d1-bc8c-00a0c91405dd}";
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
