#include "osd/panel_picture.h"

#include <gtest/gtest.h>

namespace quill::osd {
namespace {

// A bitmap as GetDIBits gives it (alpha byte 0): magenta key around a white block.
PanelContent KeyedBitmap(int width, int height) {
  PanelContent content;
  content.bitmap_width = width;
  content.bitmap_height = height;
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const bool block = x >= width / 4 && x < width * 3 / 4 && y >= height / 4 && y < height * 3 / 4;
      content.bitmap.push_back(block ? 0x00FFFFFF : 0x00FF00FF);
    }
  }
  content.key = 0xFFFF00FF;  // the key as the tray passes it, with its alpha byte
  return content;
}

uint32_t Pixel(const PanelPicture& p, int x, int y) { return p.argb[static_cast<size_t>(y) * p.width + x]; }

TEST(PanelPicture, KeyPixelsShowThePanelAndOtherPixelsAreOpaque) {
  DisplayStyle style;
  style.panel_opacity = 149;
  const PanelContent content = KeyedBitmap(40, 20);
  const PanelPicture picture = DrawPanel(style, content, 1.0);
  ASSERT_GT(picture.width, 40);
  ASSERT_GT(picture.height, 20);
  // Find the white block: opaque white pixels; no magenta anywhere.
  int white = 0;
  for (uint32_t p : picture.argb) {
    EXPECT_NE(p & 0xFFFFFF, 0xFF00FFu);
    if (p == 0xFFFFFFFF) ++white;
  }
  EXPECT_EQ(white, 20 * 10);
  // The middle of the left half of the bitmap (a key pixel) is the panel at its opacity.
  int width = 0, height = 0;
  PanelSize(content, 1.0, width, height);
  EXPECT_EQ(width, picture.width);
  EXPECT_EQ(height, picture.height);
  const uint32_t centre = Pixel(picture, picture.width / 2, picture.height / 2);
  EXPECT_EQ(centre, 0xFFFFFFFFu);
  const uint32_t panel = Pixel(picture, picture.width - 8, picture.height / 2);
  EXPECT_NEAR(static_cast<int>(panel >> 24), 149, 2);
}

TEST(PanelPicture, SizesFollowTheMonitorScaleAndEmptyContentHasNone) {
  const PanelContent content = KeyedBitmap(132, 40);
  int w1 = 0, h1 = 0, w2 = 0, h2 = 0;
  PanelSize(content, 1.0, w1, h1);
  PanelSize(content, 2.0, w2, h2);
  EXPECT_NEAR(w2, 2 * w1, 2);
  EXPECT_NEAR(h2, 2 * h1, 2);
  const PanelPicture at150 = DrawPanel(DisplayStyle{}, content, 1.5);
  // Drawn at 1.5 times: 198 x 60 pixels of the bitmap, the white block a quarter of them, with
  // soft edges but never a trace of the key.
  int white = 0;
  for (uint32_t p : at150.argb) {
    if ((p & 0xFFFFFF) == 0xFFFFFF && (p >> 24) == 0xFF) ++white;
    const int r = (p >> 16) & 0xFF, g = (p >> 8) & 0xFF, b = p & 0xFF;
    EXPECT_FALSE(r > g + 40 && b > g + 40) << std::hex << p;  // magenta tint
  }
  EXPECT_GE(white, 96 * 27);  // a blended rim of at most two pixels
  EXPECT_LE(white, 99 * 30);

  const PanelPicture nothing = DrawPanel(DisplayStyle{}, PanelContent{}, 1.0);
  EXPECT_EQ(nothing.width, 0);
  EXPECT_TRUE(nothing.argb.empty());
}

TEST(PanelPicture, PremultipliedComponentsNeverExceedAlpha) {
  DisplayStyle style;
  style.panel_opacity = 60;
  PanelContent content;
  content.text = art::Mask(30, 20);
  for (float& v : content.text.value) v = 0.7f;
  content.text_box_width = 50;
  const PanelPicture picture = DrawPanel(style, content, 1.5);
  for (uint32_t p : picture.argb) {
    const uint32_t a = p >> 24;
    ASSERT_LE((p >> 16) & 0xFF, a);
    ASSERT_LE((p >> 8) & 0xFF, a);
    ASSERT_LE(p & 0xFF, a);
  }
}

}  // namespace
}  // namespace quill::osd
