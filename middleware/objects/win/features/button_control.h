// CButtonControl (IButtonControl): which buttons a client asked click events for, one flag per
// _TButtonDefinitionType value 0 to 17. The flags live in the object only; no click event is
// ever fired.
#pragma once
#include <ServerLib.h>

#include <array>

#include "middleware/objects/win/com/com_object.h"
#include "middleware/objects/win/com/connection_point.h"

namespace quill::server {

class CDeviceType;

class CButtonControl final
    : public com::ComObject<IButtonControl, com::EventSource<_IButtonControlEvents>> {
 public:
  static constexpr size_t kButtons = BUTTON_DEFINITION_BUTTONCOUNT;

  explicit CButtonControl(CDeviceType&) {}

  // E_INVALIDARG for a value outside 0 to 17 (the modifier flag included).
  STDMETHODIMP RegisterButtonClickEvent(_TButtonDefinitionType button) override {
    return SetFlag(button, true);
  }
  STDMETHODIMP UnregisterButtonClickEvent(_TButtonDefinitionType button) override {
    return SetFlag(button, false);
  }

  bool Registered(size_t button) const { return button < kButtons && flags_[button]; }

 private:
  HRESULT SetFlag(_TButtonDefinitionType button, bool on) {
    const auto index = static_cast<unsigned long>(button);
    if (index >= kButtons) return E_INVALIDARG;
    flags_[index] = on;
    return S_OK;
  }

  std::array<bool, kButtons> flags_{};
};

}  // namespace quill::server
