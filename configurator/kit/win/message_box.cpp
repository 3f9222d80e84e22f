#include "configurator/kit/win/message_box.h"

#include <string_view>

#include "configurator/kit/win/skin.h"

namespace quill::kit::win {

namespace {

constexpr int kFirstButtonId = 100;
constexpr int kEditId = 99;

std::u16string_view U16(const std::wstring& s) { return {reinterpret_cast<const char16_t*>(s.data()), s.size()}; }

std::wstring Wide(const std::u16string& s) { return {reinterpret_cast<const wchar_t*>(s.data()), s.size()}; }

MeasureText Measurer(HDC dc, HFONT font) {
  return [dc, font](std::u16string_view text) {
    return TextWidth(dc, font, reinterpret_cast<const wchar_t*>(text.data()), static_cast<int>(text.size()));
  };
}

// SetLayeredWindowAttributes looked up at run time: without it the box stays opaque.
void SetColourKey(HWND hwnd) {
  using SetLayeredFn = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
  const auto set = reinterpret_cast<SetLayeredFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SetLayeredWindowAttributes")));
  if (!set) return;
  SetWindowLongPtrW(hwnd, GWL_EXSTYLE, GetWindowLongPtrW(hwnd, GWL_EXSTYLE) | WS_EX_LAYERED);
  set(hwnd, RGB(255, 0, 255), 0, LWA_COLORKEY);
}

}  // namespace

void CBitmapMessageBox::AddButton(const std::wstring& text, int result, int x, int y) {
  buttons_.push_back({std::u16string(U16(text)), result, x, y});
}

void CBitmapMessageBox::SetEdit(const std::wstring& initial, size_t limit) {
  has_edit_ = true;
  edit_initial_ = initial;
  edit_limit_ = limit;
}

INT_PTR CBitmapMessageBox::Show(HWND owner) {
  if (buttons_.empty()) AddButton(L"OK", IDOK);
  return RunModal(owner, WS_POPUP, WS_EX_CONTROLPARENT);
}

bool CBitmapMessageBox::OnInit() {
  HWND hwnd = this->hwnd();
  dpi_ = WindowDpi(GetParent(hwnd) ? GetParent(hwnd) : hwnd);
  Skin& skin = Skin::Get();
  MessageMetrics m;
  for (int* v : {&m.min_width, &m.max_width, &m.margin, &m.title_height, &m.line_height, &m.edit_height, &m.edit_gap,
                 &m.button_height, &m.button_min_width, &m.button_padding, &m.button_gap, &m.text_gap}) {
    *v = Scale(*v, dpi_);
  }
  const quill::win::WindowDc dc(hwnd);
  const HFONT text_font = skin.TextFont(dpi_), button_font = skin.TextFont(dpi_, true);
  const HFONT caption_font = skin.CaptionFont(dpi_);
  TEXTMETRICW metrics{};
  {
    const quill::win::SelectedObject selected(dc.Get(), text_font);
    GetTextMetricsW(dc.Get(), &metrics);
  }
  m.line_height = std::max<int>(m.line_height, metrics.tmHeight + metrics.tmExternalLeading + Scale(2, dpi_));
  std::vector<MessageButton> scaled = buttons_;
  for (auto& b : scaled) {
    if (b.x >= 0 && b.y >= 0) b = {b.text, b.result, Scale(b.x, dpi_), Scale(b.y, dpi_)};
  }
  layout_ = LayOutMessage(m, U16(title_), U16(text_), scaled, has_edit_, Measurer(dc.Get(), text_font),
                          Measurer(dc.Get(), caption_font), Measurer(dc.Get(), button_font));

  // Centred on the owner, or on the work area.
  RECT around{};
  HWND owner = GetWindow(hwnd, GW_OWNER);
  if (!owner || !IsWindowVisible(owner) || !GetWindowRect(owner, &around)) {
    SystemParametersInfoW(SPI_GETWORKAREA, 0, &around, 0);
  }
  const int x = (around.left + around.right - layout_.width) / 2, y = (around.top + around.bottom - layout_.height) / 2;
  SetWindowPos(hwnd, HWND_TOP, x, y, layout_.width, layout_.height, SWP_NOACTIVATE);
  SetWindowTextW(hwnd, title_.c_str());
  SetColourKey(hwnd);

  if (has_edit_) {
    const Box& e = layout_.edit;
    edit_.Create(hwnd, kEditId, RECT{e.x, e.y, e.right(), e.bottom()}, edit_limit_);
    edit_.SetText(edit_initial_);
  }
  for (size_t i = 0; i < buttons_.size(); ++i) {
    const Box& b = layout_.buttons[i];
    auto button = std::make_unique<CHoverButtonV2>(static_cast<HoverButtonV2Parent*>(this));
    button->Create(hwnd, kFirstButtonId + static_cast<int>(i), RECT{b.x, b.y, b.right(), b.bottom()},
                   Wide(buttons_[i].text));
    button_controls_.push_back(std::move(button));
  }
  // The edit field first, else the first button, has the focus.
  if (has_edit_ && edit_.edit()) {
    SetFocus(edit_.edit());
    SendMessageW(edit_.edit(), EM_SETSEL, 0, -1);
  } else if (!button_controls_.empty()) {
    SetFocus(button_controls_.front()->hwnd());
  }
  return false;  // the focus is set
}

int CBitmapMessageBox::EscapeResult() const {
  for (const auto& b : buttons_) {
    if (b.result == IDCANCEL || b.result == IDNO) return b.result;
  }
  return buttons_.empty() ? IDCANCEL : buttons_.back().result;
}

void CBitmapMessageBox::Finish(int result) {
  if (OnButton(result)) return;
  if (has_edit_) edit_text_ = edit_.Text();
  End(result);
}

void CBitmapMessageBox::OnHoverButtonClicked(int id) {
  const size_t index = static_cast<size_t>(id - kFirstButtonId);
  if (index < buttons_.size()) Finish(buttons_[index].result);
}

void CBitmapMessageBox::Paint() {
  PaintBuffer paint(hwnd());
  HDC dc = paint.dc();
  Skin& skin = Skin::Get();
  PaintWindowBackground(dc, paint.client(), layout_.title.height, layout_.title.x, title_.c_str(), dpi_);
  const HFONT font = skin.TextFont(dpi_);
  int y = layout_.text.y;
  const int line_height = layout_.lines.empty() ? 0 : layout_.text.height / static_cast<int>(layout_.lines.size());
  for (const auto& line : layout_.lines) {
    RECT row{layout_.text.x, y, layout_.text.right(), y + line_height};
    DrawTextIn(dc, reinterpret_cast<const wchar_t*>(line.c_str()), static_cast<int>(line.size()), row, font,
               skin::kColourText, DT_LEFT | DT_VCENTER | DT_SINGLELINE);
    y += line_height;
  }
}

bool CBitmapMessageBox::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) {
  switch (message) {
    case WM_ERASEBKGND:
      result = 1;
      return true;
    case WM_PAINT:
      Paint();
      return true;
    case WM_NCHITTEST:
      // The title band moves the box.
      {
        POINT p{static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam))};
        ScreenToClient(hwnd(), &p);
        result = p.y >= 0 && p.y < layout_.title.height ? HTCAPTION : HTCLIENT;
      }
      return true;
    case WM_COMMAND:
      if (LOWORD(wparam) == IDOK && HIWORD(wparam) == 0 && lparam == 0) {
        if (!buttons_.empty()) Finish(buttons_.front().result);
        return true;
      }
      if (LOWORD(wparam) == IDCANCEL && lparam == 0) {
        Finish(EscapeResult());
        return true;
      }
      return false;
    default:
      return false;
  }
}

}  // namespace quill::kit::win
