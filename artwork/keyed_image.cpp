#include "artwork/keyed_image.h"

#include <algorithm>
#include <cmath>

namespace quill::art {

Image KeyedImage(const Picture& picture, const Colour& behind, uint32_t key_rgb) {
  const int width = picture.width(), height = picture.height();
  const uint32_t key = key_rgb | 0xFF000000u;
  Image image{width, height, std::vector<uint32_t>(static_cast<size_t>(width) * height, key)};
  auto byte = [](float v) { return static_cast<uint32_t>(std::lround(std::clamp(v, 0.f, 1.f) * 255)); };
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const Colour ink = picture.Get(x, y);
      if (ink.a < 0.5f / 255) continue;
      const Colour c = behind.Mix(ink, ink.a);
      uint32_t rgb = byte(c.r) << 16 | byte(c.g) << 8 | byte(c.b);
      if ((rgb | 0xFF000000u) == key) rgb ^= 1;
      image.argb[static_cast<size_t>(y) * width + x] = 0xFF000000u | rgb;
    }
  }
  return image;
}

}  // namespace quill::art
