// What an IMeridex object makes of a device event: the new active profile when it changed,
// else the new current DPI when it differs from the one its DPI table holds for that profile.
#pragma once
#include <ServerLib.h>

#include <optional>
#include <string>

#include "middleware/objects/device/dpi_table.h"
#include "middleware/transport/driver_handler.h"

namespace quill::server {

// The event to fire, if any; `table` is updated. A profile change is reported whenever the
// active slot differs from table.current_slot (which only a loaded table follows); the current
// DPI is read on `path`, and device errors give no event.
std::optional<_TMeridexInfoType> ReactToDeviceEvent(DriverHandler& handler,
                                                    const std::u16string& path,
                                                    device::DpiTable& table);

}  // namespace quill::server
