#include "middleware/transport/win/system_transport.h"

#include <windows.h>
#undef Yield  // obsolete 16-bit macro; clashes with Clock::Yield

#include "middleware/transport/win/named_mutex_lock.h"
#include "middleware/transport/win/pipe_hid_port.h"
#include "middleware/transport/win/setupapi_hid_port.h"
#include "middleware/transport/win/win_clock.h"

namespace quill {

std::u16string EmulatorPipeName() {
  return emu::EmulatorPipeFromEnvironment().value_or(std::u16string());
}

std::unique_ptr<HidPort> CreateSystemHidPort() {
  const std::u16string pipe = EmulatorPipeName();
  if (!pipe.empty()) return emu::CreatePipeHidPort(pipe);
  return std::make_unique<win::SetupApiHidPort>();
}

std::unique_ptr<DriverHandler> CreateSystemDriverHandler() {
  return std::make_unique<DriverHandler>(CreateSystemHidPort(),
                                         std::make_unique<win::NamedMutexDeviceLock>(),
                                         std::make_unique<win::WinClock>());
}

}  // namespace quill
