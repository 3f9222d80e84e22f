// The handle owners close what they hold exactly once: at scope exit, on Reset and on move
// assignment, never after Release, and never a handle that means "none".
#include <gtest/gtest.h>

#include <utility>
#include <vector>

#include "winsupport/handles.h"

namespace quill::win {
namespace {

bool IsOpen(HANDLE handle) {
  DWORD flags = 0;
  return GetHandleInformation(handle, &flags) != 0;
}
DWORD GdiObjectCount() { return GetGuiResources(GetCurrentProcess(), GR_GDIOBJECTS); }

TEST(GdiOwners, EveryKindIsGoneAfterScopeExitAndSelectionsAreUndone) {
  const DWORD count_before = GdiObjectCount();
  std::vector<HGDIOBJ> made;
  {
    WindowDc screen(nullptr);
    ASSERT_TRUE(screen);
    MemoryDc dc(CreateCompatibleDC(screen.Get()));
    Bitmap bitmap(CreateCompatibleBitmap(screen.Get(), 8, 8));
    Font font(CreateFontW(-12, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                          CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, L"Tahoma"));
    Brush brush(CreateSolidBrush(RGB(10, 20, 30)));
    Pen pen(CreatePen(PS_SOLID, 1, RGB(10, 20, 30)));
    Region region(CreateRectRgn(0, 0, 4, 4));
    made = {dc.Get(), bitmap.Get(), font.Get(), brush.Get(), pen.Get(), region.Get()};
    for (HGDIOBJ object : made) ASSERT_NE(GetObjectType(object), 0u);

    const HGDIOBJ original = GetCurrentObject(dc.Get(), OBJ_BITMAP);
    {
      SelectedObject selected(dc.Get(), bitmap.Get());
      ASSERT_TRUE(selected);
      EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BITMAP), bitmap.Get());
    }
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_BITMAP), original);
    // Declared after the font it selects, so the font is deselected before it is deleted.
    SelectedObject font_selected(dc.Get(), font.Get());
    EXPECT_EQ(GetCurrentObject(dc.Get(), OBJ_FONT), font.Get());
  }
  for (HGDIOBJ object : made) EXPECT_EQ(GetObjectType(object), 0u) << object;
  EXPECT_EQ(GdiObjectCount(), count_before);
}

TEST(KernelOwners, MoveResetAndReleaseCloseEachHandleOnce) {
  HANDLE first = nullptr;
  {
    KernelHandle event(CreateEventW(nullptr, TRUE, FALSE, nullptr));
    ASSERT_TRUE(event);
    first = event.Get();
    KernelHandle moved = std::move(event);
    EXPECT_FALSE(event);
    EXPECT_EQ(moved.Get(), first);
    EXPECT_TRUE(IsOpen(first));
  }
  EXPECT_FALSE(IsOpen(first)) << "closed when its last owner went";

  KernelHandle kept(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  const HANDLE handed_out = kept.Release();
  EXPECT_FALSE(kept);
  EXPECT_TRUE(IsOpen(handed_out)) << "Release hands the handle over without closing it";
  KernelHandle other(CreateEventW(nullptr, TRUE, FALSE, nullptr));
  const HANDLE replaced = other.Get();
  other = KernelHandle(handed_out);
  EXPECT_FALSE(IsOpen(replaced)) << "move assignment closes the handle it replaces";
  other.Reset(other.Get());
  EXPECT_TRUE(IsOpen(handed_out)) << "resetting to the same handle keeps it";
  other.Reset();
  EXPECT_FALSE(IsOpen(handed_out));

  // CreateFile's "none" is INVALID_HANDLE_VALUE, which is also the current process's pseudo
  // handle: its owner must hold nothing and close nothing.
  FileHandle missing(CreateFileW(L"C:\\no such folder\\no such file", GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                 FILE_ATTRIBUTE_NORMAL, nullptr));
  EXPECT_FALSE(missing);
}

TEST(UserOwners, IconsMenusAndModulesAreDestroyedAtScopeExit) {
  ASSERT_EQ(GetModuleHandleW(L"msimg32.dll"), nullptr) << "the test needs a DLL nothing else loaded";
  HICON raw_icon = nullptr;
  HMENU raw_menu = nullptr;
  {
    const BYTE and_mask[2 * 16] = {}, xor_mask[2 * 16] = {};
    Icon icon(CreateIcon(nullptr, 16, 16, 1, 1, and_mask, xor_mask));
    Menu menu(CreatePopupMenu());
    Module module(LoadLibraryW(L"msimg32.dll"));
    ASSERT_TRUE(icon && menu && module);
    raw_icon = icon.Get();
    raw_menu = menu.Get();
    ICONINFO info{};
    ASSERT_TRUE(GetIconInfo(raw_icon, &info));
    DeleteObject(info.hbmMask);
    DeleteObject(info.hbmColor);
  }
  ICONINFO info{};
  EXPECT_FALSE(GetIconInfo(raw_icon, &info));
  EXPECT_FALSE(IsMenu(raw_menu));
  EXPECT_EQ(GetModuleHandleW(L"msimg32.dll"), nullptr);
}

}  // namespace
}  // namespace quill::win
