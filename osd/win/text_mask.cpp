#include "osd/win/text_mask.h"

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "osd/win/ansi_text.h"
#include "osd/win/argb_surface.h"

namespace quill::osd {

namespace {

constexpr int kSmallestPoints = 8;

win::GdiObject<HFONT> MakeFont(const DisplayStyle& style, int points, int dpi) {
  LOGFONTW font{};
  font.lfHeight = -MulDiv(points, dpi, 72);
  font.lfWeight = FW_BOLD;
  font.lfCharSet = DEFAULT_CHARSET;
  font.lfOutPrecision = OUT_TT_PRECIS;
  font.lfQuality = ANTIALIASED_QUALITY;
  const std::wstring face = AnsiToWide(style.font_face.c_str());
  wcsncpy(font.lfFaceName, face.c_str(), LF_FACESIZE - 1);
  return win::GdiObject<HFONT>(CreateFontIndirectW(&font));
}

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == 0x3000 || c == 0xA0; }

}  // namespace

void DrawTextMask(const std::wstring& text, const DisplayStyle& style, int dpi, int max_width, PanelContent& content) {
  content.text = {};
  content.text_box_width = 0;
  if (text.empty()) return;
  size_t first = 0, last = text.size();
  if (style.trim_blanks) {
    while (first < last && IsBlank(text[first])) ++first;
    while (last > first && IsBlank(text[last - 1])) --last;
  }
  const std::wstring drawn = text.substr(first, last - first);

  win::MemoryDc dc(CreateCompatibleDC(nullptr));
  if (!dc) return;
  TEXTMETRICW metrics{};
  SIZE whole{}, part{};
  win::GdiObject<HFONT> font;
  // The style's size, or a smaller one that fits the width.
  for (int points = style.font_points;;) {
    font = MakeFont(style, points, dpi);
    if (!font) return;
    win::SelectedObject measuring(dc.Get(), font.Get());
    GetTextMetricsW(dc.Get(), &metrics);
    GetTextExtentPoint32W(dc.Get(), text.c_str(), static_cast<int>(text.size()), &whole);
    GetTextExtentPoint32W(dc.Get(), drawn.c_str(), static_cast<int>(drawn.size()), &part);
    if (whole.cx <= max_width || points <= kSmallestPoints) break;
    points = std::max(kSmallestPoints, std::min(points - 1, static_cast<int>(static_cast<long long>(points) * max_width / whole.cx)));
  }
  win::SelectedObject font_selection(dc.Get(), font.Get());
  // Bold and italic glyphs may reach past their advance: room for the overhang.
  const int overhang = std::max<int>(metrics.tmOverhang, metrics.tmAveCharWidth / 4);
  whole.cx = std::min<LONG>(whole.cx, max_width);
  part.cx = std::min<LONG>(part.cx, std::max(0, max_width - overhang * 2));
  content.text_box_width = whole.cx;
  if (drawn.empty()) return;

  const int width = part.cx + overhang * 2, height = metrics.tmHeight;
  void* bits = nullptr;
  win::GdiObject<HBITMAP> surface = MakeArgbSurface(width, height, &bits);
  if (!surface || !bits) return;
  std::memset(bits, 0, static_cast<size_t>(width) * height * 4);
  {
    win::SelectedObject surface_selection(dc.Get(), surface.Get());
    SetBkMode(dc.Get(), TRANSPARENT);
    SetTextColor(dc.Get(), RGB(255, 255, 255));
    RECT box{overhang, 0, overhang + part.cx, height};
    DrawTextW(dc.Get(), drawn.c_str(), static_cast<int>(drawn.size()), &box,
              DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS | DT_LEFT | DT_TOP);
    GdiFlush();
  }
  art::Mask mask(width, height);
  const auto* pixels = static_cast<const uint32_t*>(bits);
  for (int i = 0; i < width * height; ++i) {
    const uint32_t p = pixels[i];
    const uint32_t level = std::max({(p >> 16) & 0xFF, (p >> 8) & 0xFF, p & 0xFF});
    mask.value[static_cast<size_t>(i)] = level / 255.f;
  }
  content.text = std::move(mask);
  content.text_box_width = std::max<int>(whole.cx, width);
}

}  // namespace quill::osd
