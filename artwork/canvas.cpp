#include "artwork/canvas.h"

#include <algorithm>
#include <cmath>

namespace quill::art {

Colour Colour::FromArgb(uint32_t argb) {
  return {((argb >> 16) & 0xFF) / 255.f, ((argb >> 8) & 0xFF) / 255.f, (argb & 0xFF) / 255.f,
          ((argb >> 24) & 0xFF) / 255.f};
}

Colour Colour::FromRgb(uint8_t r, uint8_t g, uint8_t b) {
  return {r / 255.f, g / 255.f, b / 255.f, 1.f};
}

Colour Colour::Mix(const Colour& o, float t) const {
  return {r + (o.r - r) * t, g + (o.g - g) * t, b + (o.b - b) * t, a + (o.a - a) * t};
}

namespace {

float Coverage(float distance) {  // signed distance of a pixel centre to an edge
  return std::clamp(0.5f - distance, 0.f, 1.f);
}

template <typename Distance>
Mask FromDistance(int width, int height, Distance distance) {
  Mask mask(width, height);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) mask.at(x, y) = Coverage(distance(x + 0.5f, y + 0.5f));
  }
  return mask;
}

uint8_t Byte(float v) {
  return static_cast<uint8_t>(std::lround(std::clamp(v, 0.f, 1.f) * 255.f));
}

void BoxBlurLine(const float* in, float* out, int count, int stride, int radius) {
  const float scale = 1.f / (2 * radius + 1);
  float sum = 0;
  for (int i = -radius; i <= radius; ++i) sum += (i >= 0 && i < count) ? in[i * stride] : 0.f;
  for (int i = 0; i < count; ++i) {
    out[i * stride] = sum * scale;
    const int leaving = i - radius, entering = i + radius + 1;
    if (leaving >= 0) sum -= in[leaving * stride];
    if (entering < count) sum += in[entering * stride];
  }
}

}  // namespace

Mask RoundedRect(int width, int height, float x0, float y0, float x1, float y1, float radius) {
  const float cx = (x0 + x1) / 2, cy = (y0 + y1) / 2;
  const float hx = (x1 - x0) / 2, hy = (y1 - y0) / 2;
  radius = std::clamp(radius, 0.f, std::min(hx, hy));
  return FromDistance(width, height, [&](float px, float py) {
    const float qx = std::fabs(px - cx) - (hx - radius), qy = std::fabs(py - cy) - (hy - radius);
    const float outside = std::hypot(std::max(qx, 0.f), std::max(qy, 0.f));
    return outside + std::min(std::max(qx, qy), 0.f) - radius;
  });
}

Mask Segment(int width, int height, float ax, float ay, float bx, float by, float thickness) {
  const float dx = bx - ax, dy = by - ay, length2 = dx * dx + dy * dy;
  return FromDistance(width, height, [&](float px, float py) {
    float t = length2 > 0 ? ((px - ax) * dx + (py - ay) * dy) / length2 : 0.f;
    t = std::clamp(t, 0.f, 1.f);
    return std::hypot(px - (ax + t * dx), py - (ay + t * dy)) - thickness / 2;
  });
}

Mask InnerRim(const Mask& mask, int thickness) {
  // A pixel belongs to the rim by how much of the mask's outside lies within reach.
  Mask rim(mask.width, mask.height);
  for (int y = 0; y < mask.height; ++y) {
    for (int x = 0; x < mask.width; ++x) {
      float lowest = 1.f;
      for (int oy = -thickness; oy <= thickness; ++oy) {
        for (int ox = -thickness; ox <= thickness; ++ox) {
          const int sx = x + ox, sy = y + oy;
          const float v = (sx < 0 || sy < 0 || sx >= mask.width || sy >= mask.height) ? 0.f : mask.at(sx, sy);
          lowest = std::min(lowest, v);
        }
      }
      rim.at(x, y) = std::max(0.f, mask.at(x, y) - lowest);
    }
  }
  return rim;
}

Mask Multiply(const Mask& a, const Mask& b) {
  Mask out = a;
  for (size_t i = 0; i < out.value.size() && i < b.value.size(); ++i) out.value[i] *= b.value[i];
  return out;
}

