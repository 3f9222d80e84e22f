// The configuration application's skin, drawn from a description (skin.txt): the bitmaps of
// the controls and dialogs (rounded boxes in nine parts, stroked glyphs), the colours the
// controls draw with, and the display font embedded for the captions.
#pragma once
#include <string>
#include <vector>

#include "artwork/description.h"
#include "artwork/image_files.h"

namespace quill::art {

struct SkinBitmap {
  std::string name;  // "button_normal": from the section [box_button_normal] or [glyph_...]
  int resource_id = 0;
  int slice = 0;     // corner part of a box; 0 for a glyph
  Image image;
};

struct SkinColour {
  std::string name;
  uint32_t rgb = 0;  // 0xRRGGBB
};

struct Skin {
  std::vector<SkinBitmap> bitmaps;
  std::vector<SkinColour> colours;
  std::string caption_font_file;  // the font file embedded as a font resource
  std::string caption_face;       // its family name, as Windows names it
  int caption_font_resource = 0;
  int caption_size = 0;
  std::string text_face;
  int text_size = 0;
};

// Throws DescriptionError for a wrong description, std::runtime_error for a missing font.
Skin DrawSkin(const Description& description);

// "button_normal" -> "ButtonNormal".
std::string CamelName(const std::string& name);

}  // namespace quill::art
