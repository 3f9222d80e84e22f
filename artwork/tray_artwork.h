// The tray agent's generated artwork: the DPI bitmaps shown by the on-screen display and the
// mark used as notification and application icon, from a description (tray_artwork.txt).
#pragma once
#include <string>
#include <vector>

#include "artwork/description.h"
#include "artwork/image_files.h"

namespace quill::art {

struct DpiBitmap {
  int resource_id = 0;
  int dpi = 0;
  Image image;
};

struct TrayArtwork {
  std::vector<DpiBitmap> bitmaps;
  int icon_id = 0;
  std::vector<Image> icon;  // one image per size
};

// Throws DescriptionError for a description that is wrong or whose texts do not fit, and
// std::runtime_error when a font is missing.
TrayArtwork DrawTrayArtwork(const Description& description);

// The mark of the [icon] section at one size (also drawn large for the installer's panel).
Image DrawIcon(const Description& description, int size);

}  // namespace quill::art
