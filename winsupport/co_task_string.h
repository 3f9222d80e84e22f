// Wide strings handed to callers through LPWSTR* out-parameters: CoTaskMemAlloc'ed, the
// caller's to free with CoTaskMemFree. Nothing stays allocated when a call fails.
#pragma once
#include <objbase.h>

#include <cstddef>
#include <string_view>
#include <utility>

namespace quill::com {

// Owns a CoTaskMem block until it is handed out.
template <class T>
class CoTaskMemPtr {
 public:
  CoTaskMemPtr() = default;
  explicit CoTaskMemPtr(T* p) : p_(p) {}
  CoTaskMemPtr(CoTaskMemPtr&& other) noexcept : p_(std::exchange(other.p_, nullptr)) {}
  CoTaskMemPtr& operator=(CoTaskMemPtr&& other) noexcept {
    Reset(std::exchange(other.p_, nullptr));
    return *this;
  }
  ~CoTaskMemPtr() { Reset(); }

  T* Get() const { return p_; }
  T* Detach() { return std::exchange(p_, nullptr); }
  void Reset(T* p = nullptr) {
    if (T* old = std::exchange(p_, p)) CoTaskMemFree(old);
  }

 private:
  T* p_ = nullptr;
};

// Copies `text` into a new block of exactly `capacity` wide characters (terminator included,
// the rest zero-filled) and hands it to *out. 0x8007007A when the text and its terminator do
// not fit, E_OUTOFMEMORY when the block cannot be allocated, E_POINTER for a null `out`;
// *out is null on every failure.
HRESULT CoTaskStringCopy(std::u16string_view text, size_t capacity, LPWSTR* out);

// The same into a block sized for the text and its terminator.
HRESULT CoTaskStringDup(std::u16string_view text, LPWSTR* out);

// Size in bytes of a CoTaskMem block, as the task allocator reports it (0 when it cannot tell).
SIZE_T AllocationSize(void* block);

}  // namespace quill::com
