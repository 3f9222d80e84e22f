// The tray agent's creation sequence of one display, for the tests and the preview.
#pragma once
#include <windows.h>

#include <string>

#include "osd/osd_api.h"

namespace quill::osd::test {

inline IOsdDisplay* CreateLikeTheTray(const char* name, int anchor_x, int anchor_y) {
  IOsdDisplay* d = OsdCreate(GetModuleHandleW(nullptr), name);
  if (!d) return nullptr;
  d->SetAttribute(3, 149);
  d->SetAttribute(4, static_cast<intptr_t>(0xFF00AA00u));
  d->SetAttribute(5, static_cast<intptr_t>(0xFF00FF00u));
  d->SetOffset(0, 0);
  d->SetAttribute(1, anchor_x);
  d->SetAttribute(2, anchor_y);
  d->SetAttribute(11, 230);
  d->SetAttribute(9, 0);
  d->SetAttribute(10, 1);
  d->SetAttribute(6, reinterpret_cast<intptr_t>("Arial"));
  d->SetAttribute(7, 24);
  d->SetText(name);
  d->Hide();
  d->SetTopMost(1);
  d->SetClickThrough(1);
  return d;
}

// The tray's profile text: the name after blanks so that it ends in column 19.
inline std::wstring PaddedProfileName(const std::wstring& name) {
  return std::wstring(name.size() < 19 ? 19 - name.size() : 0, L' ') + name;
}

}  // namespace quill::osd::test
