#include "configurator/kit/win/skin.h"

#include <vector>

#include "configurator/kit/masked_blend.h"

namespace quill::kit::win {

namespace {

constexpr COLORREF kKey = RGB(255, 0, 255);

}  // namespace

int WindowDpi(HWND hwnd) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static const auto get_dpi = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (get_dpi && hwnd) {
    if (const UINT dpi = get_dpi(hwnd)) return static_cast<int>(dpi);
  }
  const quill::win::WindowDc screen(nullptr);
  const int dpi = screen ? GetDeviceCaps(screen.Get(), LOGPIXELSY) : 96;
  return dpi > 0 ? dpi : 96;
}

Skin& Skin::Get() {
  // One per thread: a window shown from a thread of its own (the waiting box) never selects a
  // bitmap another thread may have selected into its DC at the same moment.
  static thread_local Skin skin;
  return skin;
}

HBITMAP Skin::Bitmap(int id) {
  auto it = bitmaps_.find(id);
  if (it == bitmaps_.end()) {
    HANDLE image = LoadImageW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION);
    it = bitmaps_.emplace(id, quill::win::Bitmap(static_cast<HBITMAP>(image))).first;
  }
  return it->second.Get();
}

void Skin::DrawBox(HDC dc, int id, int slice, const RECT& r, int dpi) {
  HBITMAP bitmap = Bitmap(id);
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return;
  const quill::win::MemoryDc source(CreateCompatibleDC(dc));
  const quill::win::SelectedObject selected(source.Get(), bitmap);
  const int w = r.right - r.left, h = r.bottom - r.top;
  // Corner sizes on screen: scaled, but never more than half the area.
  const int cx = std::min(Scale(slice, dpi), w / 2), cy = std::min(Scale(slice, dpi), h / 2);
  const int sx[4] = {0, slice, info.bmWidth - slice, info.bmWidth};
  const int sy[4] = {0, slice, info.bmHeight - slice, info.bmHeight};
  int dx[4] = {r.left, r.left + cx, r.right - cx, r.right};
  int dy[4] = {r.top, r.top + cy, r.bottom - cy, r.bottom};
  // A bitmap of corners only (a round thumb) has no middle to stretch: its corners meet.
  if (sx[1] >= sx[2]) dx[2] = dx[1];
  if (sy[1] >= sy[2]) dy[2] = dy[1];
  for (int row = 0; row < 3; ++row) {
    for (int col = 0; col < 3; ++col) {
      const int dw = dx[col + 1] - dx[col], dh = dy[row + 1] - dy[row];
      const int sw = sx[col + 1] - sx[col], sh = sy[row + 1] - sy[row];
      if (dw <= 0 || dh <= 0 || sw <= 0 || sh <= 0) continue;
      TransparentBlt(dc, dx[col], dy[row], dw, dh, source.Get(), sx[col], sy[row], sw, sh, kKey);
    }
  }
}

void Skin::DrawCentred(HDC dc, int id, const RECT& r, int dpi) {
  HBITMAP bitmap = Bitmap(id);
  BITMAP info{};
  if (!bitmap || !GetObjectW(bitmap, sizeof info, &info)) return;
  const quill::win::MemoryDc source(CreateCompatibleDC(dc));
  const quill::win::SelectedObject selected(source.Get(), bitmap);
  const int w = Scale(info.bmWidth, dpi), h = Scale(info.bmHeight, dpi);
  const int x = (r.left + r.right - w) / 2, y = (r.top + r.bottom - h) / 2;
  TransparentBlt(dc, x, y, w, h, source.Get(), 0, 0, info.bmWidth, info.bmHeight, kKey);
}

HFONT Skin::FontOf(const wchar_t* face, int pixels, bool bold) {
  const auto key = std::make_tuple(face, pixels, bold);
  auto it = fonts_.find(key);
  if (it == fonts_.end()) {
    LOGFONTW lf{};
    lf.lfHeight = -pixels;
    lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
    lf.lfQuality = CLEARTYPE_QUALITY;
    lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
    it = fonts_.emplace(key, quill::win::Font(CreateFontIndirectW(&lf))).first;
  }
  return it->second.Get();
}

HFONT Skin::TextFont(int dpi, bool bold, int size) { return FontOf(skin::kTextFace, Scale(size, dpi), bold); }

HFONT Skin::CaptionFont(int dpi, int size) {
  if (!caption_tried_) {
    caption_tried_ = true;
    const HMODULE module = GetModuleHandleW(nullptr);
    if (HRSRC found = FindResourceW(module, MAKEINTRESOURCEW(skin::kCaptionFontResource), RT_FONT)) {
      const HGLOBAL loaded = LoadResource(module, found);
      void* bytes = loaded ? LockResource(loaded) : nullptr;
      DWORD count = 0;
      if (bytes) caption_font_ = AddFontMemResourceEx(bytes, SizeofResource(module, found), nullptr, &count);
    }
  }
  // Without the embedded font the system picks a near one by the name.
  return FontOf(skin::kCaptionFace, Scale(size, dpi), true);
}

HBRUSH Skin::FieldBrush() {
  if (!field_brush_) field_brush_.Reset(CreateSolidBrush(skin::kColourField));
  return field_brush_.Get();
}

