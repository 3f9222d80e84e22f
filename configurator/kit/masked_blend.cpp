#include "configurator/kit/masked_blend.h"

namespace quill::kit {

void BlendThroughMask(uint32_t* destination, const uint32_t* source, const uint32_t* mask, size_t count) {
  for (size_t i = 0; i < count; ++i) {
    uint32_t out = destination[i] & 0xFF000000u;
    for (int shift = 0; shift < 24; shift += 8) {
      const uint32_t d = destination[i] >> shift & 0xFF, s = source[i] >> shift & 0xFF, m = mask[i] >> shift & 0xFF;
      out |= ((d * (255 - m) + s * m) / 255) << shift;
    }
    destination[i] = out;
  }
}

}  // namespace quill::kit
