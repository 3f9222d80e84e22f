// What the tray did, as lines in the file named by QUILLFERN_TRAY_LOG (for tests and support;
// nothing is written without it): "session open", "session closed, middleware objects
// released" (or "still held"), "activate slot N",
// "icon added", "icon removed", and the menu as "menu" followed by its items.
#pragma once
#include <string>
#include <string_view>

namespace quill::tray {

class TrayLog {
 public:
  TrayLog();
  void Line(std::u16string_view text) const;

 private:
  std::wstring path_;
};

}  // namespace quill::tray
