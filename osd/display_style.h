// What a display looks like and where it sits: the attributes its users set by number, with
// the values that apply until they do. osd/README.md lists the numbers.
#pragma once
#include <cstdint>
#include <map>
#include <string>

namespace quill::osd {

enum AttributeNumber : int {
  kAnchorX = 1,        // right edge, percent of the work area's width
  kAnchorY = 2,        // bottom edge, percent of the work area's height
  kPanelOpacity = 3,   // 0 to 255
  kAccentColour = 4,   // 0xAARRGGBB: bar and rim of the panel
  kGlowColour = 5,     // 0xAARRGGBB: halo behind the text
  kFontFace = 6,       // const char*, ANSI
  kFontPoints = 7,     // points at the monitor's DPI
  kTextColour = 8,     // 0xAARRGGBB
  kTextAlign = 9,      // 0 centre, 1 left, 2 right
  kTrimBlanks = 10,    // 1: leading and trailing blanks only widen the panel
  kPeakOpacity = 11,   // 0 to 255: the whole display once faded in
};

enum class ValueKind { Number, Colour, Text };
ValueKind KindOfAttribute(int attribute);

enum class TextAlign { Centre = 0, Left = 1, Right = 2 };

struct DisplayStyle {
  int anchor_x = 98;
  int anchor_y = 95;
  int panel_opacity = 160;
  uint32_t accent = 0xFF00AA00;
  uint32_t glow = 0xFF00FF00;
  uint32_t text = 0xFFF4F6F8;
  std::string font_face = "Arial";  // ANSI bytes, at most kMaxFontFace of them
  int font_points = 24;
  TextAlign align = TextAlign::Centre;
  bool trim_blanks = false;
  int peak_opacity = 235;
  std::map<int, intptr_t> others;  // attributes without a meaning here: kept, not used
};

// A font face longer than this (the system's limit less its terminator) is cut to it.
constexpr size_t kMaxFontFace = 31;

// Stores a number or colour attribute, clamping a value out of its range into it; unknown
// numbers go to `others`. kFontFace goes through SetFontFace.
void ApplyAttribute(DisplayStyle& style, int attribute, intptr_t value);
// The face name cut at kMaxFontFace bytes; null keeps the face as it is.
void SetFontFace(DisplayStyle& style, const char* face);

}  // namespace quill::osd
