// One on-screen display: a top-most, layered, click-through tool window of the thread that
// created it, never activated, drawn with per-pixel alpha and faded in and out by a timer of
// that thread's message loop. Every call returns at once.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "osd/display_style.h"
#include "osd/osd_api.h"
#include "osd/panel_picture.h"
#include "osd/placement.h"
#include "osd/win/argb_surface.h"

namespace quill::osd {

class OsdDisplay final : public IOsdDisplay {
 public:
  // Null when the window cannot be made. The display lives until the process ends.
  static OsdDisplay* Create(const char* name);
  // The displays of the process, in the order they were made.
  static const std::vector<OsdDisplay*>& All();

  long Show() override;
  long Hide() override;
  long IsVisible() override;
  long Reserved3() override;
  long Reserved4() override;
  long Reserved5() override;
  long SetAttribute(int attribute, intptr_t value) override;
  long Reserved7() override;
  long Reserved8() override;
  long SetText(const char* text) override;
  long SetTopMost(int on) override;
  long Reserved11() override;
  long SetBitmap(HBITMAP bitmap, uint32_t colourKey) override;
  long SetOffset(int dx, int dy) override;
  long Reserved14() override;
  long SetClickThrough(int on) override;

  int number() const { return number_; }

 private:
  enum class Fade { Hidden, In, Shown, Out };

  OsdDisplay(int number, std::string name) : number_(number), name_(std::move(name)) {}
  static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT OnMessage(UINT message, WPARAM wparam, LPARAM lparam);

  void MakeContent(int dpi, int max_width);  // the text's mask for the DPI and widest content
  PanelRequest Request() const;
  bool Render();              // a new picture and place; false when there is nothing to show
  void Present();             // the picture at the current fade level
  void StartFade(Fade direction);
  void Refresh();             // a shown display follows a change of its content or style soon
  void Redraw();
  void HideNow();             // hidden at once, without a fade
  void FadeStep();
  long Unused(const char* method) const;  // the reserved positions: logged, nothing else

  int number_;
  std::string name_;
  HWND window_ = nullptr;
  DisplayStyle style_;
  std::wstring text_;
  PanelContent content_;       // the text's mask or the copied bitmap
  int content_dpi_ = 0;        // DPI the text mask was drawn for; 0: to be drawn
  int content_limit_ = 0;      // and the widest content it had to fit
  int offset_x_ = 0, offset_y_ = 0;
  bool top_most_ = true;
  bool shown_ = false;         // between Show and Hide
  bool refresh_due_ = false;
  Fade fade_ = Fade::Hidden;
  float level_ = 0;            // 0 to 1 of the peak opacity
  float fade_from_ = 0;
  ULONGLONG fade_start_ = 0;
  win::GdiObject<HBITMAP> picture_; // the drawn display while it is on the screen
  SIZE picture_size_{};
  POINT picture_place_{};
};

}  // namespace quill::osd
