#include "tray/win/tests/osd_log.h"

#include <windows.h>

#include <sstream>

#include "middleware/objects/tests/win/test_support.h"
#include "tray/win/tests/tray_test_support.h"

namespace quill::tray::test {
namespace {

// A quoted text of the log: \" \\ and \xNN.
std::string Unquote(const std::string& quoted) {
  std::string out;
  size_t i = quoted.empty() || quoted[0] != '"' ? 0 : 1;
  for (; i < quoted.size(); ++i) {
    char c = quoted[i];
    if (c == '"') break;
    if (c == '\\' && i + 1 < quoted.size()) {
      c = quoted[++i];
      if (c == 'x' && i + 2 < quoted.size()) {
        c = static_cast<char>(std::stoi(quoted.substr(i + 1, 2), nullptr, 16));
        i += 2;
      }
    }
    out += c;
  }
  return out;
}

}  // namespace

OsdLog::OsdLog(const std::wstring& path) {
  std::istringstream in(ReadText(path));
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() < 2 || line[0] != 'd') continue;
    const size_t blank = line.find(' ');
    if (blank == std::string::npos) continue;
    Entry e;
    e.display = std::atoi(line.c_str() + 1) - 1;
    const size_t next = line.find(' ', blank + 1);
    const std::string method = line.substr(blank + 1, next == std::string::npos ? std::string::npos : next - blank - 1);
    const std::string args = next == std::string::npos ? std::string() : line.substr(next + 1);
    if (method == "Show") e.call = kShow;
    else if (method == "Hide") e.call = kHide;
    else if (method == "SetText") {
      e.call = kText;
      e.text = Unquote(args);
    } else if (method == "SetBitmap") {
      e.call = kBitmap;
      e.bitmap = args.substr(0, args.rfind(' '));
    }
    entries_.push_back(e);
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

bool OsdLog::ShownWithBitmap(Display d) const {
  bool bitmap = false;
  for (const Entry& e : entries_) {
    if (e.display != d) continue;
    if (e.call == kBitmap) bitmap = e.bitmap.rfind("bitmap ", 0) == 0;
    if (e.call == kText) bitmap = false;
    if (e.call == kShow && bitmap) return true;
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

bool TrayHasBitmap(int resource) {
  const std::wstring exe = quill::test::ExeDir() + L"\\TorvoQuillfernTray.exe";
  HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  if (!module) return false;
  const bool found = FindResourceW(module, MAKEINTRESOURCEW(resource), reinterpret_cast<LPCWSTR>(RT_BITMAP)) != nullptr;
  FreeLibrary(module);
  return found;
}

}  // namespace quill::tray::test
