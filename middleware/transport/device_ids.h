// USB identifiers and fixed names of the Quillfern and its family.
#pragma once
#include <cstdint>

namespace quill {

constexpr uint16_t VENDOR_ID = 0x3A7C;
constexpr uint16_t QUILLFERN_PID = 0x0C31;
constexpr uint16_t ALTERNATE_PID = 0x0C32;
constexpr uint16_t DOWNLOAD_PID = 0x0C3F;
constexpr uint16_t EXCLUDED_PID = 0x0C30;

// Name of the cross-process existence lock around every feature-report exchange.
constexpr const char16_t* DeviceMutexName = u"Global\\{6F1C2E7A-3B94-4D1E-9A57-0C8B2D4E6F31}";

}  // namespace quill
