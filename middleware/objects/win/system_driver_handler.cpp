#include "middleware/objects/win/system_driver_handler.h"

#include <new>

#include "middleware/transport/win/system_transport.h"

namespace quill::server {

std::unique_ptr<DriverHandler> MakeSystemDriverHandler() {
  try {
    return CreateSystemDriverHandler();
  } catch (const std::bad_alloc&) {
    return nullptr;  // OpenDeviceInterface answers E_OUTOFMEMORY
  }
}

}  // namespace quill::server
