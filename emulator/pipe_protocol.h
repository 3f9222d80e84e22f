// The server side of one connection to the emulator's pipe (the wire format is the
// transport's, middleware/transport/pipe_wire.h).
#pragma once
#include <cstdint>
#include <string>
#include <vector>

#include "emulator/quillfern_model.h"
#include "middleware/transport/pipe_wire.h"

namespace quill::emu {

// Path of the foreign mouse the pipe server lists beside the emulated one (as Wine shows its
// own virtual mouse, whose feature reports fail).
std::u16string ForeignMousePath();

// ---- server side of one connection -------------------------------------------------------------
class PipeSession {
 public:
  // `client` is the process id at the other end, used in the request log.
  PipeSession(QuillfernModel& model, uint32_t client);
  // One request message in, its reply out. `quit` is set by the control command "quit".
  std::vector<uint8_t> Handle(const std::vector<uint8_t>& request, bool& quit);

 private:
  enum class Opened { kNothing, kMouse, kForeign };
  QuillfernModel& model_;
  uint32_t client_;
  Opened opened_ = Opened::kNothing;
  uint64_t handle_ = 0;
};

}  // namespace quill::emu
