// Anti-aliased drawing into memory, shared by the build-time artwork generators and OSD.dll:
// coverage masks of shapes (rounded rectangles, line segments) and of glyphs, blurred masks,
// and a picture of premultiplied colours that masks are painted onto.
#pragma once
#include <cstdint>
#include <functional>
#include <vector>

namespace quill::art {

// A colour with straight (not premultiplied) components from 0 to 1.
struct Colour {
  float r = 0, g = 0, b = 0, a = 1;
  static Colour FromArgb(uint32_t argb);  // 0xAARRGGBB
  static Colour FromRgb(uint8_t r, uint8_t g, uint8_t b);
  Colour WithAlpha(float alpha) const { return {r, g, b, alpha}; }
  Colour Mix(const Colour& other, float t) const;  // t = 0: this, 1: other
};

// Coverage from 0 to 1 per pixel.
struct Mask {
  int width = 0, height = 0;
  std::vector<float> value;
  Mask() = default;
  Mask(int w, int h) : width(w), height(h), value(static_cast<size_t>(w) * h, 0.f) {}
  float at(int x, int y) const { return value[static_cast<size_t>(y) * width + x]; }
  float& at(int x, int y) { return value[static_cast<size_t>(y) * width + x]; }
};

// A rounded rectangle (pixel edges x0..x1, y0..y1) in a mask of the given size.
Mask RoundedRect(int width, int height, float x0, float y0, float x1, float y1, float radius);
// A stroke from (ax, ay) to (bx, by) with round ends, `thickness` wide.
Mask Segment(int width, int height, float ax, float ay, float bx, float by, float thickness);
// The ring of `mask` that lies within `thickness` pixels of its outside (an inner rim).
Mask InnerRim(const Mask& mask, int thickness);
// Each pixel of `a` times the one of `b` (intersection); the sizes must agree.
Mask Multiply(const Mask& a, const Mask& b);
// `a` with `b` taken away.
Mask Subtract(const Mask& a, const Mask& b);
// Three box blurs of the radius (close to a Gaussian); the mask keeps its size.
Mask Blur(const Mask& mask, int radius);
// `mask` moved by (dx, dy) into a mask of the given size.
Mask Placed(const Mask& mask, int width, int height, int dx, int dy);

class Picture {
 public:
  Picture(int width, int height);
  int width() const { return width_; }
  int height() const { return height_; }

  // Paints `colour` through the mask placed at (x, y), `over` what is there.
  void Paint(const Mask& mask, int x, int y, const Colour& colour);
  // The same with a colour per pixel (picture coordinates).
  void Paint(const Mask& mask, int x, int y, const std::function<Colour(int, int)>& colour);
  // One pixel `over` what is there (colour.a is its opacity).
  void Blend(int x, int y, const Colour& colour);
  // An opaque pixel.
  void Set(int x, int y, const Colour& colour);
  Colour Get(int x, int y) const;  // straight components

  // 32-bit pixels 0xAARRGGBB, rows top to bottom; premultiplied or straight.
  std::vector<uint32_t> ToPremultipliedArgb() const;
  std::vector<uint32_t> ToStraightArgb() const;

 private:
  struct Pixel { float r, g, b, a; };  // premultiplied
  int width_, height_;
  std::vector<Pixel> pixels_;
};

}  // namespace quill::art
