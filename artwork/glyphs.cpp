#include "artwork/glyphs.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>
#include <array>
#include <cstdio>
#include <stdexcept>
#include <vector>

namespace quill::art {

namespace {

std::string Run(const std::string& command) {
  std::string output;
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return output;
  std::array<char, 512> buffer;
  size_t n;
  while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0) output.append(buffer.data(), n);
  pclose(pipe);
  return output;
}

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

}  // namespace

struct Font::Impl {
  FT_Library library = nullptr;
  FT_Face face = nullptr;
};

std::string FindFontFile(const std::string& pattern) {
  for (char c : pattern) {
    if (!std::isalnum(static_cast<unsigned char>(c)) && c != ' ' && c != ':' && c != '=' && c != '-') {
      throw std::runtime_error("font pattern '" + pattern + "' may hold letters, digits, blanks and : = - only");
    }
  }
  const std::string file = Run("fc-match -f '%{file}' '" + pattern + "'");
  const std::string family = Run("fc-match -f '%{family[0]}' '" + pattern + "'");
  const std::string wanted = pattern.substr(0, pattern.find(':'));
  if (file.empty() || Lower(family) != Lower(wanted)) {
    throw std::runtime_error("font '" + wanted + "' is not installed (fontconfig offers '" + family +
                             "'); scripts/setup.sh installs the font packages");
  }
  return file;
}

Font::Font(const std::string& file, int pixel_size) : impl_(std::make_unique<Impl>()) {
  if (FT_Init_FreeType(&impl_->library) != 0) throw std::runtime_error("FreeType cannot start");
  if (FT_New_Face(impl_->library, file.c_str(), 0, &impl_->face) != 0) {
    FT_Done_FreeType(impl_->library);
    throw std::runtime_error("cannot read the font " + file);
  }
  FT_Set_Pixel_Sizes(impl_->face, 0, static_cast<FT_UInt>(pixel_size));
}

Font::~Font() {
  FT_Done_Face(impl_->face);
  FT_Done_FreeType(impl_->library);
}

std::string Font::family() const { return impl_->face->family_name ? impl_->face->family_name : ""; }

TextMask Font::Draw(const std::string& text) const {
  FT_Face face = impl_->face;
  struct Placed {
    std::vector<uint8_t> pixels;
    int width, rows, pitch, x, top;
  };
  std::vector<Placed> glyphs;
  int pen = 0;
  FT_UInt previous = 0;
  for (unsigned char c : text) {
    const FT_UInt index = FT_Get_Char_Index(face, c);
    if (previous && index && FT_HAS_KERNING(face)) {
      FT_Vector kerning;
      FT_Get_Kerning(face, previous, index, FT_KERNING_DEFAULT, &kerning);
      pen += static_cast<int>(kerning.x >> 6);
    }
    if (FT_Load_Glyph(face, index, FT_LOAD_RENDER | FT_LOAD_TARGET_LIGHT) != 0) {
      throw std::runtime_error(std::string("the font has no glyph for '") + static_cast<char>(c) + "'");
    }
    const FT_GlyphSlot slot = face->glyph;
    Placed g{{}, static_cast<int>(slot->bitmap.width), static_cast<int>(slot->bitmap.rows), slot->bitmap.pitch,
             pen + slot->bitmap_left, slot->bitmap_top};
    g.pixels.assign(slot->bitmap.buffer, slot->bitmap.buffer + static_cast<size_t>(std::abs(g.pitch)) * g.rows);
    glyphs.push_back(std::move(g));
    pen += static_cast<int>(slot->advance.x >> 6);
    previous = index;
  }
  const int ascender = static_cast<int>(face->size->metrics.ascender >> 6);
  const int descender = static_cast<int>(-(face->size->metrics.descender >> 6));
  int left = 0, right = pen;
  for (const Placed& g : glyphs) {
    left = std::min(left, g.x);
    right = std::max(right, g.x + g.width);
  }
  TextMask out;
  out.left = -left;
  out.advance = pen;
  out.baseline = ascender;
  out.mask = Mask(right - left, ascender + descender);
  out.ink_top = out.mask.height;
  out.ink_bottom = 0;
  for (const Placed& g : glyphs) {
    for (int y = 0; y < g.rows; ++y) {
      const int my = ascender - g.top + y;
      if (my < 0 || my >= out.mask.height) continue;
      for (int x = 0; x < g.width; ++x) {
        const float v = g.pixels[static_cast<size_t>(y) * std::abs(g.pitch) + x] / 255.f;
        if (v <= 0) continue;
        float& cell = out.mask.at(g.x - left + x, my);
        cell = std::min(1.f, cell + v);  // touching glyphs add up
        out.ink_top = std::min(out.ink_top, my);
        out.ink_bottom = std::max(out.ink_bottom, my + 1);
      }
    }
  }
  return out;
}

}  // namespace quill::art
