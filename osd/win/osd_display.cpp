#include "osd/win/osd_display.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "osd/call_log.h"
#include "osd/win/ansi_text.h"
#include "osd/win/call_log_file.h"
#include "osd/win/monitor_info.h"
#include "osd/win/text_mask.h"

namespace quill::osd {

namespace {

constexpr wchar_t kWindowClass[] = L"QuillfernOsdWindow";
constexpr UINT_PTR kFadeTimer = 1;
constexpr UINT_PTR kRefreshTimer = 2;  // a change to a shown display, drawn once the caller is done
constexpr UINT kFrameMs = 15;
constexpr ULONGLONG kFadeInMs = 140;
constexpr ULONGLONG kFadeOutMs = 260;
constexpr int kMaxBitmapSide = 4096;
constexpr int kGapAt96Dpi = 8;  // pixels between neighbouring displays

HINSTANCE ThisModule() {
  HMODULE module = nullptr;
  GetModuleHandleExW(GET_MODULE_HANDLE_EX_FLAG_FROM_ADDRESS | GET_MODULE_HANDLE_EX_FLAG_UNCHANGED_REFCOUNT,
                     reinterpret_cast<LPCWSTR>(&ThisModule), &module);
  return module;
}

// Runs a method's body; no exception leaves the component (only an allocation can fail).
template <typename Body>
long Guarded(Body body) {
  try {
    return body();
  } catch (...) {
    return -1;
  }
}

std::vector<OsdDisplay*>& Registry() {
  static auto* displays = new std::vector<OsdDisplay*>;  // kept until the process ends
  return *displays;
}

float Ease(float t) { return t * t * (3 - 2 * t); }

}  // namespace

const std::vector<OsdDisplay*>& OsdDisplay::All() { return Registry(); }

OsdDisplay* OsdDisplay::Create(const char* name) {
  static const bool registered = [] {
    WNDCLASSEXW window_class{};
    window_class.cbSize = sizeof window_class;
    window_class.lpfnWndProc = &OsdDisplay::WindowProc;
    window_class.hInstance = ThisModule();
    window_class.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    window_class.lpszClassName = kWindowClass;
    return RegisterClassExW(&window_class) != 0 || GetLastError() == ERROR_CLASS_ALREADY_EXISTS;
  }();
  if (!registered) return nullptr;

  const int number = static_cast<int>(Registry().size()) + 1;
  auto* display = new (std::nothrow) OsdDisplay(number, name ? WideToUtf8(AnsiToWide(name)) : std::string());
  if (!display) return nullptr;
  const std::wstring title = L"Quillfern OSD d" + std::to_wstring(number);
  const DWORD ex_style = WS_EX_LAYERED | WS_EX_TOPMOST | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE | WS_EX_TRANSPARENT;
  HWND window = CreateWindowExW(ex_style, kWindowClass, title.c_str(), WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                ThisModule(), display);
  if (!window) {
    delete display;
    return nullptr;
  }
  Registry().push_back(display);
  return display;
}

LRESULT CALLBACK OsdDisplay::WindowProc(HWND window, UINT message, WPARAM wparam, LPARAM lparam) {
  if (message == WM_NCCREATE) {
    auto* display = static_cast<OsdDisplay*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    display->window_ = window;
    SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(display));
  }
  auto* display = reinterpret_cast<OsdDisplay*>(GetWindowLongPtrW(window, GWLP_USERDATA));
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(window, GWLP_USERDATA, 0);
    if (display) display->window_ = nullptr;
    display = nullptr;
  }
  if (display) {
    try {
      return display->OnMessage(message, wparam, lparam);
    } catch (...) {
      return 0;
    }
  }
  return DefWindowProcW(window, message, wparam, lparam);
}

LRESULT OsdDisplay::OnMessage(UINT message, WPARAM wparam, LPARAM lparam) {
  switch (message) {
    case WM_TIMER:
      if (wparam == kFadeTimer) FadeStep();
      if (wparam == kRefreshTimer) {
        KillTimer(window_, kRefreshTimer);
        if (refresh_due_) Redraw();
      }
      return 0;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    default:
      return DefWindowProcW(window_, message, wparam, lparam);
  }
}

