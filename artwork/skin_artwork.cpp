#include "artwork/skin_artwork.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <cmath>
#include <functional>
#include <map>

#include "artwork/canvas.h"
#include "artwork/glyphs.h"
#include "artwork/keyed_image.h"

namespace quill::art {

namespace {

struct Context {
  const Description& d;
  uint32_t key;
  Colour Behind(const std::string& section) const {
    return Colour::FromArgb(d.Colour("palette", d.Text(section, "behind")));
  }
};

std::pair<int, int> Size(const Description& d, const std::string& section, int low, int high) {
  const std::vector<int> size = d.Integers(section, "size", low, high);
  if (size.size() != 2) throw DescriptionError(section + ": 'size' is written as width and height");
  return {size[0], size[1]};
}

std::function<Colour(int, int)> Vertical(const Colour& top, const Colour& bottom, float y0, float y1) {
  return [=](int, int y) { return top.Mix(bottom, std::clamp((y + 0.5f - y0) / std::max(1.f, y1 - y0), 0.f, 1.f)); };
}

SkinBitmap DrawBox(const Context& c, const std::string& section) {
  const Description& d = c.d;
  const auto [w, h] = Size(d, section, 2, 512);
  const float radius = static_cast<float>(d.Integer(section, "radius", 0, 256));
  const int slice = d.Integer(section, "slice", 0, 256);
  if (2 * slice > std::min(w, h) + 1) throw DescriptionError("[" + section + "]: 'slice' is more than half the box");
  const Colour top = Colour::FromArgb(d.Colour(section, "top")), bottom = Colour::FromArgb(d.Colour(section, "bottom"));
  const Colour border = Colour::FromArgb(d.Colour(section, "border"));
  const float inset = d.Has(section, "inset") ? static_cast<float>(d.Integer(section, "inset", 0, 16)) : 0.f;
  // An open foot: the shape runs on below the bitmap, so its lower corners are square and it
  // has no outline there (a band laid over the top of another box).
  const bool open_foot = d.Has(section, "open_foot") && d.Integer(section, "open_foot", 0, 1) == 1;
  const float foot = open_foot ? radius + 2 : 0.f;

  Picture picture(w, h);
  const Mask outline = RoundedRect(w, h, 0, 0, static_cast<float>(w), h + foot, radius);
  const Mask fill = RoundedRect(w, h, inset, inset, w - inset, h + foot - inset, std::max(0.f, radius - inset));
  picture.Paint(fill, 0, 0, Vertical(top, bottom, 0, static_cast<float>(h)));
  if (d.Has(section, "shine")) {
    // A light line just inside the top edge, fading out towards the middle.
    const Colour shine = Colour::FromArgb(d.Colour(section, "shine"));
    const Mask inner = RoundedRect(w, h, 1, 1, w - 1.f, h - 1.f, std::max(0.f, radius - 1));
    picture.Paint(InnerRim(inner, 1), 0, 0,
                  [&](int, int y) { return shine.WithAlpha(shine.a * std::max(0.f, 1 - 2.f * y / h)); });
  }
  if (d.Has(section, "underline")) {
    const Colour line = Colour::FromArgb(d.Colour(section, "underline"));
    const int thick = d.Integer(section, "underline_height", 1, h);
    Mask bar(w, h);
    for (int y = h - thick; y < h; ++y) {
      for (int x = 0; x < w; ++x) bar.at(x, y) = 1;
    }
    picture.Paint(Multiply(bar, outline), 0, 0, line);
  }
  picture.Paint(InnerRim(outline, 1), 0, 0, border);
  return {section.substr(4), d.Integer(section, "id", 1, 65535), slice, KeyedImage(picture, c.Behind(section), c.key)};
}

SkinBitmap DrawGlyph(const Context& c, const std::string& section) {
  const Description& d = c.d;
  const auto [w, h] = Size(d, section, 2, 256);
  const std::string kind = d.Text(section, "kind");
  const Colour colour = Colour::FromArgb(d.Colour(section, "colour"));
  const float t = static_cast<float>(d.Integer(section, "thickness", 1, 16));
  const float fw = static_cast<float>(w), fh = static_cast<float>(h), m = t / 2 + 0.5f;
  std::vector<std::array<float, 4>> strokes;
  if (kind == "chevron_down") {
    strokes = {{m, m, fw / 2, fh - m}, {fw / 2, fh - m, fw - m, m}};
  } else if (kind == "chevron_up") {
    strokes = {{m, fh - m, fw / 2, m}, {fw / 2, m, fw - m, fh - m}};
  } else if (kind == "chevron_right") {
    strokes = {{m, m, fw - m, fh / 2}, {fw - m, fh / 2, m, fh - m}};
  } else if (kind == "dot") {
    strokes = {{fw / 2, fh / 2, fw / 2, fh / 2}};
  } else if (kind == "check") {
    strokes = {{fw * 0.22f, fh * 0.52f, fw * 0.42f, fh * 0.72f}, {fw * 0.42f, fh * 0.72f, fw * 0.78f, fh * 0.3f}};
  } else {
    throw DescriptionError("[" + section + "]: kind '" + kind + "' is none of chevron_down, chevron_up, chevron_right, check, dot");
  }
  Mask ink(w, h);
  for (const auto& s : strokes) {
    const Mask stroke = Segment(w, h, s[0], s[1], s[2], s[3], t);
    for (size_t i = 0; i < ink.value.size(); ++i) ink.value[i] = std::max(ink.value[i], stroke.value[i]);
  }
  Picture picture(w, h);
  picture.Paint(ink, 0, 0, colour);
  return {section.substr(6), d.Integer(section, "id", 1, 65535), 0, KeyedImage(picture, c.Behind(section), c.key)};
}

}  // namespace

std::string CamelName(const std::string& name) {
  std::string out;
  bool upper = true;
  for (char ch : name) {
    if (ch == '_') {
      upper = true;
      continue;
    }
    out += upper ? static_cast<char>(std::toupper(static_cast<unsigned char>(ch))) : ch;
    upper = false;
  }
  return out;
}

Skin DrawSkin(const Description& d) {
  Skin skin;
  const Context c{d, d.Colour("palette", "key") & 0xFFFFFFu};
  for (const char* name : {"panel", "panel_raised", "field", "text", "text_dim", "text_disabled", "text_on_accent", "accent",
                           "accent_deep", "line", "line_strong"}) {
    skin.colours.push_back({name, d.Colour("palette", name) & 0xFFFFFFu});
  }
  std::map<int, std::string> ids;  // resource number -> section
  for (const std::string& section : d.Sections()) {
    SkinBitmap bitmap;
    if (section.rfind("box_", 0) == 0) {
      bitmap = DrawBox(c, section);
    } else if (section.rfind("glyph_", 0) == 0) {
      bitmap = DrawGlyph(c, section);
    } else if (section != "palette" && section != "fonts") {
      throw DescriptionError("[" + section + "] is neither box_ nor glyph_ nor palette nor fonts");
    } else {
      continue;
    }
    if (const auto [it, added] = ids.emplace(bitmap.resource_id, section); !added) {
      throw DescriptionError("[" + section + "]: resource " + std::to_string(bitmap.resource_id) +
                             " is used by [" + it->second + "] too");
    }
    skin.bitmaps.push_back(std::move(bitmap));
  }
  const std::string pattern = d.Text("fonts", "caption");
  skin.caption_font_file = FindFontFile(pattern);
  skin.caption_face = Font(skin.caption_font_file, 12).family();
  skin.caption_font_resource = d.Integer("fonts", "caption_resource", 1, 65535);
  if (ids.count(skin.caption_font_resource)) throw DescriptionError("[fonts]: caption_resource is a bitmap's number");
  skin.caption_size = d.Integer("fonts", "caption_size", 6, 96);
  skin.text_face = d.Text("fonts", "text_face");
  for (char ch : skin.text_face) {
    if (!std::isalnum(static_cast<unsigned char>(ch)) && ch != ' ') {
      throw DescriptionError("[fonts]: text_face may hold letters, digits and blanks only");
    }
  }
  skin.text_size = d.Integer("fonts", "text_size", 6, 96);
  d.CheckAllRead();
  return skin;
}

}  // namespace quill::art
