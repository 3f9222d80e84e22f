// The on-screen display component OSD.dll as its users see it: two exports and a display object
// called through its method table. The table's positions are fixed (programs call positions 0, 1,
// 6, 9, 10, 12, 13 and 15); each method returns 0 on success. A display object lives until the
// process ends.
#pragma once
#include <windows.h>

#include <cstdint>

namespace quill::osd {

class IOsdDisplay {
 public:
  virtual long Show() = 0;                                       // 0
  virtual long Hide() = 0;                                       // 1
  virtual long IsVisible() = 0;                                  // 2: 1 when shown
  virtual long Reserved3() = 0;                                  // 3
  virtual long Reserved4() = 0;                                  // 4
  virtual long Reserved5() = 0;                                  // 5
  virtual long SetAttribute(int attribute, intptr_t value) = 0;  // 6: osd/README.md lists the attributes
  virtual long Reserved7() = 0;                                  // 7
  virtual long Reserved8() = 0;                                  // 8
  virtual long SetText(const char* text) = 0;                    // 9: ANSI text, shown instead of a bitmap
  virtual long SetTopMost(int on) = 0;                           // 10
  virtual long Reserved11() = 0;                                 // 11
  virtual long SetBitmap(HBITMAP bitmap, uint32_t colourKey) = 0;  // 12: 0xAARRGGBB key; the display copies it
  virtual long SetOffset(int dx, int dy) = 0;                    // 13: from the default place on the monitor
  virtual long Reserved14() = 0;                                 // 14
  virtual long SetClickThrough(int on) = 0;                      // 15

 protected:
  ~IOsdDisplay() = default;
};

}  // namespace quill::osd

#ifdef QUILL_OSD_BUILD
#define QUILL_OSD_API
#else
#define QUILL_OSD_API __declspec(dllimport)
#endif

extern "C" {
// Called once before the first OsdCreate; the argument is 0.
QUILL_OSD_API long OsdInitialize(int reserved);
// A new display for the program's instance; the name is ANSI. Null when it cannot be made.
QUILL_OSD_API quill::osd::IOsdDisplay* OsdCreate(HINSTANCE instance, const char* name);
}
