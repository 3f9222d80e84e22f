// The transport as the middleware uses it on Windows: the mouse through SetupAPI, or the
// emulator's pipe when the environment variable QUILLFERN_EMULATOR names one.
#pragma once
#include <memory>
#include <string>

#include "middleware/transport/driver_handler.h"
#include "middleware/transport/hid_port.h"
#include "middleware/typelib/quillfern_ids.h"

namespace quill {

// The emulator's pipe port when QUILLFERN_EMULATOR is set to a non-empty value, else the
// SetupAPI port.
std::unique_ptr<HidPort> CreateSystemHidPort();
// The pipe name from QUILLFERN_EMULATOR; empty when it is not set.
std::u16string EmulatorPipeName();

// A DriverHandler that owns the system port, the named-mutex lock and the Windows clock.
// Not yet initialised.
std::unique_ptr<DriverHandler> CreateSystemDriverHandler();

}  // namespace quill
