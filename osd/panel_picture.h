// The picture of one display: the rounded panel with its accent bar and rim,
// and on it the text (with its halo) or the bitmap, colour-key pixels left out. Sizes scale
// with the monitor (scale 1 at 96 DPI). The result is premultiplied, for a layered window.
#pragma once
#include <cstdint>
#include <vector>

#include "artwork/canvas.h"
#include "osd/display_style.h"

namespace quill::osd {

// The panel's colours behind the content (top and bottom of its gradient, opaque RGB).
// Bitmaps meant for the display blend their glyph edges against kPanelMiddle.
constexpr uint32_t kPanelTop = 0x1F232A;
constexpr uint32_t kPanelBottom = 0x0C0E11;
constexpr uint32_t kPanelMiddle = 0x15181D;

struct PanelContent {
  // Text: its glyphs' coverage, and the width of the box it sits in (at least the mask's).
  art::Mask text;
  int text_box_width = 0;
  // Bitmap: 0xAARRGGBB pixels (alpha ignored), top row first; pixels of the key's RGB are
  // left out.
  std::vector<uint32_t> bitmap;
  int bitmap_width = 0, bitmap_height = 0;
  uint32_t key = 0xFFFF00FF;

  bool has_bitmap() const { return bitmap_width > 0 && bitmap_height > 0; }
  bool empty() const { return !has_bitmap() && text_box_width <= 0; }
};

struct PanelPicture {
  int width = 0, height = 0;   // 0 when there is nothing to show
  std::vector<uint32_t> argb;  // premultiplied, top row first
};

PanelPicture DrawPanel(const DisplayStyle& style, const PanelContent& content, double scale);

// The size DrawPanel gives the same content, without drawing it (for placing other displays).
void PanelSize(const PanelContent& content, double scale, int& width, int& height);

// The widest content a panel of at most `panel_width` pixels holds (0 when none).
int MaxContentWidth(int panel_width, double scale);

// A bitmap's size on a monitor of that scale (its own size at 96 DPI).
int ScaledSide(int side, double scale);

}  // namespace quill::osd
