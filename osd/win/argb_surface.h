// 32-bit ARGB drawing surfaces of the displays: the bitmap header and a DIB section owned by
// winsupport's GDI owner.
#pragma once
#include <windows.h>

#include "winsupport/handles.h"

namespace quill::osd {

// The header of a 32-bit top-down bitmap (0xAARRGGBB pixels, top row first).
inline BITMAPINFO ArgbBitmapInfo(int width, int height) {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = -height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

// A DIB section of that format; `bits` receives its pixels (null when it cannot be made).
inline win::GdiObject<HBITMAP> MakeArgbSurface(int width, int height, void** bits) {
  const BITMAPINFO info = ArgbBitmapInfo(width, height);
  *bits = nullptr;
  win::GdiObject<HBITMAP> surface(CreateDIBSection(nullptr, &info, DIB_RGB_COLORS, bits, nullptr, 0));
  if (!surface) *bits = nullptr;
  return surface;
}

}  // namespace quill::osd