void OsdDisplay::MakeContent(int dpi, int max_width) {
  if (content_.has_bitmap() || (content_dpi_ == dpi && content_limit_ == max_width)) return;
  DrawTextMask(text_, style_, dpi, max_width, content_);
  content_dpi_ = dpi;
  content_limit_ = max_width;
}

PanelRequest OsdDisplay::Request() const {
  PanelRequest request;
  request.anchor_x = style_.anchor_x;
  request.anchor_y = style_.anchor_y;
  request.offset_x = offset_x_;
  request.offset_y = offset_y_;
  return request;
}

bool OsdDisplay::Render() {
  if (!window_) return false;
  const MonitorPlace place = MonitorUnderPointer();
  const double scale = place.dpi / 96.0;
  const int gap = static_cast<int>(kGapAt96Dpi * scale + 0.5);
  // A text never makes a display wider than the work area.
  const int max_width = MaxContentWidth(place.work_area.right - place.work_area.left - 2 * gap, scale);

  // Every display of the process takes part in the placing, so that none overlaps another.
  std::vector<PanelRequest> requests;
  size_t self = 0;
  for (OsdDisplay* display : Registry()) {
    display->MakeContent(place.dpi, max_width);
    PanelRequest request = display->Request();
    PanelSize(display->content_, scale, request.width, request.height);
    if (display == this) self = requests.size();
    requests.push_back(request);
  }

  PanelPicture picture = DrawPanel(style_, content_, scale);
  if (picture.width <= 0 || picture.height <= 0) return false;
  requests[self].width = picture.width;
  requests[self].height = picture.height;
  const Rect work{place.work_area.left, place.work_area.top, place.work_area.right, place.work_area.bottom};
  const Rect rect = PlacePanel(work, requests, self, gap);

  void* bits = nullptr;
  win::GdiObject<HBITMAP> surface = MakeArgbSurface(picture.width, picture.height, &bits);
  if (!surface || !bits) return false;
  std::memcpy(bits, picture.argb.data(), picture.argb.size() * sizeof(uint32_t));
  const bool resized = picture.width != picture_size_.cx || picture.height != picture_size_.cy;
  picture_ = std::move(surface);
  picture_size_ = {picture.width, picture.height};
  picture_place_ = {rect.left, rect.top};
  // The displays shown beside or above this one were placed around its old size.
  if (resized) {
    for (OsdDisplay* other : Registry()) {
      if (other != this) other->Refresh();
    }
  }
  return true;
}

void OsdDisplay::Present() {
  if (!picture_ || !window_) return;
  win::MemoryDc dc(CreateCompatibleDC(nullptr));
  if (!dc) return;
  win::SelectedObject selection(dc.Get(), picture_.Get());
  BLENDFUNCTION blend{};
  blend.BlendOp = AC_SRC_OVER;
  blend.SourceConstantAlpha = static_cast<BYTE>(std::clamp(style_.peak_opacity * level_ + 0.5f, 0.f, 255.f));
  blend.AlphaFormat = AC_SRC_ALPHA;
  POINT origin{0, 0};
  UpdateLayeredWindow(window_, nullptr, &picture_place_, &picture_size_, dc.Get(), &origin, 0, &blend, ULW_ALPHA);
}

void OsdDisplay::StartFade(Fade direction) {
  fade_ = direction;
  fade_from_ = level_;
  fade_start_ = GetTickCount64();
  SetTimer(window_, kFadeTimer, kFrameMs, nullptr);
}

