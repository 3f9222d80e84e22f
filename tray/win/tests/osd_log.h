// OSD.dll's call log (QUILLFERN_OSD_LOG, lines "d<N> <method> <arguments>", osd/README.md) as the
// tray's tests read it: one entry per call of a display object, displays numbered in creation
// order from 0 (the tray creates the profile display, then X, then Y).
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
    std::string bitmap;   // kBitmap: "bitmap WxH", "null" or "invalid"
  };

  explicit OsdLog(const std::wstring& path);
  // The entries after those of an earlier reading.
  OsdLog Since(const OsdLog& earlier) const;

  size_t Count(Call call) const;
  bool Shows(Display d) const;
  bool Hides(Display d) const;
  // The display was shown after a bitmap was set (not null) and no text since.
  bool ShownWithBitmap(Display d) const;
  bool ShownWithText(Display d, const std::string& text) const;
  // The display's last show is followed by a hide.
  bool HiddenAfterLastShow(Display d) const;

  const std::vector<Entry>& entries() const { return entries_; }

 private:
  OsdLog() = default;
  std::vector<Entry> entries_;
};

// Whether the tray program carries bitmap resource id (the generated DPI bitmaps).
bool TrayHasBitmap(int resource);

}  // namespace quill::tray::test
