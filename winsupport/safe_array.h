// Owning SAFEARRAY: destroyed with SafeArrayDestroy unless handed out.
#pragma once
#include <windows.h>
#include <oleauto.h>

#include <utility>

namespace quill::com {

// Owns a SAFEARRAY until it is handed out.
class SafeArrayPtr {
 public:
  SafeArrayPtr() = default;
  explicit SafeArrayPtr(SAFEARRAY* array) : array_(array) {}
  SafeArrayPtr(SafeArrayPtr&& other) noexcept : array_(std::exchange(other.array_, nullptr)) {}
  SafeArrayPtr& operator=(SafeArrayPtr&& other) noexcept {
    Reset(std::exchange(other.array_, nullptr));
    return *this;
  }
  SafeArrayPtr(const SafeArrayPtr&) = delete;
  SafeArrayPtr& operator=(const SafeArrayPtr&) = delete;
  ~SafeArrayPtr() { Reset(); }

  SAFEARRAY* Get() const { return array_; }
  SAFEARRAY* Detach() { return std::exchange(array_, nullptr); }
  void Reset(SAFEARRAY* array = nullptr) {
    if (SAFEARRAY* old = std::exchange(array_, array)) SafeArrayDestroy(old);
  }

 private:
  SAFEARRAY* array_ = nullptr;
};

}  // namespace quill::com
