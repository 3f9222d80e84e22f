// Layout of a skinned message box: the message wrapped to the box's width, an optional edit
// field, and a row of buttons, each button either placed by the caller or laid out centred.
// Sizes are pixels; text is measured by the caller's function (the window's font).
#pragma once
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace quill::kit {

using MeasureText = std::function<int(std::u16string_view)>;

// Lines of `text` no wider than `width`: broken at blanks, at line ends ("\n", "\r\n"), and
// inside a word only when the word alone is wider (never inside a surrogate pair). Blanks at a
// break are dropped.
std::vector<std::u16string> WrapText(std::u16string_view text, int width, const MeasureText& measure);

// At most `limit` UTF-16 units of `text`, cut before a character that would not fit whole.
std::u16string LimitText(std::u16string_view text, size_t limit);

struct Box {
  int x = 0, y = 0, width = 0, height = 0;
  int right() const { return x + width; }
  int bottom() const { return y + height; }
};

struct MessageButton {
  std::u16string text;
  int result = 0;
  int x = -1, y = -1;  // -1: laid out in the row
};

struct MessageMetrics {
  int min_width = 300, max_width = 460;  // the box
  int margin = 18;                       // inside the frame, all sides
  int title_height = 34;                 // the band with the title
  int line_height = 18;
  int edit_height = 26, edit_gap = 12;
  int button_height = 28, button_min_width = 88, button_padding = 20, button_gap = 10;
  int text_gap = 18;                     // between the text (or edit field) and the buttons
};

struct MessageLayout {
  int width = 0, height = 0;
  Box title;
  Box text;
  std::vector<std::u16string> lines;
  Box edit;  // empty when there is none
  std::vector<Box> buttons;
};

MessageLayout LayOutMessage(const MessageMetrics& metrics, std::u16string_view title, std::u16string_view text,
                            const std::vector<MessageButton>& buttons, bool edit, const MeasureText& measure_text,
                            const MeasureText& measure_title, const MeasureText& measure_button);

}  // namespace quill::kit
