#include "middleware/objects/win/features/default_mode.h"

#include "middleware/objects/device/device_parts.h"

namespace quill::server {

HRESULT CDefaultMode::SetDownloadMode(bool enter) {
  return WithDevice([&](CDeviceType& owner, DriverHandler& channel) {
    return device::SetDownloadMode(channel, owner.pid(), enter);
  });
}

}  // namespace quill::server