Mask Subtract(const Mask& a, const Mask& b) {
  Mask out = a;
  for (size_t i = 0; i < out.value.size() && i < b.value.size(); ++i) {
    out.value[i] = std::max(0.f, out.value[i] - b.value[i]);
  }
  return out;
}

Mask Blur(const Mask& mask, int radius) {
  if (radius <= 0 || mask.width == 0 || mask.height == 0) return mask;
  Mask a = mask, b = mask;
  for (int pass = 0; pass < 3; ++pass) {
    for (int y = 0; y < a.height; ++y) BoxBlurLine(&a.at(0, y), &b.at(0, y), a.width, 1, radius);
    for (int x = 0; x < a.width; ++x) BoxBlurLine(&b.at(x, 0), &a.at(x, 0), a.height, a.width, radius);
  }
  return a;
}

Mask Placed(const Mask& mask, int width, int height, int dx, int dy) {
  Mask out(width, height);
  for (int y = 0; y < mask.height; ++y) {
    for (int x = 0; x < mask.width; ++x) {
      const int tx = x + dx, ty = y + dy;
      if (tx >= 0 && ty >= 0 && tx < width && ty < height) out.at(tx, ty) = mask.at(x, y);
    }
  }
  return out;
}

Picture::Picture(int width, int height)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * height_, Pixel{0, 0, 0, 0}) {}

void Picture::Paint(const Mask& mask, int x, int y, const Colour& colour) {
  Paint(mask, x, y, [&](int, int) { return colour; });
}

void Picture::Paint(const Mask& mask, int ox, int oy, const std::function<Colour(int, int)>& colour) {
  for (int my = 0; my < mask.height; ++my) {
    const int y = oy + my;
    if (y < 0 || y >= height_) continue;
    for (int mx = 0; mx < mask.width; ++mx) {
      const int x = ox + mx;
      const float coverage = mask.at(mx, my);
      if (x < 0 || x >= width_ || coverage <= 0) continue;
      const Colour c = colour(x, y);
      Blend(x, y, c.WithAlpha(c.a * coverage));
    }
  }
}

void Picture::Blend(int x, int y, const Colour& c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  const float a = std::clamp(c.a, 0.f, 1.f);
  Pixel& p = pixels_[static_cast<size_t>(y) * width_ + x];
  p = {c.r * a + p.r * (1 - a), c.g * a + p.g * (1 - a), c.b * a + p.b * (1 - a), a + p.a * (1 - a)};
}

void Picture::Set(int x, int y, const Colour& c) {
  if (x < 0 || y < 0 || x >= width_ || y >= height_) return;
  pixels_[static_cast<size_t>(y) * width_ + x] = {c.r, c.g, c.b, 1.f};
}

Colour Picture::Get(int x, int y) const {
  const Pixel& p = pixels_[static_cast<size_t>(y) * width_ + x];
  if (p.a <= 0) return {0, 0, 0, 0};
  return {p.r / p.a, p.g / p.a, p.b / p.a, p.a};
}

std::vector<uint32_t> Picture::ToPremultipliedArgb() const {
  std::vector<uint32_t> out(pixels_.size());
  for (size_t i = 0; i < pixels_.size(); ++i) {
    const Pixel& p = pixels_[i];
    const uint8_t a = Byte(p.a);
    // Components never above alpha, as UpdateLayeredWindow requires.
    auto component = [&](float v) { return std::min(Byte(v), a); };
    out[i] = uint32_t{a} << 24 | uint32_t{component(p.r)} << 16 | uint32_t{component(p.g)} << 8 | component(p.b);
  }
  return out;
}

std::vector<uint32_t> Picture::ToStraightArgb() const {
  std::vector<uint32_t> out(pixels_.size());
  for (int y = 0; y < height_; ++y) {
    for (int x = 0; x < width_; ++x) {
      const Colour c = Get(x, y);
      out[static_cast<size_t>(y) * width_ + x] =
          uint32_t{Byte(c.a)} << 24 | uint32_t{Byte(c.r)} << 16 | uint32_t{Byte(c.g)} << 8 | Byte(c.b);
    }
  }
  return out;
}

}  // namespace quill::art