void OsdDisplay::FadeStep() {
  if (fade_ != Fade::In && fade_ != Fade::Out) {
    KillTimer(window_, kFadeTimer);
    return;
  }
  const bool in = fade_ == Fade::In;
  const float target = in ? 1.f : 0.f;
  // A partial fade takes its share of the whole time.
  const float span = std::max(0.05f, std::abs(target - fade_from_));
  const float duration = (in ? kFadeInMs : kFadeOutMs) * span;
  const float t = std::min(1.f, (GetTickCount64() - fade_start_) / duration);
  level_ = fade_from_ + (target - fade_from_) * Ease(t);
  if (t >= 1.f) {
    KillTimer(window_, kFadeTimer);
    level_ = target;
    fade_ = in ? Fade::Shown : Fade::Hidden;
  }
  if (fade_ == Fade::Hidden) {
    ShowWindow(window_, SW_HIDE);
    picture_.Reset();
  } else {
    Present();
  }
}

void OsdDisplay::Refresh() {
  if (!shown_ || fade_ == Fade::Hidden || fade_ == Fade::Out) return;
  // Callers change several things in a row (a bitmap, then Show): draw once, when they are done.
  refresh_due_ = true;
  SetTimer(window_, kRefreshTimer, 0, nullptr);
}

void OsdDisplay::Redraw() {
  refresh_due_ = false;
  if (!shown_ || fade_ == Fade::Hidden || fade_ == Fade::Out) return;
  if (Render()) {
    Present();
  } else {
    HideNow();
  }
}

void OsdDisplay::HideNow() {
  KillTimer(window_, kFadeTimer);
  refresh_due_ = false;
  ShowWindow(window_, SW_HIDE);
  picture_.Reset();
  fade_ = Fade::Hidden;
  level_ = 0;
}

