// The DriverHandler of the product: the system's HID devices (or the emulator's pipe when
// QUILLFERN_EMULATOR names one), the named-mutex lock and the Windows clock.
#pragma once
#include <memory>

#include "middleware/transport/driver_handler.h"

namespace quill::server {

// Null when the seams cannot be made.
std::unique_ptr<DriverHandler> MakeSystemDriverHandler();

}  // namespace quill::server
