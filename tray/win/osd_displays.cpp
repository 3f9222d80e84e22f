#include "tray/win/osd_displays.h"

namespace quill::tray {
namespace {

struct DisplaySetup {
  const char* name;
  intptr_t attribute1;
  intptr_t attribute2;
};

constexpr char kProfileDisplayName[] = "- |||||||||||||||||||| +";
constexpr DisplaySetup kSetups[kDisplayCount] = {
    {kProfileDisplayName, 98, 95},  // profile
    {"", 99, 94},                   // X
    {"", 95, 94},                   // Y
};

}  // namespace

void OsdDisplays::Create(HINSTANCE instance) {
  OsdInitialize(0);
  for (size_t i = 0; i < kDisplayCount; ++i) {
    osd::IOsdDisplay* d = OsdCreate(instance, kSetups[i].name);
    displays_[i] = d;
    if (!d) continue;
    d->SetAttribute(3, 149);
    d->SetAttribute(4, static_cast<intptr_t>(0xFF00AA00u));
    d->SetAttribute(5, static_cast<intptr_t>(0xFF00FF00u));
    d->SetOffset(0, 0);
    d->SetAttribute(1, kSetups[i].attribute1);
    d->SetAttribute(2, kSetups[i].attribute2);
    d->SetAttribute(11, 230);
    d->SetAttribute(9, 0);
    d->SetAttribute(10, 1);
    d->SetAttribute(6, reinterpret_cast<intptr_t>("Arial"));
    d->SetAttribute(7, 24);
    d->SetText(kSetups[i].name);
    d->Hide();
    d->SetTopMost(1);
    d->SetClickThrough(1);
  }
}

void OsdDisplays::Show(Display d) {
  if (displays_[d]) displays_[d]->Show();
}
void OsdDisplays::Hide(Display d) {
  if (displays_[d]) displays_[d]->Hide();
}
void OsdDisplays::SetText(Display d, const std::string& ansi) {
  if (displays_[d]) displays_[d]->SetText(ansi.c_str());
}
void OsdDisplays::SetBitmap(Display d, HBITMAP bitmap) {
  if (displays_[d]) displays_[d]->SetBitmap(bitmap, kBitmapColourKey);
}

HBITMAP DpiBitmaps::Get(int32_t resource) {
  auto it = loaded_.find(resource);
  if (it != loaded_.end()) return it->second.Get();
  HBITMAP bitmap = nullptr;
  if (resource > 0 && resource <= 0xFFFF)
    bitmap = static_cast<HBITMAP>(LoadImageW(instance_, MAKEINTRESOURCEW(resource), IMAGE_BITMAP, 0, 0, LR_DEFAULTCOLOR));
  if (bitmap) loaded_.emplace(resource, win::Bitmap(bitmap));  // a missing one is looked up again, never kept
  return bitmap;
}

}  // namespace quill::tray
