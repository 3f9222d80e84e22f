// Owning smart pointer for COM interface pointers: one reference per ComPtr, released on scope exit.
#pragma once
#include <objbase.h>

#include <cstddef>
#include <utility>

namespace quill::com {

template <class T>
class ComPtr {
 public:
  ComPtr() = default;
  ComPtr(std::nullptr_t) {}
  // Shares the caller's pointer: takes a reference of its own.
  explicit ComPtr(T* p) : p_(p) {
    if (p_) p_->AddRef();
  }
  ComPtr(const ComPtr& other) : ComPtr(other.p_) {}
  ComPtr(ComPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  ~ComPtr() { Reset(); }

  ComPtr& operator=(const ComPtr& other) {
    ComPtr(other).Swap(*this);
    return *this;
  }
  ComPtr& operator=(ComPtr&& other) noexcept {
    ComPtr(std::move(other)).Swap(*this);
    return *this;
  }
  ComPtr& operator=(std::nullptr_t) {
    Reset();
    return *this;
  }

  // Takes over a reference the caller already owns (a freshly created object, an out-parameter).
  static ComPtr Adopt(T* p) {
    ComPtr result;
    result.p_ = p;
    return result;
  }

  T* Get() const { return p_; }
  T* operator->() const { return p_; }
  explicit operator bool() const { return p_ != nullptr; }

  // Releases the current pointer and returns the slot for an out-parameter.
  T** Put() {
    Reset();
    return &p_;
  }
  void** PutVoid() { return reinterpret_cast<void**>(Put()); }

  void Reset() {
    if (T* p = std::exchange(p_, nullptr)) p->Release();
  }
  // Hands the reference to the caller.
  T* Detach() { return std::exchange(p_, nullptr); }
  void Swap(ComPtr& other) noexcept { std::swap(p_, other.p_); }

  // Hands out one more reference through an out-parameter (null stays null).
  void CopyTo(T** out) const {
    if (p_) p_->AddRef();
    *out = p_;
  }

  // QueryInterface for U.
  template <class U>
  HRESULT As(ComPtr<U>& out) const {
    if (!p_) {
      out.Reset();
      return E_POINTER;
    }
    return p_->QueryInterface(__uuidof(U), out.PutVoid());
  }

 private:
  T* p_ = nullptr;
};

template <class T, class U>
bool operator==(const ComPtr<T>& a, const ComPtr<U>& b) {
  return a.Get() == b.Get();
}

}  // namespace quill::com
