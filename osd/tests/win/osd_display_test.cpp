// OSD.dll through its import library, as the tray uses it: the creation sequence, the call
// log, the display windows on the screen, and the GDI objects of many calls.
#include <windows.h>

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "osd/osd_api.h"
#include "osd/tests/win/gdi_count.h"
#include "osd/tests/win/test_bitmap.h"
#include "osd/tests/win/tray_sequence.h"

namespace quill::osd {
namespace {

std::wstring LogPath() {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  return std::wstring(folder) + L"quill_osd_test_" + std::to_wstring(GetCurrentProcessId()) + L".log";
}

std::vector<std::string> LogLines() {
  std::ifstream file{std::filesystem::path(LogPath())};
  std::vector<std::string> lines;
  for (std::string line; std::getline(file, line);) lines.push_back(line);
  return lines;
}

// Runs the window messages of this thread until `done` holds or 15 s have passed.
template <typename Condition>
bool PumpUntil(Condition done) {
  const ULONGLONG end = GetTickCount64() + 15000;
  while (GetTickCount64() < end) {
    MSG message;
    while (PeekMessageW(&message, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&message);
    if (done()) return true;
    MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
  }
  return done();
}

struct TrayDisplay {
  IOsdDisplay* display = nullptr;
  std::string id;  // "d1", ...
  HWND window = nullptr;
};

TrayDisplay CreateLikeTheTray(const char* name, int anchor_x, int anchor_y) {
  TrayDisplay made;
  made.display = test::CreateLikeTheTray(name, anchor_x, anchor_y);
  if (!made.display) return made;
  // The display's id from its OsdCreate line, 16 lines before the end.
  const std::vector<std::string> lines = LogLines();
  const std::string& created = lines.at(lines.size() - 16);
  made.id = created.substr(0, created.find(' '));
  const std::wstring title = L"Quillfern OSD " + std::wstring(made.id.begin(), made.id.end());
  made.window = FindWindowW(L"QuillfernOsdWindow", title.c_str());
  return made;
}

RECT WorkAreaUnderPointer() {
  POINT pointer{};
  GetCursorPos(&pointer);
  MONITORINFO info{};
  info.cbSize = sizeof info;
  GetMonitorInfoW(MonitorFromPoint(pointer, MONITOR_DEFAULTTOPRIMARY), &info);
  return info.rcWork;
}

RECT WindowRect(HWND window) {
  RECT rect{};
  GetWindowRect(window, &rect);
  return rect;
}

class OsdDisplayTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    DeleteFileW(LogPath().c_str());
    SetEnvironmentVariableW(L"QUILLFERN_OSD_LOG", LogPath().c_str());
    OsdInitialize(0);
    profile_ = CreateLikeTheTray("- |||||||||||||||||||| +", 98, 95);
    x_ = CreateLikeTheTray("", 99, 94);
    y_ = CreateLikeTheTray("", 95, 94);
    creation_log_ = LogLines();
  }
  static void TearDownTestSuite() {
    SetEnvironmentVariableW(L"QUILLFERN_OSD_LOG", nullptr);
    DeleteFileW(LogPath().c_str());
  }
  void TearDown() override {
    for (TrayDisplay* d : {&profile_, &x_, &y_}) {
      if (d->display) d->display->Hide();
    }
    PumpUntil([] { return !IsWindowVisible(profile_.window) && !IsWindowVisible(x_.window) && !IsWindowVisible(y_.window); });
  }

