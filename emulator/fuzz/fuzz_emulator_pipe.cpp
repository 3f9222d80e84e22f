// Any bytes as messages of one pipe connection: the server side answers each with a reply
// and never misbehaves. The input is split into messages at each 0xA5 0x5A pair.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "emulator/pipe_protocol.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  quill::emu::QuillfernModel model;
  quill::emu::PipeSession session(model, 1);
  std::vector<uint8_t> message;
  bool quit = false;
  for (size_t i = 0; i <= size; ++i) {
    if (i == size || (data[i] == 0xA5 && i + 1 < size && data[i + 1] == 0x5A)) {
      if (session.Handle(message, quit).empty()) __builtin_trap();
      message.clear();
      ++i;
    } else {
      message.push_back(data[i]);
    }
  }
  return 0;
}
