// CoTaskMem strings and BSTRs handed between COM callers.
#include <gtest/gtest.h>

#include <string>
#include <utility>

#include "winsupport/bstr.h"
#include "winsupport/co_task_string.h"

namespace quill {
namespace {

TEST(CoTaskString, BlocksAreExactlySizedAndNothingStaysOnFailure) {
  LPWSTR text = nullptr;
  ASSERT_EQ(com::CoTaskStringCopy(u"2.03", 8, &text), S_OK);
  EXPECT_EQ(com::AllocationSize(text), 8 * sizeof(wchar_t));
  EXPECT_EQ(std::wstring(text, 8), std::wstring(L"2.03\0\0\0\0", 8));  // zero-filled
  CoTaskMemFree(text);

  text = reinterpret_cast<LPWSTR>(1);
  EXPECT_EQ(com::CoTaskStringCopy(u"12345678", 8, &text), HRESULT(0x8007007A));
  EXPECT_EQ(text, nullptr);
  text = reinterpret_cast<LPWSTR>(1);
  EXPECT_EQ(com::CoTaskStringCopy(u"", 0, &text), HRESULT(0x8007007A));
  EXPECT_EQ(text, nullptr);
  EXPECT_EQ(com::CoTaskStringCopy(u"x", 2, nullptr), E_POINTER);

  ASSERT_EQ(com::CoTaskStringDup(u"VID_3A7C&PID_0C31", &text), S_OK);
  com::CoTaskMemPtr<wchar_t> owned(text);
  EXPECT_EQ(com::AllocationSize(owned.Get()), 18 * sizeof(wchar_t));
  EXPECT_EQ(std::wstring(owned.Get()), L"VID_3A7C&PID_0C31");
}

TEST(Bstr, OwnsItsStringUntilHandedOut) {
  com::Bstr text = com::Bstr::FromText(std::u16string(u"a\0b", 3));
  ASSERT_TRUE(text);
  EXPECT_EQ(text.Length(), 3u);  // embedded zeros are kept
  EXPECT_EQ(text.View(), std::u16string_view(u"a\0b", 3));
  BSTR raw = text.Detach();
  EXPECT_FALSE(text);
  EXPECT_EQ(text.View(), u"");
  com::Bstr adopted = com::Bstr::Adopt(raw);
  EXPECT_EQ(adopted.Get(), raw);
  com::Bstr moved = std::move(adopted);
  EXPECT_EQ(moved.Get(), raw);
  EXPECT_FALSE(adopted);
  *moved.Put() = SysAllocString(L"next");  // Put frees the old string first
  EXPECT_EQ(moved.View(), u"next");
}

}  // namespace
}  // namespace quill
