// The window base of the kit: a C++ object bound to its window at WM_NCCREATE (windows) or
// WM_INITDIALOG (dialogs) through GWLP_USERDATA, messages handed to a virtual handler, the
// binding cleared at WM_NCDESTROY so that no message reaches a half-destroyed object, and no
// C++ exception let through a window procedure. Subclass wraps a window made elsewhere.
#pragma once
#include <windows.h>

#include <functional>
#include <vector>

namespace quill::kit::win {

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();  // destroys the window when it still exists

  HWND hwnd() const { return hwnd_; }
  void Destroy();

 protected:
  // Registers `class_name` once (arrow cursor, no background brush) and creates the window.
  bool CreateOf(const wchar_t* class_name, DWORD ex_style, DWORD style, int x, int y, int width, int height,
                HWND parent, HMENU menu_or_id, UINT class_style = CS_DBLCLKS);
  virtual LRESULT HandleMessage(UINT message, WPARAM wparam, LPARAM lparam);
  LRESULT Default(UINT message, WPARAM wparam, LPARAM lparam) { return DefWindowProcW(hwnd_, message, wparam, lparam); }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  HWND hwnd_ = nullptr;
};

// A modal dialog from an in-memory template without controls: the derived class creates its
// controls at WM_INITDIALOG (OnInit). The dialog manager gives Tab, Enter and Escape handling.
class Dialog {
 public:
  Dialog() = default;
  Dialog(const Dialog&) = delete;
  Dialog& operator=(const Dialog&) = delete;
  virtual ~Dialog() = default;

  HWND hwnd() const { return hwnd_; }
  // Runs the dialog modally; the result EndDialog was given, -1 when it could not be shown.
  INT_PTR RunModal(HWND owner, DWORD style, DWORD ex_style);
  // Runs the dialog modally from the dialog resource `resource_id` of `instance`.
  INT_PTR RunModalResource(HINSTANCE instance, int resource_id, HWND owner);
  void End(INT_PTR result) { EndDialog(hwnd_, result); }

 protected:
  virtual bool OnInit() { return true; }  // true: let the dialog manager set the focus
  // Answers like a dialog procedure: TRUE when handled (then `result` is the message's answer).
  virtual bool HandleMessage(UINT message, WPARAM wparam, LPARAM lparam, LRESULT& result) { return false; }

 private:
  static INT_PTR CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam);
  HWND hwnd_ = nullptr;
};

// A subclass of a window made elsewhere (SetWindowSubclass), removed at WM_NCDESTROY or when
// this object goes. The handler sets `handled` to keep the message from the window's own
// procedure.
class Subclass {
 public:
  using Handler = std::function<LRESULT(HWND, UINT, WPARAM, LPARAM, bool& handled)>;
  Subclass() = default;
  Subclass(const Subclass&) = delete;
  Subclass& operator=(const Subclass&) = delete;
  ~Subclass() { Detach(); }

  bool Attach(HWND hwnd, Handler handler);
  void Detach();
  HWND hwnd() const { return hwnd_; }

 private:
  static LRESULT CALLBACK Procedure(HWND hwnd, UINT message, WPARAM wparam, LPARAM lparam, UINT_PTR id,
                                    DWORD_PTR data);
  HWND hwnd_ = nullptr;
  Handler handler_;
};

}  // namespace quill::kit::win
