#include "osd/display_style.h"

#include <algorithm>
#include <cstring>

namespace quill::osd {

ValueKind KindOfAttribute(int attribute) {
  switch (attribute) {
    case kAccentColour:
    case kGlowColour:
    case kTextColour:
      return ValueKind::Colour;
    case kFontFace:
      return ValueKind::Text;
    default:
      return ValueKind::Number;
  }
}

namespace {
int Clamp(intptr_t value, int low, int high) {
  return static_cast<int>(std::clamp<intptr_t>(value, low, high));
}
}  // namespace

void ApplyAttribute(DisplayStyle& style, int attribute, intptr_t value) {
  switch (attribute) {
    case kAnchorX: style.anchor_x = Clamp(value, 0, 100); break;
    case kAnchorY: style.anchor_y = Clamp(value, 0, 100); break;
    case kPanelOpacity: style.panel_opacity = Clamp(value, 0, 255); break;
    case kAccentColour: style.accent = static_cast<uint32_t>(value); break;
    case kGlowColour: style.glow = static_cast<uint32_t>(value); break;
    case kTextColour: style.text = static_cast<uint32_t>(value); break;
    case kFontPoints: style.font_points = Clamp(value, 6, 96); break;
    case kTextAlign: style.align = static_cast<TextAlign>(value >= 0 && value <= 2 ? value : 0); break;
    case kTrimBlanks: style.trim_blanks = value != 0; break;
    case kPeakOpacity: style.peak_opacity = Clamp(value, 0, 255); break;
    case kFontFace: break;  // a pointer, not a number: SetFontFace
    default: style.others[attribute] = value; break;
  }
}

void SetFontFace(DisplayStyle& style, const char* face) {
  if (face == nullptr) return;
  size_t length = 0;
  while (length < kMaxFontFace && face[length] != '\0') ++length;
  style.font_face.assign(face, length);
}

}  // namespace quill::osd
