// Owners of Windows handles: each closes its handle with the matching call when it goes out of
// scope. Move-only; Get() lends the handle, Release() hands it to the caller without closing,
// Reset() closes the current one (and takes another), explicit bool tells whether one is held.
#pragma once
#include <windows.h>

#include <utility>

namespace quill::win {

// `Traits` names the handle type, its empty value and the call that closes it.
template <class Traits>
class UniqueHandle {
 public:
  using Type = typename Traits::Type;

  UniqueHandle() = default;
  explicit UniqueHandle(Type handle) : handle_(handle) {}
  UniqueHandle(UniqueHandle&& other) noexcept : handle_(other.Release()) {}
  UniqueHandle& operator=(UniqueHandle&& other) noexcept {
    Reset(other.Release());
    return *this;
  }
  UniqueHandle(const UniqueHandle&) = delete;
  UniqueHandle& operator=(const UniqueHandle&) = delete;
  ~UniqueHandle() { Reset(); }

  Type Get() const { return handle_; }
  explicit operator bool() const { return handle_ != Traits::Empty(); }
  Type Release() { return std::exchange(handle_, Traits::Empty()); }
  void Reset(Type handle = Traits::Empty()) {
    const Type old = std::exchange(handle_, handle);
    if (old != Traits::Empty() && old != handle) Traits::Close(old);
  }

 private:
  Type handle_ = Traits::Empty();
};

namespace handle_traits {

// Handles that are null when there is none, closed by `close`.
template <class T, auto close>
struct NullIsEmpty {
  using Type = T;
  static Type Empty() { return nullptr; }
  static void Close(Type h) { close(h); }
};
// Files, pipes, snapshots and the like: INVALID_HANDLE_VALUE when there is none.
struct File {
  using Type = HANDLE;
  static Type Empty() { return INVALID_HANDLE_VALUE; }
  static void Close(Type h) { CloseHandle(h); }
};

}  // namespace handle_traits

// Events, mutexes, processes, threads.
using KernelHandle = UniqueHandle<handle_traits::NullIsEmpty<HANDLE, &CloseHandle>>;
// CreateFile, CreateNamedPipe, toolhelp snapshots.
using FileHandle = UniqueHandle<handle_traits::File>;
template <class T>
using GdiObject = UniqueHandle<handle_traits::NullIsEmpty<T, &DeleteObject>>;
using Bitmap = GdiObject<HBITMAP>;
using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;
using Region = GdiObject<HRGN>;
// CreateCompatibleDC, CreateDC.
using MemoryDc = UniqueHandle<handle_traits::NullIsEmpty<HDC, &DeleteDC>>;
// CreateIconIndirect, CopyIcon, LoadImage without LR_SHARED; never a shared icon (LoadIcon).
using Icon = UniqueHandle<handle_traits::NullIsEmpty<HICON, &DestroyIcon>>;
// A menu no window owns (a window destroys its own menu).
using Menu = UniqueHandle<handle_traits::NullIsEmpty<HMENU, &DestroyMenu>>;
// LoadLibrary.
using Module = UniqueHandle<handle_traits::NullIsEmpty<HMODULE, &FreeLibrary>>;
// RegOpenKeyEx, RegCreateKeyEx (link advapi32).
using RegistryKey = UniqueHandle<handle_traits::NullIsEmpty<HKEY, &RegCloseKey>>;
// Blocks the system allocates for the caller with LocalAlloc (security descriptors, access
// lists, strings of the security API).
using LocalMemory = UniqueHandle<handle_traits::NullIsEmpty<HLOCAL, &LocalFree>>;

// A window's DC (GetDC), given back with ReleaseDC.
class WindowDc {
 public:
  WindowDc() = default;
  explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
  WindowDc(WindowDc&& other) noexcept
      : window_(std::exchange(other.window_, nullptr)), dc_(std::exchange(other.dc_, nullptr)) {}
  WindowDc& operator=(WindowDc&& other) noexcept {
    if (this != &other) {
      Reset();
      window_ = std::exchange(other.window_, nullptr);
      dc_ = std::exchange(other.dc_, nullptr);
    }
    return *this;
  }
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() { Reset(); }

  HDC Get() const { return dc_; }
  explicit operator bool() const { return dc_ != nullptr; }
  void Reset() {
    if (HDC dc = std::exchange(dc_, nullptr)) ReleaseDC(window_, dc);
    window_ = nullptr;
  }

 private:
  HWND window_ = nullptr;
  HDC dc_ = nullptr;
};

// Selects an object into a DC and selects the one it replaced back on scope exit, so that the
// object can be deleted afterwards. Declare it after the owner of the object it selects.
class SelectedObject {
 public:
  SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), previous_(dc ? SelectObject(dc, object) : nullptr) {}
  SelectedObject(SelectedObject&& other) noexcept
      : dc_(std::exchange(other.dc_, nullptr)), previous_(std::exchange(other.previous_, nullptr)) {}
  SelectedObject& operator=(SelectedObject&&) = delete;
  SelectedObject(const SelectedObject&) = delete;
  SelectedObject& operator=(const SelectedObject&) = delete;
  ~SelectedObject() { Reset(); }

  // False when the selection failed.
  explicit operator bool() const { return previous_ != nullptr && previous_ != HGDI_ERROR; }
  // Selects the previous object back now.
  void Reset() {
    if (*this) SelectObject(dc_, previous_);
    dc_ = nullptr;
    previous_ = nullptr;
  }

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

}  // namespace quill::win