void Skin::Release() {
  field_brush_.Reset();
  fonts_.clear();
  bitmaps_.clear();
  if (caption_font_) RemoveFontMemResourceEx(caption_font_);
  caption_font_ = nullptr;
  caption_tried_ = false;
}

void DrawMasked(HDC dc, const RECT& area, HBITMAP source, HBITMAP mask) {
  const int w = area.right - area.left, h = area.bottom - area.top;
  if (w <= 0 || h <= 0 || !source) return;
  const quill::win::MemoryDc memory(CreateCompatibleDC(dc));
  if (!mask) {
    BITMAP info{};
    GetObjectW(source, sizeof info, &info);
    const quill::win::SelectedObject selected(memory.Get(), source);
    StretchBlt(dc, area.left, area.top, w, h, memory.Get(), 0, 0, info.bmWidth, info.bmHeight, SRCCOPY);
    return;
  }
  // 32-bit top-down copies of the destination, the source and the mask.
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(BITMAPINFOHEADER);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  const size_t count = static_cast<size_t>(w) * h;
  std::vector<uint32_t> destination(count), source_pixels(count), mask_pixels(count);
  {
    const quill::win::Bitmap copy(CreateCompatibleBitmap(dc, w, h));
    const quill::win::SelectedObject selected(memory.Get(), copy.Get());
    BitBlt(memory.Get(), 0, 0, w, h, dc, area.left, area.top, SRCCOPY);
    GetDIBits(memory.Get(), copy.Get(), 0, h, destination.data(), &bi, DIB_RGB_COLORS);
  }
  GetDIBits(memory.Get(), source, 0, h, source_pixels.data(), &bi, DIB_RGB_COLORS);
  GetDIBits(memory.Get(), mask, 0, h, mask_pixels.data(), &bi, DIB_RGB_COLORS);
  BlendThroughMask(destination.data(), source_pixels.data(), mask_pixels.data(), count);
  SetDIBitsToDevice(dc, area.left, area.top, w, h, 0, 0, 0, h, destination.data(), &bi, DIB_RGB_COLORS);
}

PaintBuffer::PaintBuffer(HWND hwnd) : hwnd_(hwnd) {
  BeginPaint(hwnd, &paint_);
  GetClientRect(hwnd, &client_);
  const int w = std::max<LONG>(1, client_.right), h = std::max<LONG>(1, client_.bottom);
  memory_.Reset(CreateCompatibleDC(paint_.hdc));
  bitmap_.Reset(CreateCompatibleBitmap(paint_.hdc, w, h));
  if (memory_ && bitmap_) {
    previous_ = SelectObject(memory_.Get(), bitmap_.Get());
  } else {
    memory_.Reset();
  }
}

PaintBuffer::~PaintBuffer() {
  if (memory_) {
    BitBlt(paint_.hdc, 0, 0, client_.right, client_.bottom, memory_.Get(), 0, 0, SRCCOPY);
    SelectObject(memory_.Get(), previous_);
  }
  EndPaint(hwnd_, &paint_);
}

LRESULT EditFieldColours(WPARAM wparam) {
  HDC dc = reinterpret_cast<HDC>(wparam);
  SetTextColor(dc, skin::kColourText);
  SetBkColor(dc, skin::kColourField);
  return reinterpret_cast<LRESULT>(Skin::Get().FieldBrush());
}

void FillColour(HDC dc, const RECT& rect, COLORREF colour) {
  const quill::win::Brush brush(CreateSolidBrush(colour));
  FillRect(dc, &rect, brush.Get());
}

void FrameColour(HDC dc, const RECT& rect, COLORREF colour) {
  const quill::win::Pen pen(CreatePen(PS_SOLID, 1, colour));
  const quill::win::SelectedObject selected_pen(dc, pen.Get());
  const quill::win::SelectedObject selected_brush(dc, GetStockObject(NULL_BRUSH));
  Rectangle(dc, rect.left, rect.top, rect.right, rect.bottom);
}

void PaintWindowBackground(HDC dc, const RECT& r, int title_height, int title_left, const wchar_t* title, int dpi) {
  Skin& skin = Skin::Get();
  FillColour(dc, r, RGB(255, 0, 255));
  skin.DrawBox(dc, skin::kDialogFrame, skin::kDialogFrameSlice, r, dpi);
  skin.DrawBox(dc, skin::kDialogTitle, skin::kDialogTitleSlice, RECT{0, 0, r.right, title_height}, dpi);
  // The text sits above the band's accent line.
  const RECT text{title_left, 0, r.right - title_left, title_height - Scale(2, dpi)};
  DrawTextIn(dc, title, -1, text, skin.CaptionFont(dpi), skin::kColourText,
             DT_LEFT | DT_VCENTER | DT_SINGLELINE | DT_END_ELLIPSIS);
}

void DrawTextIn(HDC dc, const wchar_t* text, int length, RECT rect, HFONT font, COLORREF colour, UINT format) {
  const quill::win::SelectedObject selected(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, colour);
  DrawTextW(dc, text, length, &rect, format | DT_NOPREFIX);
}

int TextWidth(HDC dc, HFONT font, const wchar_t* text, int length) {
  const quill::win::SelectedObject selected(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, text, length, &size);
  return size.cx;
}

}  // namespace quill::kit::win
