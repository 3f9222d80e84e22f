// OSD.dll's call log (QUILLFERN_OSD_LOG) as the tray's tests read it: one entry per call of a
// display object, displays numbered in creation order (the tray creates the profile display,
// then X, then Y).
#pragma once
#include <cstddef>
#include <string>
#include <vector>

namespace quill::tray::test {

class OsdLog {
 public:
  enum Display { kProfile = 0, kX = 1, kY = 2 };
  enum Call { kShow, kHide, kText, kBitmap, kOther };

  struct Entry {
    int display = -1;     // creation order
    Call call = kOther;
    std::string text;     // kText: the text
    std::string bitmap;   // kBitmap: what the log says of the bitmap
  };

  explicit OsdLog(const std::wstring& path);
  // The entries after those of an earlier reading.
  OsdLog Since(const OsdLog& earlier) const;

  size_t Count(Call call) const;
  bool Shows(Display d) const;
  bool Hides(Display d) const;
  // The display was shown with the last bitmap set before being the tray's resource.
  bool ShownWithBitmap(Display d, int resource) const;
  bool ShownWithText(Display d, const std::string& text) const;
  // The display's last show is followed by a hide.
  bool HiddenAfterLastShow(Display d) const;

  const std::vector<Entry>& entries() const { return entries_; }

 private:
  OsdLog() = default;
  std::vector<Entry> entries_;
};

// What OSD.dll's log writes for the tray's bitmap resource (loaded from the tray program).
std::string BitmapDescription(int resource);

}  // namespace quill::tray::test
