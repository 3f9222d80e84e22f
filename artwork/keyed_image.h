// A picture made ready for a colour-keyed bitmap: partly covered pixels blended against the
// colour the image will be drawn over, uncovered pixels set to the key colour, and no covered
// pixel left equal to the key by accident.
#pragma once
#include <cstdint>

#include "artwork/canvas.h"
#include "artwork/image_files.h"

namespace quill::art {

Image KeyedImage(const Picture& picture, const Colour& behind, uint32_t key_rgb);

}  // namespace quill::art
