// Build-time generator of the configuration application's skin.
//   generate_skin <skin.txt> <output folder> <rc fragment> <header>
// Writes one bitmap per box and glyph and a copy of the caption font into the folder, a
// resource-script fragment naming them by identifier, and a header with the identifiers, the
// corner sizes, the palette and the font names for the controls. A wrong description stops
// the build with its message.
#include <cstdio>
#include <exception>
#include <sstream>
#include <string>

#include "artwork/description.h"
#include "artwork/image_files.h"
#include "artwork/skin_artwork.h"

namespace {

void WriteText(const std::string& path, const std::string& text) {
  quill::art::WriteFile(path, std::vector<uint8_t>(text.begin(), text.end()));
}

std::string Hex(uint32_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "0x%06X", value);
  return buffer;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 5) {
    std::fprintf(stderr, "usage: generate_skin <description> <output folder> <rc fragment> <header>\n");
    return 2;
  }
  const std::string source = argv[1], folder = argv[2], fragment = argv[3], header = argv[4];
  try {
    const auto description = quill::art::Description::Parse(quill::art::ReadFile(source), source);
    const quill::art::Skin skin = quill::art::DrawSkin(description);

    std::ostringstream rc, h;
    rc << "// Generated from " << source << " by generate_skin: do not edit.\n";
    h << "// Generated from " << source << " by generate_skin: do not edit.\n"
      << "// Bitmap resources of the skin (magenta is transparent), the corner part of each box\n"
      << "// (drawn unstretched), the palette as COLORREF values and the fonts.\n"
      << "#pragma once\n\nnamespace quill::skin {\n\n";
    for (const auto& bitmap : skin.bitmaps) {
      const std::string path = folder + "/" + bitmap.name + ".bmp";
      quill::art::WriteFile(path, quill::art::EncodeBmp(bitmap.image));
      rc << bitmap.resource_id << " BITMAP " << quill::art::RcString(path) << "\n";
      const std::string name = quill::art::CamelName(bitmap.name);
      h << "constexpr int k" << name << " = " << bitmap.resource_id << ";\n";
      if (bitmap.slice > 0) h << "constexpr int k" << name << "Slice = " << bitmap.slice << ";\n";
      h << "constexpr int k" << name << "Width = " << bitmap.image.width << ", k" << name
        << "Height = " << bitmap.image.height << ";\n";
    }
    h << "\n";
    for (const auto& colour : skin.colours) {
      const uint32_t colorref = (colour.rgb & 0xFF) << 16 | (colour.rgb & 0xFF00) | (colour.rgb >> 16 & 0xFF);
      h << "constexpr unsigned long kColour" << quill::art::CamelName(colour.name) << " = " << Hex(colorref)
        << ";  // #" << Hex(colour.rgb).substr(2) << "\n";
    }
    const std::string font_copy = folder + "/caption_font.ttf";
    const std::string font = quill::art::ReadFile(skin.caption_font_file);
    WriteText(font_copy, font);
    rc << skin.caption_font_resource << " 8 " << quill::art::RcString(font_copy) << "  // RT_FONT\n";
    h << "\n// Font resource (RT_FONT) of the captions, loaded with AddFontMemResourceEx.\n"
      << "constexpr int kCaptionFontResource = " << skin.caption_font_resource << ";\n"
      << "constexpr const wchar_t* kCaptionFace = L\"" << skin.caption_face << "\";\n"
      << "constexpr int kCaptionSize = " << skin.caption_size << ";\n"
      << "constexpr const wchar_t* kTextFace = L\"" << skin.text_face << "\";\n"
      << "constexpr int kTextSize = " << skin.text_size << ";\n"
      << "\n}  // namespace quill::skin\n";
    WriteText(fragment, rc.str());
    WriteText(header, h.str());
  } catch (const std::exception& error) {
    std::fprintf(stderr, "generate_skin: error: %s\n", error.what());
    return 1;
  }
  return 0;
}
