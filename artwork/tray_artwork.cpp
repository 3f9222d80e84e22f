#include "artwork/tray_artwork.h"

#include <algorithm>
#include <cmath>

#include "artwork/canvas.h"
#include "artwork/glyphs.h"
#include "artwork/keyed_image.h"

namespace quill::art {

namespace {

Image ToImage(const Picture& picture) {
  return {picture.width(), picture.height(), picture.ToStraightArgb()};
}

// Figures over the panel colour, then the colour key where nothing was drawn.
std::vector<DpiBitmap> DrawDpiBitmaps(const Description& d) {
  const char* s = "dpi_bitmaps";
  const int first = d.Integer(s, "first_dpi", 1, 100000), last = d.Integer(s, "last_dpi", first, 100000);
  const int step = d.Integer(s, "step", 1, 100000), first_id = d.Integer(s, "first_id", 1, 65535);
  const int width = d.Integer(s, "width", 8, 1024), height = d.Integer(s, "height", 8, 1024);
  const std::string caption = d.Text(s, "caption");
  const int gap = d.Integer(s, "caption_gap", 0, 100);
  const Colour panel = Colour::FromArgb(d.Colour("palette", "panel"));
  const uint32_t key = d.Colour("palette", "key") | 0xFF000000u;
  const Colour top = Colour::FromArgb(d.Colour("palette", "figure_top"));
  const Colour bottom = Colour::FromArgb(d.Colour("palette", "figure_bottom"));
  const Colour caption_colour = Colour::FromArgb(d.Colour("palette", "caption"));
  const Font figures(FindFontFile(d.Text("fonts", "figures")), d.Integer(s, "figure_size", 6, 512));
  const Font small(FindFontFile(d.Text("fonts", "caption")), d.Integer(s, "caption_size", 4, 512));
  if (first_id + (last - first) / step > 65535) throw DescriptionError("[dpi_bitmaps]: identifiers beyond 65535");

  const TextMask caption_mask = small.Draw(caption);
  std::vector<DpiBitmap> out;
  for (int dpi = first; dpi <= last; dpi += step) {
    const TextMask figure = figures.Draw(std::to_string(dpi));
    const int total = figure.mask.width + gap + caption_mask.mask.width;
    const int ink_height = figure.ink_bottom - figure.ink_top;
    if (total > width || ink_height > height) {
      throw DescriptionError("[dpi_bitmaps]: '" + std::to_string(dpi) + " " + caption + "' needs " +
                             std::to_string(total) + "x" + std::to_string(ink_height) + " pixels, more than " +
                             std::to_string(width) + "x" + std::to_string(height));
    }
    // The figure's ink centred vertically; the caption on the figure's baseline.
    const int fx = (width - total) / 2, fy = (height - ink_height) / 2 - figure.ink_top;
    const int cx = fx + figure.mask.width + gap, cy = fy + figure.baseline - caption_mask.baseline;
    Picture picture(width, height);
    const float ink_top = static_cast<float>(fy + figure.ink_top), span = std::max(1, ink_height);
    picture.Paint(figure.mask, fx, fy, [&](int, int y) { return top.Mix(bottom, std::clamp((y - ink_top) / span, 0.f, 1.f)); });
    picture.Paint(caption_mask.mask, cx, cy, caption_colour);

    Image image = KeyedImage(picture, panel, key);
    out.push_back({first_id + (dpi - first) / step, dpi, std::move(image)});
  }
  return out;
}


}  // namespace

Image DrawIcon(const Description& d, int size) {
  const char* s = "icon";
  const float n = static_cast<float>(size);
  const float corner = n * d.Integer(s, "corner_percent", 0, 50) / 100.f;
  const float body_w = n * d.Integer(s, "body_width_percent", 10, 90) / 100.f;
  const float body_h = n * d.Integer(s, "body_height_percent", 10, 90) / 100.f;
  const Colour bg_top = Colour::FromArgb(d.Colour(s, "background_top"));
  const Colour bg_bottom = Colour::FromArgb(d.Colour(s, "background_bottom"));
  const Colour rim = Colour::FromArgb(d.Colour(s, "rim"));
  const Colour body_top = Colour::FromArgb(d.Colour(s, "body_top"));
  const Colour body_bottom = Colour::FromArgb(d.Colour(s, "body_bottom"));
  const Colour lines = Colour::FromArgb(d.Colour(s, "lines"));
  const Colour wheel = Colour::FromArgb(d.Colour(s, "wheel"));

  Picture picture(size, size);
  auto vertical = [](const Colour& a, const Colour& b, float y0, float y1) {
    return [=](int, int y) { return a.Mix(b, std::clamp((y + 0.5f - y0) / std::max(1.f, y1 - y0), 0.f, 1.f)); };
  };
  const Mask square = RoundedRect(size, size, 0, 0, n, n, corner);
  picture.Paint(square, 0, 0, vertical(bg_top, bg_bottom, 0, n));
  // A light rim along the top edge only, fading downwards.
  picture.Paint(InnerRim(square, 1), 0, 0, [&](int, int y) { return rim.WithAlpha(rim.a * std::max(0.f, 1 - 2 * y / n)); });

  // The mouse: a body rounded like a pebble, split into two buttons, with a wheel.
  const float bx0 = (n - body_w) / 2, by0 = (n - body_h) / 2, bx1 = bx0 + body_w, by1 = by0 + body_h;
  const Mask body = RoundedRect(size, size, bx0, by0, bx1, by1, body_w * 0.48f);
  picture.Paint(body, 0, 0, vertical(body_top, body_bottom, by0, by1));
  const float line = std::max(1.f, n / 24.f);
  const float split_y = by0 + body_h * 0.42f;
  picture.Paint(Multiply(Segment(size, size, bx0 - 1, split_y, bx1 + 1, split_y, line), body), 0, 0, lines);
  picture.Paint(Segment(size, size, n / 2, by0, n / 2, split_y, line), 0, 0, lines);
  const float wheel_w = std::max(1.5f, n / 11.f);
  picture.Paint(Segment(size, size, n / 2, by0 + body_h * 0.14f, n / 2, by0 + body_h * 0.28f, wheel_w), 0, 0, wheel);
  return ToImage(picture);
}

TrayArtwork DrawTrayArtwork(const Description& description) {
  TrayArtwork artwork;
  artwork.bitmaps = DrawDpiBitmaps(description);
  artwork.icon_id = description.Integer("icon", "id", 1, 65535);
  for (int size : description.Integers("icon", "sizes", 16, 256)) artwork.icon.push_back(DrawIcon(description, size));
  if (artwork.icon.empty()) throw DescriptionError("[icon]: 'sizes' names no size");
  description.CheckAllRead();
  return artwork;
}

}  // namespace quill::art
