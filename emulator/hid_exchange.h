// The shortest correct conversation with the mouse over a HidPort: list the interfaces, and
// one exchange (request, status polls until the mouse is done, reset report). The emulator's
// probe and its tests use it; the middleware's transport has the full algorithm.
#pragma once
#include <string>
#include <vector>

#include "middleware/transport/feature_report.h"
#include "middleware/transport/hid_port.h"

namespace quill::emu {

// Every interface path in enumeration order (empty when the enumeration cannot start).
std::vector<std::u16string> ListInterfaces(HidPort& port);

// Sends `request` as it is (checksum included), polls while the status is busy (at most
// `max_polls` reads), then writes the reset report. False when a transfer fails; `reply`
// holds the last reply read.
bool ExchangeReport(HidDevice& device, const FeatureReport& request, FeatureReport& reply, unsigned max_polls = 1000);

}  // namespace quill::emu
