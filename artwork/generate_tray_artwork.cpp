// Build-time generator of the tray agent's artwork.
//   generate_tray_artwork <description> <output folder> <rc fragment>
// Writes dpi_<value>.bmp per DPI value and quillfern.ico into the folder, and a resource-script
// fragment naming them by identifier. A wrong description stops the build with its message.
#include <cstdio>
#include <exception>
#include <sstream>
#include <string>

#include "artwork/description.h"
#include "artwork/image_files.h"
#include "artwork/tray_artwork.h"

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: generate_tray_artwork <description> <output folder> <rc fragment>\n");
    return 2;
  }
  const std::string source = argv[1], folder = argv[2], fragment = argv[3];
  try {
    const auto description = quill::art::Description::Parse(quill::art::ReadFile(source), source);
    const quill::art::TrayArtwork artwork = quill::art::DrawTrayArtwork(description);

    std::ostringstream rc;
    rc << "// Generated from " << source << " by generate_tray_artwork: do not edit.\n";
    for (const auto& bitmap : artwork.bitmaps) {
      const std::string path = folder + "/dpi_" + std::to_string(bitmap.dpi) + ".bmp";
      quill::art::WriteFile(path, quill::art::EncodeBmp(bitmap.image));
      rc << bitmap.resource_id << " BITMAP " << quill::art::RcString(path) << "\n";
    }
    const std::string icon = folder + "/quillfern.ico";
    quill::art::WriteFile(icon, quill::art::EncodeIco(artwork.icon));
    rc << artwork.icon_id << " ICON " << quill::art::RcString(icon) << "\n";
    const std::string rc_text = rc.str();
    quill::art::WriteFile(fragment, std::vector<uint8_t>(rc_text.begin(), rc_text.end()));
  } catch (const std::exception& error) {
    std::fprintf(stderr, "generate_tray_artwork: error: %s\n", error.what());
    return 1;
  }
  return 0;
}
