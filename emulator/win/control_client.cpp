#include "emulator/win/control_client.h"

#include <memory>
#include <vector>

#include "middleware/transport/win/pipe_connection.h"

namespace quill::emu {

std::optional<ControlReply> SendControl(const std::u16string& pipe_name, const std::string& command_line) {
  std::unique_ptr<PipeConnection> connection = PipeConnection::Connect(FullPipeName(pipe_name));
  if (!connection) return std::nullopt;
  const std::optional<std::vector<uint8_t>> reply = connection->Transact(ControlRequest(command_line));
  if (!reply) return std::nullopt;
  return ParseControlReply(*reply);
}

}  // namespace quill::emu
