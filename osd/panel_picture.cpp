#include "osd/panel_picture.h"

#include <algorithm>
#include <cmath>

namespace quill::osd {

namespace {

// Layout at 96 DPI, in pixels.
struct Metrics {
  int margin, pad_left, pad_right, pad_y, radius, bar_inset, bar_width, glow, min_height;
  explicit Metrics(double s)
      : margin(std::max(1, Px(1, s))), pad_left(Px(26, s)), pad_right(Px(20, s)), pad_y(Px(9, s)),
        radius(Px(10, s)), bar_inset(Px(10, s)), bar_width(std::max(2, Px(4, s))), glow(std::max(1, Px(3, s))),
        min_height(Px(40, s)) {}
  static int Px(int value, double s) { return static_cast<int>(std::lround(value * s)); }
};

void ContentSize(const PanelContent& content, double scale, int& width, int& height) {
  if (content.has_bitmap()) {
    width = ScaledSide(content.bitmap_width, scale);
    height = ScaledSide(content.bitmap_height, scale);
  } else {
    width = std::max(content.text_box_width, content.text.width);
    height = content.text.height;
  }
}

}  // namespace

int ScaledSide(int side, double scale) {
  return std::max(1, static_cast<int>(std::lround(side * scale)));
}

namespace {

// The bitmap resampled to cw x ch (bilinear, in premultiplied colours, so key pixels, which are
// transparent, give soft edges rather than a magenta seam) and painted at (cx, cy).
void PaintBitmap(art::Picture& picture, const PanelContent& content, int cx, int cy, int cw, int ch) {
  const int w = content.bitmap_width, h = content.bitmap_height;
  const uint32_t key = content.key & 0xFFFFFF;
  auto source = [&](int x, int y) {
    const uint32_t p = content.bitmap[static_cast<size_t>(std::clamp(y, 0, h - 1)) * w + std::clamp(x, 0, w - 1)];
    if ((p & 0xFFFFFF) == key) return art::Colour{0, 0, 0, 0};
    return art::Colour::FromArgb(0xFF000000 | p);
  };
  const double fx = static_cast<double>(w) / cw, fy = static_cast<double>(h) / ch;
  for (int y = 0; y < ch; ++y) {
    const double sy = (y + 0.5) * fy - 0.5;
    const int y0 = static_cast<int>(std::floor(sy));
    const float ty = static_cast<float>(sy - y0);
    for (int x = 0; x < cw; ++x) {
      const double sx = (x + 0.5) * fx - 0.5;
      const int x0 = static_cast<int>(std::floor(sx));
      const float tx = static_cast<float>(sx - x0);
      float r = 0, g = 0, b = 0, a = 0;
      const struct {
        int x, y;
        float weight;
      } taps[] = {{x0, y0, (1 - tx) * (1 - ty)}, {x0 + 1, y0, tx * (1 - ty)}, {x0, y0 + 1, (1 - tx) * ty},
                  {x0 + 1, y0 + 1, tx * ty}};
      for (const auto& tap : taps) {
        if (tap.weight <= 0) continue;
        const art::Colour c = source(tap.x, tap.y);
        r += c.r * c.a * tap.weight;
        g += c.g * c.a * tap.weight;
        b += c.b * c.a * tap.weight;
        a += c.a * tap.weight;
      }
      if (a <= 0) continue;
      picture.Blend(cx + x, cy + y, art::Colour{r / a, g / a, b / a, std::min(1.f, a)});
    }
  }
}

}  // namespace

int MaxContentWidth(int panel_width, double scale) {
  const Metrics m(scale);
  return std::max(0, panel_width - m.margin * 2 - m.pad_left - m.pad_right);
}

void PanelSize(const PanelContent& content, double scale, int& width, int& height) {
  width = height = 0;
  if (content.empty()) return;
  const Metrics m(scale);
  int cw = 0, ch = 0;
  ContentSize(content, scale, cw, ch);
  width = m.margin * 2 + m.pad_left + cw + m.pad_right;
  height = m.margin * 2 + std::max(m.min_height, ch + m.pad_y * 2);
}

PanelPicture DrawPanel(const DisplayStyle& style, const PanelContent& content, double scale) {
  PanelPicture out;
  PanelSize(content, scale, out.width, out.height);
  if (out.width <= 0 || out.height <= 0) return out;
  const Metrics m(scale);
  const int w = out.width, h = out.height;
  art::Picture picture(w, h);

  // The panel with a gradient, a faint rim of the accent, the accent bar. No drop shadow: where
  // the system draws layered windows without blending (X servers without compositing), faint
  // pixels come out black and a shadow would look like a thick black frame.
  const float x0 = m.margin, y0 = m.margin, x1 = w - m.margin, y1 = h - m.margin;
  const art::Mask panel = art::RoundedRect(w, h, x0, y0, x1, y1, m.radius);
  const float opacity = style.panel_opacity / 255.f;
  const art::Colour top = art::Colour::FromArgb(0xFF000000 | kPanelTop);
  const art::Colour bottom = art::Colour::FromArgb(0xFF000000 | kPanelBottom);
  picture.Paint(panel, 0, 0, [&](int, int y) {
    const float t = std::clamp((y - y0) / std::max(1.f, y1 - y0), 0.f, 1.f);
    return top.Mix(bottom, t).WithAlpha(opacity);
  });
  const art::Colour accent = art::Colour::FromArgb(style.accent);
  const art::Mask rim = art::InnerRim(panel, 1);
  picture.Paint(rim, 0, 0, [&](int, int y) {
    const float t = std::clamp((y - y0) / std::max(1.f, y1 - y0), 0.f, 1.f);
    return accent.WithAlpha(accent.a * (0.55f - 0.35f * t));
  });
  const float bar_x = x0 + m.bar_inset + m.bar_width / 2.f;
  // The bar runs from the halo colour at its top into the accent colour.
  const float bar_top = y0 + m.bar_inset + m.bar_width / 2.f, bar_bottom = y1 - m.bar_inset - m.bar_width / 2.f;
  const art::Colour glow = art::Colour::FromArgb(style.glow);
  picture.Paint(art::Segment(w, h, bar_x, bar_top, bar_x, bar_bottom, static_cast<float>(m.bar_width)), 0, 0,
                [&](int, int y) {
                  const float t = std::clamp((y - bar_top) / std::max(1.f, bar_bottom - bar_top), 0.f, 1.f);
                  return glow.Mix(accent, 0.4f + 0.6f * t);
                });

  // The content, centred vertically in the panel.
  int cw = 0, ch = 0;
  ContentSize(content, scale, cw, ch);
  const int cx = static_cast<int>(x0) + m.pad_left;
  const int cy = static_cast<int>(y0) + (static_cast<int>(y1 - y0) - ch) / 2;
  if (content.has_bitmap()) {
    PaintBitmap(picture, content, cx, cy, cw, ch);
  } else {
    int tx = cx;
    const int spare = cw - content.text.width;
    if (style.align == TextAlign::Centre) tx += spare / 2;
    if (style.align == TextAlign::Right) tx += spare;
    const art::Mask placed = art::Placed(content.text, w, h, tx, cy);
    picture.Paint(art::Blur(placed, m.glow), 0, 0, glow.WithAlpha(glow.a * 0.85f));
    picture.Paint(art::Placed(placed, w, h, 0, std::max(1, Metrics::Px(1, scale))), 0, 0,
                  art::Colour{0, 0, 0, 0.6f});
    picture.Paint(placed, 0, 0, art::Colour::FromArgb(style.text));
  }
  out.argb = picture.ToPremultipliedArgb();
  return out;
}

}  // namespace quill::osd
