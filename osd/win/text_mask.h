// A display's text drawn by the system's font engine into a coverage mask (anti-aliased
// grey levels), with the width of the whole text including its blanks.
#pragma once
#include <string>

#include "osd/display_style.h"
#include "osd/panel_picture.h"

namespace quill::osd {

// Fills content.text and content.text_box_width; with style.trim_blanks the mask holds the
// text without its leading and trailing blanks and the box keeps the full width. A text wider
// than `max_width` pixels is drawn in a smaller font, down to 8 points; one still wider ends in
// an ellipsis at that width.
void DrawTextMask(const std::wstring& text, const DisplayStyle& style, int dpi, int max_width, PanelContent& content);

}  // namespace quill::osd
