// A display's text drawn by the system's font engine into a coverage mask (anti-aliased
// grey levels), with the width of the whole text including its blanks.
#pragma once
#include <string>

#include "osd/display_style.h"
#include "osd/panel_picture.h"

namespace quill::osd {

// Fills content.text and content.text_box_width; with style.trim_blanks the mask holds the
// text without its leading and trailing blanks and the box keeps the full width.
void DrawTextMask(const std::wstring& text, const DisplayStyle& style, int dpi, PanelContent& content);

}  // namespace quill::osd
