// The generated artwork as the tray loads it from its resources (the fragment is included by
// tray_artwork_test.rc like the tray's resource script does).
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace {

struct Pixels {
  int width = 0, height = 0;
  std::vector<uint32_t> argb;
};

Pixels Read(HBITMAP bitmap) {
  Pixels out;
  BITMAP header{};
  if (!GetObjectW(bitmap, sizeof header, &header)) return out;
  out.width = header.bmWidth;
  out.height = header.bmHeight;
  out.argb.resize(static_cast<size_t>(out.width) * out.height);
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = out.width;
  info.bmiHeader.biHeight = -out.height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  HDC screen = GetDC(nullptr);
  GetDIBits(screen, bitmap, 0, out.height, out.argb.data(), &info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return out;
}

TEST(TrayArtwork, EveryDpiValueHasItsKeyedBitmap) {
  for (int dpi = 100; dpi <= 5600; dpi += 100) {
    HBITMAP bitmap = static_cast<HBITMAP>(
        LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(5000 + dpi / 100), IMAGE_BITMAP, 0, 0, 0));
    ASSERT_NE(bitmap, nullptr) << dpi;
    const Pixels p = Read(bitmap);
    DeleteObject(bitmap);
    ASSERT_GT(p.width, 0);
    // The corners are the colour key; some pixels are light (the figures).
    EXPECT_EQ(p.argb.front() & 0xFFFFFF, 0xFF00FFu) << dpi;
    EXPECT_EQ(p.argb.back() & 0xFFFFFF, 0xFF00FFu) << dpi;
    const auto light = std::count_if(p.argb.begin(), p.argb.end(), [](uint32_t c) { return (c & 0xFF00) > 0xC000 && (c & 0xFFFFFF) != 0xFF00FF; });
    EXPECT_GT(light, 50) << dpi;
  }
  EXPECT_EQ(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(5057), IMAGE_BITMAP, 0, 0, 0), nullptr);
}

TEST(TrayArtwork, IconHasEverySizeWithAlpha) {
  for (int size : {16, 20, 24, 32, 48}) {
    HICON icon = static_cast<HICON>(LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(103), IMAGE_ICON, size, size, 0));
    ASSERT_NE(icon, nullptr) << size;
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(icon, &info));
    const Pixels p = Read(info.hbmColor);
    DeleteObject(info.hbmColor);
    DeleteObject(info.hbmMask);
    DestroyIcon(icon);
    EXPECT_EQ(p.width, size);
    EXPECT_EQ(p.height, size);
    // Transparent outside the rounded corners, opaque in the middle.
    EXPECT_EQ(p.argb.front() >> 24, 0u) << size;
    EXPECT_EQ(p.argb[static_cast<size_t>(size / 2) * size + size / 2] >> 24, 0xFFu) << size;
  }
}

}  // namespace
