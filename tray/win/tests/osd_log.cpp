#include "tray/win/tests/osd_log.h"

#include <windows.h>

#include <sstream>

#include "tray/win/tests/tray_test_support.h"

namespace quill::tray::test {

OsdLog::OsdLog(const std::wstring& path) {
  std::istringstream in(ReadText(path));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    // Parsed once the log's format is settled.
    (void)line;
  }
}

OsdLog OsdLog::Since(const OsdLog& earlier) const {
  OsdLog later;
  if (earlier.entries_.size() < entries_.size())
    later.entries_.assign(entries_.begin() + static_cast<std::ptrdiff_t>(earlier.entries_.size()), entries_.end());
  return later;
}

size_t OsdLog::Count(Call call) const {
  size_t n = 0;
  for (const Entry& e : entries_) n += e.call == call;
  return n;
}

bool OsdLog::Shows(Display d) const {
  for (const Entry& e : entries_)
    if (e.display == d && e.call == kShow) return true;
  return false;
}

bool OsdLog::Hides(Display d) const {
  for (const Entry& e : entries_)
    if (e.display == d && e.call == kHide) return true;
  return false;
}

bool OsdLog::ShownWithBitmap(Display d, int resource) const {
  const std::string wanted = BitmapDescription(resource);
  std::string current;
  for (const Entry& e : entries_) {
    if (e.display != d) continue;
    if (e.call == kBitmap) current = e.bitmap;
    if (e.call == kShow && current == wanted) return true;
  }
  return false;
}

bool OsdLog::ShownWithText(Display d, const std::string& text) const {
  std::string current;
  for (const Entry& e : entries_) {
    if (e.display != d) continue;
    if (e.call == kText) current = e.text;
    if (e.call == kShow && current == text) return true;
  }
  return false;
}

bool OsdLog::HiddenAfterLastShow(Display d) const {
  bool shown = false, hidden = false;
  for (const Entry& e : entries_) {
    if (e.display != d) continue;
    if (e.call == kShow) shown = true, hidden = false;
    if (e.call == kHide && shown) hidden = true;
  }
  return shown && hidden;
}

std::string BitmapDescription(int resource) { return std::to_string(resource); }

}  // namespace quill::tray::test
