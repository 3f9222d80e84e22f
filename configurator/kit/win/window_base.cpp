#include "configurator/kit/win/window_base.h"

#include <commctrl.h>

#include <vector>

namespace quill::kit::win {

namespace {

constexpr UINT_PTR kSubclassId = 0x4B49;  // one subclass of ours per window

}  // namespace

Window::~Window() { Destroy(); }

void Window::Destroy() {
  if (hwnd_) DestroyWindow(hwnd_);  // WM_NCDESTROY clears hwnd_
  hwnd_ = nullptr;
}

bool Window::CreateOf(const wchar_t* class_name, DWORD ex_style, DWORD style, int x, int y, int width, int height,
                      HWND parent, HMENU menu_or_id, UINT class_style) {
  const HINSTANCE instance = GetModuleHandleW(nullptr);
  WNDCLASSEXW existing{};
  existing.cbSize = sizeof existing;
  if (!GetClassInfoExW(instance, class_name, &existing)) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.style = class_style;
    wc.lpfnWndProc = &Window::Procedure;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, IDC_ARROW);
    wc.lpszClassName = class_name;
    if (!RegisterClassExW(&wc)) return false;
  }
  return CreateWindowExW(ex_style, class_name, L"", style, x, y, width, height, parent, menu_or_id, instance, this) !=
         nullptr;
}

LRESULT Window::HandleMessage(UINT message, WPARAM wparam, LPARAM lparam) { return Default(message, wparam, lparam); }

LRESULT CALLBACK Window::Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<Window*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lparam)->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  if (!self) return DefWindowProcW(hwnd, message, wparam, lparam);
  LRESULT result = 0;
  try {
    result = self->HandleMessage(message, wparam, lparam);
  } catch (...) {
    result = DefWindowProcW(hwnd, message, wparam, lparam);
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

INT_PTR Dialog::RunModal(HWND owner, DWORD style, DWORD ex_style) {
  // A template of no controls: DLGTEMPLATE, then empty menu, class and title (one WORD each),
  // aligned to DWORDs.
  std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD) + 4, 0);
  auto* t = reinterpret_cast<DLGTEMPLATE*>(words.data());
  t->style = style;
  t->dwExtendedStyle = ex_style;
  t->cdit = 0;
  t->cx = 10;
  t->cy = 10;
  return DialogBoxIndirectParamW(GetModuleHandleW(nullptr), t, owner, &Dialog::Procedure,
                                 reinterpret_cast<LPARAM>(this));
}

INT_PTR Dialog::RunModalResource(HINSTANCE instance, int resource_id, HWND owner) {
  return DialogBoxParamW(instance, MAKEINTRESOURCEW(resource_id), owner, &Dialog::Procedure, reinterpret_cast<LPARAM>(this));
}

INT_PTR CALLBACK Dialog::Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam) {
  auto* self = reinterpret_cast<Dialog*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (message == WM_INITDIALOG) {
    self = reinterpret_cast<Dialog*>(lparam);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    try {
      return self->OnInit() ? TRUE : FALSE;
    } catch (...) {
      EndDialog(hwnd, -1);
      return FALSE;
    }
  }
  if (!self) return FALSE;
  LRESULT result = 0;
  bool handled = false;
  try {
    handled = self->HandleMessage(message, wparam, lparam, result);
  } catch (...) {
    handled = false;
  }
  if (message == WM_NCDESTROY) {
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  if (!handled) return FALSE;
  // These answer through the dialog procedure's return value itself.
  if ((message >= WM_CTLCOLORMSGBOX && message <= WM_CTLCOLORSTATIC) || message == WM_COMPAREITEM ||
      message == WM_VKEYTOITEM || message == WM_CHARTOITEM || message == WM_QUERYDRAGICON) {
    return static_cast<INT_PTR>(result);
  }
  SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
  return TRUE;
}

bool Subclass::Attach(HWND hwnd, Handler handler) {
  Detach();
  handler_ = std::move(handler);
  if (!SetWindowSubclass(hwnd, &Subclass::Procedure, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) return false;
  hwnd_ = hwnd;
  return true;
}

void Subclass::Detach() {
  if (hwnd_) RemoveWindowSubclass(hwnd_, &Subclass::Procedure, kSubclassId);
  hwnd_ = nullptr;
}

LRESULT CALLBACK Subclass::Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR,
                                     DWORD_PTR data) {
  auto* self = reinterpret_cast<Subclass*>(data);
  if (message == WM_NCDESTROY) {
    self->Detach();
    return DefSubclassProc(hwnd, message, wparam, lparam);
  }
  bool handled = false;
  LRESULT result = 0;
  try {
    if (self->handler_) result = self->handler_(hwnd, message, wparam, lparam, handled);
  } catch (...) {
    handled = false;
  }
  return handled ? result : DefSubclassProc(hwnd, message, wparam, lparam);
}

}  // namespace quill::kit::win
