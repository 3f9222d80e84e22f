// The tray's three on-screen displays from OSD.dll (profile, X and Y sensitivity), created once
// at start and kept until the process ends, and the DPI bitmaps they show, each loaded once.
#pragma once
#include <windows.h>

#include <array>
#include <cstdint>
#include <map>
#include <string>

#include "osd/osd_api.h"
#include "tray/tick_cycle.h"
#include "winsupport/handles.h"

namespace quill::tray {

constexpr uint32_t kBitmapColourKey = 0xFFFF00FF;   // magenta marks transparent pixels

class OsdDisplays {
 public:
  // OsdInitialize, then the three displays with their creation sequence. A display OSD.dll
  // does not create stays null and is never used.
  void Create(HINSTANCE instance);
  bool Exists(Display d) const { return displays_[d] != nullptr; }
  void Show(Display d);
  void Hide(Display d);
  void SetText(Display d, const std::string& ansi);
  void SetBitmap(Display d, HBITMAP bitmap);

 private:
  std::array<osd::IOsdDisplay*, kDisplayCount> displays_{};
};

// Bitmap resources of the program, loaded on first use and freed with this object: however many
// DPI events arrive, at most one bitmap per resource exists. A missing resource gives null.
class DpiBitmaps {
 public:
  explicit DpiBitmaps(HINSTANCE instance = nullptr) : instance_(instance) {}
  void SetInstance(HINSTANCE instance) { instance_ = instance; }
  HBITMAP Get(int32_t resource);
  size_t LoadedCount() const { return loaded_.size(); }

 private:
  HINSTANCE instance_;
  std::map<int32_t, win::Bitmap> loaded_;
};

}  // namespace quill::tray
