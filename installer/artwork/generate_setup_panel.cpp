// Draws the picture on the left of the installer's welcome and finish pages (164 x 314 pixels,
// a 24-bit BMP): the suite's mark from the tray's artwork description, large, on the mark's
// dark background, with the product name and version below it.
//
//   generate_setup_panel <tray_artwork.txt> <version> <output .bmp>
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "artwork/canvas.h"
#include "artwork/description.h"
#include "artwork/glyphs.h"
#include "artwork/image_files.h"
#include "artwork/tray_artwork.h"

namespace {

using quill::art::Colour;
using quill::art::Image;

constexpr int kWidth = 164, kHeight = 314, kMarkSize = 96, kMarkTop = 62;

uint32_t Argb(const Colour& c) {
  auto byte = [](float v) { return static_cast<uint32_t>(std::clamp(v, 0.f, 1.f) * 255.f + 0.5f); };
  return 0xFF000000u | byte(c.r) << 16 | byte(c.g) << 8 | byte(c.b);
}

Colour At(const Image& image, int x, int y) { return Colour::FromArgb(image.argb[static_cast<size_t>(y) * image.width + x]); }

void Blend(Image& image, int x, int y, const Colour& colour, float coverage) {
  if (x < 0 || y < 0 || x >= image.width || y >= image.height || coverage <= 0) return;
  image.argb[static_cast<size_t>(y) * image.width + x] = Argb(At(image, x, y).Mix(colour, coverage * colour.a));
}

// The text centred on the panel with its baseline at `baseline`.
void DrawCentred(Image& image, const quill::art::Font& font, const std::string& text, int baseline, const Colour& colour) {
  const quill::art::TextMask drawn = font.Draw(text);
  const int left = (image.width - drawn.mask.width) / 2;
  for (int y = 0; y < drawn.mask.height; ++y) {
    for (int x = 0; x < drawn.mask.width; ++x) Blend(image, left + x, baseline - drawn.baseline + y, colour, drawn.mask.at(x, y));
  }
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: generate_setup_panel <tray_artwork.txt> <version> <output .bmp>\n");
    return 2;
  }
  try {
    std::ifstream in(argv[1], std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    if (!in) throw std::runtime_error(std::string("cannot read ") + argv[1]);
    const auto description = quill::art::Description::Parse(text.str(), argv[1]);
    const Colour top = Colour::FromArgb(description.Colour("icon", "background_top"));
    const Colour bottom = Colour::FromArgb(description.Colour("icon", "background_bottom"));
    const Colour accent = Colour::FromArgb(description.Colour("icon", "body_top"));
    const Colour name = Colour::FromArgb(description.Colour("icon", "wheel"));

    Image panel{kWidth, kHeight, std::vector<uint32_t>(static_cast<size_t>(kWidth) * kHeight)};
    for (int y = 0; y < kHeight; ++y) {
      const uint32_t row = Argb(top.Mix(bottom, static_cast<float>(y) / (kHeight - 1)));
      std::fill_n(panel.argb.begin() + static_cast<ptrdiff_t>(y) * kWidth, kWidth, row);
    }
    const Image mark = quill::art::DrawIcon(description, kMarkSize);
    const int mark_left = (kWidth - kMarkSize) / 2;
    for (int y = 0; y < kMarkSize; ++y) {
      for (int x = 0; x < kMarkSize; ++x) {
        const Colour c = At(mark, x, y);
        Blend(panel, mark_left + x, kMarkTop + y, c.WithAlpha(1), c.a);
      }
    }
    const std::string font_file = quill::art::FindFontFile(description.Text("fonts", "caption"));
    DrawCentred(panel, quill::art::Font(font_file, 19), "Torvo", kMarkTop + kMarkSize + 44, name);
    DrawCentred(panel, quill::art::Font(font_file, 23), "Quillfern", kMarkTop + kMarkSize + 72, accent);
    DrawCentred(panel, quill::art::Font(font_file, 12), argv[2], kMarkTop + kMarkSize + 100,
                name.WithAlpha(0.55f));
    quill::art::WriteFile(argv[3], quill::art::EncodeBmp(panel));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "generate_setup_panel: %s\n", error.what());
    return 1;
  }
  return 0;
}
