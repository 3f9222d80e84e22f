#include "configurator/kit/message_layout.h"

#include <algorithm>

namespace quill::kit {

namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }

// Units of the longest start of `word` (at least one character) that fits `width`.
size_t FittingPrefix(std::u16string_view word, int width, const MeasureText& measure) {
  size_t fit = 0;
  for (size_t end = 1; end <= word.size(); ++end) {
    if (end < word.size() && IsHighSurrogate(word[end - 1])) continue;  // keep pairs whole
    if (measure(word.substr(0, end)) > width) break;
    fit = end;
  }
  if (fit == 0) fit = word.size() > 1 && IsHighSurrogate(word[0]) ? 2 : 1;
  return std::min(fit, word.size());
}

void WrapParagraph(std::u16string_view paragraph, int width, const MeasureText& measure,
                   std::vector<std::u16string>& lines) {
  std::u16string line;
  size_t i = 0;
  bool any = false;
  while (i < paragraph.size()) {
    while (i < paragraph.size() && paragraph[i] == u' ') ++i;
    if (i >= paragraph.size()) break;
    size_t end = paragraph.find(u' ', i);
    if (end == std::u16string_view::npos) end = paragraph.size();
    std::u16string_view word = paragraph.substr(i, end - i);
    i = end;
    while (!word.empty()) {
      std::u16string candidate = line.empty() ? std::u16string(word) : line + u' ' + std::u16string(word);
      if (measure(candidate) <= width) {
        line = std::move(candidate);
        word = {};
      } else if (!line.empty()) {
        lines.push_back(std::move(line));
        line.clear();
        any = true;
      } else {
        const size_t fit = FittingPrefix(word, width, measure);
        lines.emplace_back(word.substr(0, fit));
        any = true;
        word.remove_prefix(fit);
      }
    }
  }
  if (!line.empty() || !any) lines.push_back(std::move(line));
}

}  // namespace

std::vector<std::u16string> WrapText(std::u16string_view text, int width, const MeasureText& measure) {
  std::vector<std::u16string> lines;
  while (true) {
    const size_t end = text.find(u'\n');
    std::u16string_view paragraph = text.substr(0, end);
    if (!paragraph.empty() && paragraph.back() == u'\r') paragraph.remove_suffix(1);
    WrapParagraph(paragraph, width, measure, lines);
    if (end == std::u16string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return lines;
}

std::u16string LimitText(std::u16string_view text, size_t limit) {
  if (text.size() <= limit) return std::u16string(text);
  size_t cut = limit;
  if (cut > 0 && IsHighSurrogate(text[cut - 1])) --cut;
  return std::u16string(text.substr(0, cut));
}

MessageLayout LayOutMessage(const MessageMetrics& m, std::u16string_view title, std::u16string_view text,
                            const std::vector<MessageButton>& buttons, bool edit, const MeasureText& measure_text,
                            const MeasureText& measure_title, const MeasureText& measure_button) {
  MessageLayout out;
  std::vector<int> widths;
  int row = 0;
  for (const MessageButton& b : buttons) {
    widths.push_back(std::max(m.button_min_width, measure_button(b.text) + 2 * m.button_padding));
    if (b.x < 0 || b.y < 0) row += widths.back() + (row > 0 ? m.button_gap : 0);
  }
  // The text decides the width within the limits; buttons and the title widen the box rather
  // than being cut.
  const int inner_max = std::max(1, m.max_width - 2 * m.margin);
  out.lines = WrapText(text, inner_max, measure_text);
  int text_width = 0;
  for (const auto& line : out.lines) text_width = std::max(text_width, measure_text(line));
  int width = std::max({m.min_width, text_width + 2 * m.margin, row + 2 * m.margin,
                        measure_title(title) + 2 * m.margin});
  if (edit) width = std::max(width, std::min(m.max_width, m.min_width + 60));
  out.width = width;
  const int inner = width - 2 * m.margin;

  out.title = {m.margin, 0, inner, m.title_height};
  out.text = {m.margin, m.title_height + m.margin, inner, static_cast<int>(out.lines.size()) * m.line_height};
  int bottom = out.text.bottom();
  if (edit) {
    out.edit = {m.margin, bottom + m.edit_gap, inner, m.edit_height};
    bottom = out.edit.bottom();
  }
  const int row_y = bottom + m.text_gap;
  int x = (width - row) / 2;
  int lowest = row_y + m.button_height;
  for (size_t i = 0; i < buttons.size(); ++i) {
    const MessageButton& b = buttons[i];
    if (b.x >= 0 && b.y >= 0) {
      out.buttons.push_back({b.x, b.y, widths[i], m.button_height});
      lowest = std::max(lowest, b.y + m.button_height);
      out.width = std::max(out.width, b.x + widths[i] + m.margin);
    } else {
      out.buttons.push_back({x, row_y, widths[i], m.button_height});
      x += widths[i] + m.button_gap;
    }
  }
  out.height = lowest + m.margin;
  return out;
}

}  // namespace quill::kit
