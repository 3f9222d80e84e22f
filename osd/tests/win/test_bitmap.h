// A bitmap like the tray's DPI bitmaps for the tests: magenta (the colour key) around a light
// block, `width` x `height` pixels.
#pragma once
#include <windows.h>

#include <cstdint>

#include "osd/win/argb_surface.h"

namespace quill::osd::test {

// The caller deletes it.

inline HBITMAP MakeKeyedBitmap(int width, int height) {
  void* bits = nullptr;
  HBITMAP bitmap = MakeArgbSurface(width, height, &bits).Release();
  auto* pixels = static_cast<uint32_t*>(bits);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool block = x >= width / 4 && x < width * 3 / 4 && y >= height / 4 && y < height * 3 / 4;
      pixels[y * width + x] = block ? 0xF0F0F0 : 0xFF00FF;
    }
  }
  return bitmap;
}

}  // namespace quill::osd::test
