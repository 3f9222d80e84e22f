// Drawing a picture over another through a mask of the same size: for each pixel and each of
// its three colour bytes, (destination × (255 − mask) + source × mask) / 255 with the mask's
// byte of the same colour. Pixels are 32-bit 0x00RRGGBB (the fourth byte is left as it is in
// the destination).
#pragma once
#include <cstddef>
#include <cstdint>

namespace quill::kit {

void BlendThroughMask(uint32_t* destination, const uint32_t* source, const uint32_t* mask, size_t count);

}  // namespace quill::kit
