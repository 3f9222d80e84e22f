#include "middleware/transport/win/system_transport.h"

#include <windows.h>
#undef Yield  // obsolete 16-bit macro; clashes with Clock::Yield

#include <vector>

#include "emulator/win/pipe_hid_port.h"
#include "middleware/transport/win/named_mutex_lock.h"
#include "middleware/transport/win/setupapi_hid_port.h"
#include "middleware/transport/win/win_clock.h"

namespace quill {

std::u16string EmulatorPipeName() {
  std::vector<wchar_t> buffer(256);
  for (;;) {
    const DWORD n = GetEnvironmentVariableW(kEmulatorVariable, buffer.data(),
                                            static_cast<DWORD>(buffer.size()));
    if (n == 0) return {};
    if (n < buffer.size()) return std::u16string(reinterpret_cast<const char16_t*>(buffer.data()), n);
    buffer.resize(n);  // n is the size needed, terminator included
  }
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