  static TrayDisplay profile_, x_, y_;
  static std::vector<std::string> creation_log_;
};
TrayDisplay OsdDisplayTest::profile_, OsdDisplayTest::x_, OsdDisplayTest::y_;
std::vector<std::string> OsdDisplayTest::creation_log_;

TEST_F(OsdDisplayTest, EveryCallOfTheCreationSequenceIsOneLogLine) {
  ASSERT_TRUE(profile_.display && x_.display && y_.display);
  ASSERT_EQ(creation_log_.size(), 1u + 3 * 16);
  EXPECT_EQ(creation_log_[0], "osd OsdInitialize 0");
  const struct {
    const TrayDisplay* display;
    std::string name, x, y;
  } displays[] = {{&profile_, "- |||||||||||||||||||| +", "98", "95"}, {&x_, "", "99", "94"}, {&y_, "", "95", "94"}};
  size_t line = 1;
  for (const auto& d : displays) {
    const std::string& id = d.display->id;
    const std::string quoted = "\"" + d.name + "\"";
    const std::vector<std::string> expected = {
        id + " OsdCreate " + quoted,         id + " SetAttribute 3 149",
        id + " SetAttribute 4 0xFF00AA00",    id + " SetAttribute 5 0xFF00FF00",
        id + " SetOffset 0 0",                id + " SetAttribute 1 " + d.x,
        id + " SetAttribute 2 " + d.y,        id + " SetAttribute 11 230",
        id + " SetAttribute 9 0",             id + " SetAttribute 10 1",
        id + " SetAttribute 6 \"Arial\"",     id + " SetAttribute 7 24",
        id + " SetText " + quoted,            id + " Hide",
        id + " SetTopMost 1",                 id + " SetClickThrough 1"};
    for (const std::string& want : expected) EXPECT_EQ(creation_log_[line++], want);
  }
  EXPECT_NE(profile_.id, x_.id);
  EXPECT_NE(x_.id, y_.id);
}

TEST_F(OsdDisplayTest, BitmapsAndTextsAreLoggedWithTheirSizeOrQuoted) {
  HBITMAP bitmap = test::MakeKeyedBitmap(96, 48);
  const size_t before = LogLines().size();
  x_.display->SetBitmap(bitmap, 0xFFFF00FF);
  x_.display->SetBitmap(nullptr, 0xFFFF00FF);
  x_.display->SetText("X:1600 \"Y\":800");
  x_.display->Show();
  EXPECT_EQ(x_.display->IsVisible(), 1);
  const std::vector<std::string> lines = LogLines();
  ASSERT_EQ(lines.size(), before + 5);
  EXPECT_EQ(lines[before], x_.id + " SetBitmap bitmap 96x48 0xFFFF00FF");
  EXPECT_EQ(lines[before + 1], x_.id + " SetBitmap null 0xFFFF00FF");
  EXPECT_EQ(lines[before + 2], x_.id + " SetText \"X:1600 \\\"Y\\\":800\"");
  EXPECT_EQ(lines[before + 3], x_.id + " Show");
  EXPECT_EQ(lines[before + 4], x_.id + " IsVisible");
  DeleteObject(bitmap);
}

TEST_F(OsdDisplayTest, ShownDisplayIsTopMostClickThroughAndNeverActiveThenHides) {
  ASSERT_NE(profile_.window, nullptr);
  profile_.display->SetText("              Gaming");
  profile_.display->Show();
  ASSERT_TRUE(PumpUntil([] { return IsWindowVisible(profile_.window) != FALSE; }));
  const LONG_PTR ex_style = GetWindowLongPtrW(profile_.window, GWL_EXSTYLE);
  for (LONG_PTR flag : {LONG_PTR{WS_EX_LAYERED}, LONG_PTR{WS_EX_TOPMOST}, LONG_PTR{WS_EX_TOOLWINDOW},
                        LONG_PTR{WS_EX_NOACTIVATE}, LONG_PTR{WS_EX_TRANSPARENT}}) {
    EXPECT_EQ(ex_style & flag, flag) << std::hex << "extended style " << ex_style << " lacks " << flag;
  }
  EXPECT_NE(GetForegroundWindow(), profile_.window);
  EXPECT_NE(GetActiveWindow(), profile_.window);
  EXPECT_EQ(profile_.display->IsVisible(), 1);

  const RECT work = WorkAreaUnderPointer(), rect = WindowRect(profile_.window);
  EXPECT_GT(rect.right - rect.left, 0);
  EXPECT_GE(rect.left, work.left);
  EXPECT_GE(rect.top, work.top);
  EXPECT_LE(rect.right, work.right);
  EXPECT_LE(rect.bottom, work.bottom);

  profile_.display->SetClickThrough(0);
  EXPECT_EQ(GetWindowLongPtrW(profile_.window, GWL_EXSTYLE) & WS_EX_TRANSPARENT, 0);
  profile_.display->SetClickThrough(1);
  EXPECT_NE(GetWindowLongPtrW(profile_.window, GWL_EXSTYLE) & WS_EX_TRANSPARENT, 0);

  profile_.display->Hide();
  EXPECT_EQ(profile_.display->IsVisible(), 0);
  EXPECT_TRUE(PumpUntil([] { return !IsWindowVisible(profile_.window); }));
}

TEST_F(OsdDisplayTest, ShownDisplayLeftWithNothingToShowDisappears) {
  y_.display->SetText("X:800 Y:800");
  y_.display->Show();
  ASSERT_TRUE(PumpUntil([] { return IsWindowVisible(y_.window) != FALSE; }));
  y_.display->SetText("");
  EXPECT_TRUE(PumpUntil([] { return !IsWindowVisible(y_.window); }));
}

TEST_F(OsdDisplayTest, TextWiderThanTheScreenIsMadeSmallerToFitTheWorkArea) {
  const std::string long_text(127, 'W');  // the longest text the tray's buffer holds
  profile_.display->SetText(long_text.c_str());
  profile_.display->Show();
  ASSERT_TRUE(PumpUntil([] { return IsWindowVisible(profile_.window) != FALSE; }));
  const RECT work = WorkAreaUnderPointer(), rect = WindowRect(profile_.window);
  EXPECT_GE(rect.left, work.left);
  EXPECT_LE(rect.right, work.right);
  EXPECT_GT(rect.right - rect.left, (work.right - work.left) / 2);
}

TEST_F(OsdDisplayTest, DpiDisplaysStandSideBySideAndClearOfTheProfileDisplay) {
  HBITMAP bitmap = test::MakeKeyedBitmap(128, 48);
  x_.display->SetBitmap(bitmap, 0xFFFF00FF);
  x_.display->Show();
  y_.display->SetBitmap(bitmap, 0xFFFF00FF);
  y_.display->Show();
  profile_.display->SetText("     Sehr langer Name");
  profile_.display->Show();
  DeleteObject(bitmap);  // the displays keep their own copies
  // The DPI displays were placed before the profile display took its new size; they move when
  // it does.
  ASSERT_TRUE(PumpUntil([] {
    if (!IsWindowVisible(x_.window) || !IsWindowVisible(y_.window) || !IsWindowVisible(profile_.window)) return false;
    const RECT x = WindowRect(x_.window), y = WindowRect(y_.window), p = WindowRect(profile_.window);
    RECT common;
    return !IntersectRect(&common, &x, &p) && !IntersectRect(&common, &y, &p);
  }));
  const RECT work = WorkAreaUnderPointer();
  const RECT x = WindowRect(x_.window), y = WindowRect(y_.window), p = WindowRect(profile_.window);
  RECT common;
  EXPECT_FALSE(IntersectRect(&common, &x, &y));
  EXPECT_FALSE(IntersectRect(&common, &x, &p));
  EXPECT_FALSE(IntersectRect(&common, &y, &p));
  EXPECT_LE(y.right, x.left) << "Y stands left of X";
  for (const RECT& r : {x, y, p}) {
    EXPECT_TRUE(r.left >= work.left && r.top >= work.top && r.right <= work.right && r.bottom <= work.bottom);
  }
}

TEST_F(OsdDisplayTest, ThousandRoundsOfCallsLeaveTheGdiObjectCountFlat) {
  HBITMAP bitmap = test::MakeKeyedBitmap(96, 48);
  auto round = [&] {
    x_.display->SetBitmap(bitmap, 0xFFFF00FF);
    x_.display->Show();
    x_.display->SetText("X:800 Y:800");
    x_.display->Show();
    x_.display->Hide();
  };
  auto settle = [] { return PumpUntil([] { return !IsWindowVisible(x_.window); }); };
  SetEnvironmentVariableW(L"QUILLFERN_OSD_LOG", nullptr);  // a thousand rounds need no log
  round();
  ASSERT_TRUE(settle());
  const unsigned before = test::GdiObjectCount();
  ASSERT_GT(before, 0u);
  for (int i = 0; i < 1000; ++i) {
    round();
    if (i % 100 == 0) PumpUntil([] { return true; });
  }
  ASSERT_TRUE(settle());
  EXPECT_EQ(test::GdiObjectCount(), before);
  SetEnvironmentVariableW(L"QUILLFERN_OSD_LOG", LogPath().c_str());
  DeleteObject(bitmap);
}

}  // namespace
}  // namespace quill::osd
