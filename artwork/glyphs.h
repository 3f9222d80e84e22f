// Text drawn by FreeType into coverage masks, for the build-time generators. Fonts come from
// the machine's font packages, found by a fontconfig pattern ("DejaVu Sans:bold").
#pragma once
#include <memory>
#include <string>

#include "artwork/canvas.h"

namespace quill::art {

// The font file fontconfig picks for `pattern`; throws std::runtime_error when the picked font
// is not of the family the pattern names (fontconfig falls back to any font otherwise).
std::string FindFontFile(const std::string& pattern);

struct TextMask {
  Mask mask;        // as wide as the text's ink, as high as the font's line
  int baseline = 0; // row of the baseline in the mask
  int left = 0;     // the pen's start lies this many pixels right of the mask's left edge
  int advance = 0;  // the pen's travel
  int ink_top = 0, ink_bottom = 0;  // rows of the first and past the last inked row
};

class Font {
 public:
  Font(const std::string& file, int pixel_size);
  ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  // Text of Latin-1 characters (UTF-8 input beyond ASCII is not needed here).
  TextMask Draw(const std::string& text) const;
  std::string family() const;

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
};

}  // namespace quill::art
