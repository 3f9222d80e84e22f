// Owning BSTR: freed with SysFreeString unless handed out.
#pragma once
#include <windows.h>
#include <oleauto.h>

#include <string_view>
#include <utility>

namespace quill::com {

class Bstr {
 public:
  Bstr() = default;
  Bstr(Bstr&& other) noexcept : s_(std::exchange(other.s_, nullptr)) {}
  Bstr& operator=(Bstr&& other) noexcept {
    Reset(std::exchange(other.s_, nullptr));
    return *this;
  }
  Bstr(const Bstr&) = delete;
  Bstr& operator=(const Bstr&) = delete;
  ~Bstr() { Reset(); }

  // A copy of `text`; null (check with operator bool) when memory runs out or the text is
  // longer than a BSTR can hold.
  static Bstr FromText(std::u16string_view text) {
    Bstr result;
    if (text.size() <= 0x7FFFFFFFu / sizeof(wchar_t)) {
      result.s_ = SysAllocStringLen(reinterpret_cast<const wchar_t*>(text.data()),
                                    static_cast<UINT>(text.size()));
    }
    return result;
  }
  // Takes over a BSTR the caller owns.
  static Bstr Adopt(BSTR s) {
    Bstr result;
    result.s_ = s;
    return result;
  }

  BSTR Get() const { return s_; }
  explicit operator bool() const { return s_ != nullptr; }
  // Length in characters (embedded zeros included).
  UINT Length() const { return SysStringLen(s_); }
  std::u16string_view View() const {
    return {reinterpret_cast<const char16_t*>(s_ ? s_ : L""), Length()};
  }
  // Frees the current string and returns the slot for an out-parameter.
  BSTR* Put() {
    Reset();
    return &s_;
  }
  BSTR Detach() { return std::exchange(s_, nullptr); }
  void Reset(BSTR s = nullptr) {
    if (BSTR old = std::exchange(s_, s)) SysFreeString(old);
  }

 private:
  BSTR s_ = nullptr;
};

}  // namespace quill::com
