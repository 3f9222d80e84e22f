// USB identifiers and fixed names of the Quillfern and its family. The product IDs a client
// opens come from the client surface; the rest only the transport needs.
#pragma once
#include <cstdint>

#include "middleware/typelib/quillfern_ids.h"

namespace quill {

constexpr uint16_t VENDOR_ID = 0x3A7C;
constexpr uint16_t DOWNLOAD_PID = 0x0C3F;
constexpr uint16_t EXCLUDED_PID = 0x0C30;

// Name of the cross-process existence lock around every feature-report exchange.
constexpr const char16_t* DeviceMutexName = u"Global\\{6F1C2E7A-3B94-4D1E-9A57-0C8B2D4E6F31}";

}  // namespace quill