long OsdDisplay::Show() {
  WriteLogLine(LogLine(DisplaySubject(number_), "Show"));
  return Guarded([&] {
    shown_ = true;
    refresh_due_ = false;
    if (!Render()) {  // nothing to show: no text and no bitmap
      HideNow();
      return 0L;
    }
    if (fade_ == Fade::Hidden) {
      level_ = 0;
      Present();
      ShowWindow(window_, SW_SHOWNOACTIVATE);
    } else {
      Present();
    }
    SetWindowPos(window_, top_most_ ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
    if (fade_ != Fade::Shown) StartFade(Fade::In);
    return 0L;
  });
}

long OsdDisplay::Hide() {
  WriteLogLine(LogLine(DisplaySubject(number_), "Hide"));
  return Guarded([&] {
    shown_ = false;
    if (fade_ == Fade::In || fade_ == Fade::Shown) StartFade(Fade::Out);
    return 0L;
  });
}

long OsdDisplay::IsVisible() {
  WriteLogLine(LogLine(DisplaySubject(number_), "IsVisible"));
  return shown_ ? 1 : 0;
}

long OsdDisplay::SetAttribute(int attribute, intptr_t value) {
  LogLine line(DisplaySubject(number_), "SetAttribute");
  line.Number(attribute);
  switch (KindOfAttribute(attribute)) {
    case ValueKind::Colour:
      line.Colour(static_cast<uint32_t>(value));
      break;
    case ValueKind::Text: {
      const char* text = reinterpret_cast<const char*>(value);
      if (text) {
        line.Text(WideToUtf8(AnsiToWide(text)));
      } else {
        line.Word("null");
      }
      break;
    }
    case ValueKind::Number:
      line.Number(static_cast<long long>(value));
      break;
  }
  WriteLogLine(line);
  return Guarded([&] {
    if (attribute == kFontFace) {
      SetFontFace(style_, reinterpret_cast<const char*>(value));
    } else {
      ApplyAttribute(style_, attribute, value);
    }
    content_dpi_ = 0;  // the text is drawn again with the new style
    Refresh();
    return 0L;
  });
}

long OsdDisplay::SetText(const char* text) {
  LogLine line(DisplaySubject(number_), "SetText");
  std::wstring wide = AnsiToWide(text);
  if (text) {
    line.Text(WideToUtf8(wide));
  } else {
    line.Word("null");
  }
  WriteLogLine(line);
  return Guarded([&] {
    text_ = std::move(wide);
    content_.bitmap.clear();
    content_.bitmap.shrink_to_fit();
    content_.bitmap_width = content_.bitmap_height = 0;
    content_dpi_ = 0;
    Refresh();
    return 0L;
  });
}

long OsdDisplay::SetTopMost(int on) {
  WriteLogLine(LogLine(DisplaySubject(number_), "SetTopMost").Number(on));
  top_most_ = on != 0;
  if (window_) {
    SetWindowPos(window_, top_most_ ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_NOOWNERZORDER);
  }
  return 0;
}

long OsdDisplay::SetBitmap(HBITMAP bitmap, uint32_t colour_key) {
  LogLine line(DisplaySubject(number_), "SetBitmap");
  BITMAP header{};
  const bool valid = bitmap && GetObjectW(bitmap, sizeof header, &header) == sizeof header;
  const int width = valid ? header.bmWidth : 0;
  const int height = valid ? std::abs(header.bmHeight) : 0;
  if (!bitmap) {
    line.Word("null");
  } else if (!valid) {
    line.Word("invalid");
  } else {
    line.Word("bitmap").Word(std::to_string(width) + "x" + std::to_string(height));
  }
  line.Colour(colour_key);
  WriteLogLine(line);

  return Guarded([&] {
    // The caller keeps its bitmap: the display copies the pixels and keeps no GDI object.
    std::vector<uint32_t> pixels;
    long result = 0;
    if (valid && width > 0 && height > 0 && width <= kMaxBitmapSide && height <= kMaxBitmapSide) {
      pixels.resize(static_cast<size_t>(width) * height);
      BITMAPINFO info = ArgbBitmapInfo(width, height);
      win::WindowDc screen(nullptr);
      if (GetDIBits(screen.Get(), bitmap, 0, static_cast<UINT>(height), pixels.data(), &info, DIB_RGB_COLORS) !=
          height) {
        pixels.clear();
        result = -1;
      }
    } else if (bitmap) {
      result = -1;  // not a bitmap, or one too large: shown as none
    }
    if (pixels.empty()) {
      content_.bitmap.clear();
      content_.bitmap.shrink_to_fit();
      content_.bitmap_width = content_.bitmap_height = 0;
    } else {
      content_.bitmap = std::move(pixels);
      content_.bitmap_width = width;
      content_.bitmap_height = height;
    }
    content_.key = colour_key;
    content_dpi_ = 0;
    Refresh();
    return result;
  });
}

long OsdDisplay::SetOffset(int dx, int dy) {
  WriteLogLine(LogLine(DisplaySubject(number_), "SetOffset").Number(dx).Number(dy));
  return Guarded([&] {
    offset_x_ = dx;
    offset_y_ = dy;
    Refresh();
    return 0L;
  });
}

long OsdDisplay::SetClickThrough(int on) {
  WriteLogLine(LogLine(DisplaySubject(number_), "SetClickThrough").Number(on));
  if (!window_) return -1;
  LONG_PTR ex_style = GetWindowLongPtrW(window_, GWL_EXSTYLE);
  ex_style = on ? (ex_style | WS_EX_TRANSPARENT) : (ex_style & ~static_cast<LONG_PTR>(WS_EX_TRANSPARENT));
  SetWindowLongPtrW(window_, GWL_EXSTYLE, ex_style);
  return 0;
}

long OsdDisplay::Unused(const char* method) const {
  WriteLogLine(LogLine(DisplaySubject(number_), method));
  return 0;
}

long OsdDisplay::Reserved3() { return Unused("Reserved3"); }
long OsdDisplay::Reserved4() { return Unused("Reserved4"); }
long OsdDisplay::Reserved5() { return Unused("Reserved5"); }
long OsdDisplay::Reserved7() { return Unused("Reserved7"); }
long OsdDisplay::Reserved8() { return Unused("Reserved8"); }
long OsdDisplay::Reserved11() { return Unused("Reserved11"); }
long OsdDisplay::Reserved14() { return Unused("Reserved14"); }

}  // namespace quill::osd
