// The skin at run time: the generated bitmaps loaded once from the program's resources, drawn
// in nine parts with magenta transparent; the fonts of the text and of the captions (the
// embedded display font, loaded with AddFontMemResourceEx); the window's DPI looked up at run
// time; and a paint buffer that draws into a memory DC and blits once.
#pragma once
#include <windows.h>

#include <map>
#include <tuple>

#include "artwork/skin/skin_ids.h"
#include "winsupport/handles.h"

namespace quill::kit::win {

// The window's DPI (GetDpiForWindow where the system has it, else the screen's).
int WindowDpi(HWND hwnd);
inline int Scale(int pixels, int dpi) { return MulDiv(pixels, dpi, 96); }

class Skin {
 public:
  static Skin& Get();  // the calling thread's skin

  HBITMAP Bitmap(int id);  // null when the program holds no such resource
  // A box bitmap with `slice` pixels of corner drawn unstretched (scaled to the DPI), its edges
  // and middle stretched over `rect`; magenta pixels are left out.
  void DrawBox(HDC dc, int id, int slice, const RECT& rect, int dpi = 96);
  // A bitmap at its size (scaled to the DPI), magenta left out, centred in `rect`.
  void DrawCentred(HDC dc, int id, const RECT& rect, int dpi = 96);

  // Fonts by pixel size at 96 DPI; kept until Release.
  HFONT TextFont(int dpi, bool bold = false, int size = skin::kTextSize);
  HFONT CaptionFont(int dpi, int size = skin::kCaptionSize);
  bool caption_font_embedded() const { return caption_font_ != nullptr; }
  // The brush behind the text of edit fields.
  HBRUSH FieldBrush();

  // Frees every bitmap, font and the embedded font (tests count GDI objects around it).
  void Release();

 private:
  HFONT FontOf(const wchar_t* face, int pixels, bool bold);

  std::map<int, quill::win::Bitmap> bitmaps_;
  std::map<std::tuple<const wchar_t*, int, bool>, quill::win::Font> fonts_;
  quill::win::Brush field_brush_;
  HANDLE caption_font_ = nullptr;
  bool caption_tried_ = false;
};

// The masked drawing: `source` over the destination area through `mask` (both bitmaps of the
// area's size) with each colour byte weighted by the mask's byte; without a mask the source is
// stretched onto the area.
void DrawMasked(HDC dc, const RECT& area, HBITMAP source, HBITMAP mask);

// WM_PAINT into a memory bitmap of the client area, blitted in one piece when it goes.
class PaintBuffer {
 public:
  explicit PaintBuffer(HWND hwnd);
  ~PaintBuffer();
  PaintBuffer(const PaintBuffer&) = delete;
  PaintBuffer& operator=(const PaintBuffer&) = delete;

  HDC dc() const { return memory_.Get() ? memory_.Get() : paint_.hdc; }
  const RECT& client() const { return client_; }

 private:
  HWND hwnd_;
  PAINTSTRUCT paint_{};
  RECT client_{};
  quill::win::MemoryDc memory_;
  quill::win::Bitmap bitmap_;
  HGDIOBJ previous_ = nullptr;
};

// The answer to WM_CTLCOLOREDIT for an edit field of the kit: its text and background colours
// set on the DC, the field brush returned.
LRESULT EditFieldColours(WPARAM dc);

// A rectangle filled with one colour.
void FillColour(HDC dc, const RECT& rect, COLORREF colour);

// A one-pixel outline of a rectangle in one colour.
void FrameColour(HDC dc, const RECT& rect, COLORREF colour);

// The background of a skinned top-level window: magenta (a hole under the colour key) around
// the frame box, the title band of `title_height` pixels over its top, and the title in the
// caption font from `title_left`.
void PaintWindowBackground(HDC dc, const RECT& client, int title_height, int title_left, const wchar_t* title,
                           int dpi);

// Text in one colour with a transparent background, in `font`.
void DrawTextIn(HDC dc, const wchar_t* text, int length, RECT rect, HFONT font, COLORREF colour, UINT format);
int TextWidth(HDC dc, HFONT font, const wchar_t* text, int length);

}  // namespace quill::kit::win
