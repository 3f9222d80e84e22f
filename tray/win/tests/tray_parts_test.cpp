// Windows parts of the tray on their own: the event sink's interfaces and reference count, ANSI
// texts within their buffer, and DPI bitmaps loaded once however many events arrive.
#include <gtest/gtest.h>

#include <string>

#include "common/win/ansi_text.h"
#include "middleware/objects/tests/win/test_support.h"
#include "osd/tests/win/gdi_count.h"
#include "tray/win/event_sink.h"
#include "tray/win/osd_displays.h"

namespace quill::tray {
namespace {

struct RecordingOwner final : SinkOwner {
  void OnMeridexInfo(const _TMeridexInfoType& info) override {
    ++calls;
    last = info;
  }
  int calls = 0;
  _TMeridexInfoType last{};
};

TEST(TraySink, FourInterfacesOneCountEventsToTheOwnerUntilDetached) {
  RecordingOwner owner;
  CSink* sink = new CSink(&owner);
  const IID* iids[] = {&IID_IUnknown, &IID__IOTFSEvents, &IID__IMeridexProfileManagerEvents, &IID__IDpiEvents,
                       &IID__IMeridexEvents};
  for (const IID* iid : iids) {
    IUnknown* p = nullptr;
    ASSERT_EQ(sink->QueryInterface(*iid, reinterpret_cast<void**>(&p)), S_OK);
    EXPECT_EQ(p->AddRef(), 3u);    // one count for every interface
    EXPECT_EQ(p->Release(), 2u);
    EXPECT_EQ(p->Release(), 1u);
  }
  void* none = reinterpret_cast<void*>(1);
  EXPECT_EQ(sink->QueryInterface(IID_IConnectionPoint, &none), E_NOINTERFACE);
  EXPECT_EQ(none, nullptr);

  _IMeridexEvents* events = nullptr;
  ASSERT_EQ(sink->QueryInterface(IID__IMeridexEvents, reinterpret_cast<void**>(&events)), S_OK);
  _TMeridexInfoType info{3, 1600, 800, 2};
  EXPECT_EQ(events->OnMeridexEvent(&info), S_OK);
  EXPECT_EQ(owner.calls, 1);
  EXPECT_EQ(owner.last.DpiY, 800);
  EXPECT_EQ(events->OnMeridexEvent(nullptr), S_OK);
  sink->Detach();
  EXPECT_EQ(events->OnMeridexEvent(&info), S_OK);
  EXPECT_EQ(owner.calls, 1);
  EXPECT_EQ(events->Release(), 1u);
  EXPECT_EQ(sink->Release(), 0u);   // deleted here (ASan-free build: the count says it)
}

TEST(TrayAnsiText, CutToItsBufferAtACharacterBoundary) {
  EXPECT_EQ(win::ToAnsi(u"X:1600 Y:800"), "X:1600 Y:800");
  EXPECT_EQ(win::ToAnsi(std::u16string(300, u'a')), std::string(127, 'a'));
  EXPECT_EQ(win::ToAnsi(std::u16string(300, u'a'), 10), std::string(9, 'a'));
  EXPECT_EQ(win::ToAnsi(u"", 128), "");
  // A surrogate pair at the cut goes as a whole.
  const std::u16string pair = std::u16string(126, u'b') + u"\U0001F600";
  const std::string cut = win::ToAnsi(pair);
  EXPECT_LE(cut.size(), 127u);
  EXPECT_EQ(cut.substr(0, 126), std::string(126, 'b'));
}

TEST(TrayDpiBitmaps, EachLoadedOnceAndFreedWithTheCache) {
  const std::wstring exe = test::ExeDir() + L"\\TorvoQuillfernTray.exe";
  HMODULE module = LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_NE(module, nullptr);
  const bool present = FindResourceW(module, MAKEINTRESOURCEW(5040), reinterpret_cast<LPCWSTR>(RT_BITMAP)) != nullptr;
  {
    DpiBitmaps warmUp(module);   // the first load sets up the system's own objects, once
    warmUp.Get(5040);
  }
  const unsigned before = osd::test::GdiObjectCount();
  {
    DpiBitmaps bitmaps(module);
    HBITMAP first = bitmaps.Get(5040);
    EXPECT_EQ(first != nullptr, present);
    for (int i = 0; i < 1000; ++i) {
      EXPECT_EQ(bitmaps.Get(5040), first);
      bitmaps.Get(5000 + (i % 60));   // also ids without a resource
    }
    EXPECT_LE(bitmaps.LoadedCount(), 56u);
    if (!present) EXPECT_EQ(bitmaps.LoadedCount(), 0u);
    if (present) EXPECT_GT(osd::test::GdiObjectCount(), before);   // the count sees them
  }
  EXPECT_EQ(osd::test::GdiObjectCount(), before);
  FreeLibrary(module);
}

}  // namespace
}  // namespace quill::tray
