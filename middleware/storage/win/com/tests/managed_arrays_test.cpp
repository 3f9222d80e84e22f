// The SAFEARRAY helpers of the Managed methods: shapes of the vectors handed out, strings moved
// and freed, and the checks on input vectors (no read beyond what an array holds).
#include "middleware/storage/win/com/managed_arrays.h"

#include <windows.h>

#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "middleware/storage/win/com/tests/store_com_fixture.h"
#include "winsupport/co_task_string.h"

namespace quill::test {
namespace {

using server::InputVectorData;

class ManagedArraysTest : public ComTest {
 protected:
  static void SetUpTestSuite() { ASSERT_EQ(Regsvr32(false), 0); }
};

void ExpectVector(SAFEARRAY* array, VARTYPE vartype, ULONG count) {
  ASSERT_NE(array, nullptr);
  VARTYPE stored = VT_EMPTY;
  EXPECT_EQ(SafeArrayGetVartype(array, &stored), S_OK);
  EXPECT_EQ(stored, vartype);
  EXPECT_EQ(SafeArrayGetDim(array), 1u);
  EXPECT_EQ(array->rgsabound[0].lLbound, 0);
  EXPECT_EQ(array->rgsabound[0].cElements, count);
}

TEST_F(ManagedArraysTest, StringsMoveIntoABstrVectorAndAreFreed) {
  std::vector<LPWSTR> strings(3, nullptr);
  ASSERT_EQ(com::CoTaskStringDup(u"first", &strings[0]), S_OK);
  ASSERT_EQ(com::CoTaskStringDup(u"", &strings[2]), S_OK);
  SAFEARRAY* array = nullptr;
  ASSERT_EQ(server::CoTaskStringsToBstrVector(strings.data(), 3, &array), S_OK);
  for (LPWSTR s : strings) EXPECT_EQ(s, nullptr);
  ExpectVector(array, VT_BSTR, 3);
  EXPECT_EQ(TakeBstrVector(array, 3), (std::vector<std::wstring>{L"first", L"", L""}));

  // A failure still frees the strings.
  ASSERT_EQ(com::CoTaskStringDup(u"kept?", &strings[1]), S_OK);
  EXPECT_EQ(server::CoTaskStringsToBstrVector(strings.data(), 3, nullptr), E_POINTER);
  EXPECT_EQ(strings[1], nullptr);
  array = reinterpret_cast<SAFEARRAY*>(1);
  EXPECT_EQ(server::CoTaskStringsToBstrVector(strings.data(), -1, &array), E_INVALIDARG);
  EXPECT_EQ(array, nullptr);
  EXPECT_EQ(server::CoTaskStringsToBstrVector(nullptr, 2, &array), E_POINTER);
  ASSERT_EQ(server::CoTaskStringsToBstrVector(nullptr, 0, &array), S_OK);
  ExpectVector(array, VT_BSTR, 0);
  SafeArrayDestroy(array);
}

TEST_F(ManagedArraysTest, ByteAndRecordVectors) {
  const BYTE bytes[] = {0xAA, 0x00, 0x55};
  SAFEARRAY* array = nullptr;
  ASSERT_EQ(server::MakeByteVector(bytes, 3, &array), S_OK);
  ExpectVector(array, VT_UI1, 3);
  EXPECT_EQ(memcmp(array->pvData, bytes, 3), 0);
  SafeArrayDestroy(array);
  EXPECT_EQ(server::MakeByteVector(nullptr, 1, &array), E_POINTER);
  EXPECT_EQ(array, nullptr);
  ASSERT_EQ(server::MakeByteVector(nullptr, 0, &array), S_OK);
  ExpectVector(array, VT_UI1, 0);
  SafeArrayDestroy(array);

  com::ComPtr<IRecordInfo> info;
  ASSERT_EQ(server::ServerRecordInfo(GUID_TMacroElementManaged, info.Put()), S_OK);
  ULONG size = 0;
  ASSERT_EQ(info->GetSize(&size), S_OK);
  EXPECT_EQ(size, sizeof(TMacroElementManaged));
  ASSERT_EQ(server::MakeRecordVector(info.Get(), 4, &array), S_OK);
  ExpectVector(array, VT_RECORD, 4);
  EXPECT_EQ(array->cbElements, sizeof(TMacroElementManaged));
  const auto* records = static_cast<const TMacroElementManaged*>(array->pvData);
  EXPECT_EQ(records[3].lHoldMs, 0);  // zeroed
  SafeArrayDestroy(array);
  EXPECT_EQ(server::MakeRecordVector(nullptr, 1, &array), E_POINTER);
  EXPECT_EQ(server::MakeRecordVector(info.Get(), -1, &array), E_INVALIDARG);

  IRecordInfo* none = reinterpret_cast<IRecordInfo*>(1);
  EXPECT_TRUE(FAILED(server::ServerRecordInfo(IID_IUnknown, &none)));
  EXPECT_EQ(none, nullptr);
}

// Input vectors are read through their data pointer only after their shape is checked.
TEST_F(ManagedArraysTest, InputVectorsAreCheckedBeforeTheirDataIsRead) {
  SAFEARRAY* bstrs = SafeArrayCreateVector(VT_BSTR, 0, 2);
  SAFEARRAY* shifted = SafeArrayCreateVector(VT_BSTR, 5, 2);
  SAFEARRAY* longs = SafeArrayCreateVector(VT_I4, 0, 2);
  SAFEARRAYBOUND bounds[2] = {{2, 0}, {2, 0}};
  SAFEARRAY* square = SafeArrayCreate(VT_BSTR, 2, bounds);
  ASSERT_TRUE(bstrs && shifted && longs && square);

  struct Case {
    const char* what;
    SAFEARRAY* array;
    VARTYPE vartype;
    ULONG element_size;
    LONG count;
    HRESULT expected;
  };
  const Case cases[] = {
      {"all of it", bstrs, VT_BSTR, sizeof(BSTR), 2, S_OK},
      {"fewer than it holds", bstrs, VT_BSTR, sizeof(BSTR), 1, S_OK},
      {"another lower bound", shifted, VT_BSTR, sizeof(BSTR), 2, S_OK},
      {"more than it holds", bstrs, VT_BSTR, sizeof(BSTR), 3, E_INVALIDARG},
      {"negative count", bstrs, VT_BSTR, sizeof(BSTR), -1, E_INVALIDARG},
      {"other element type", longs, VT_BSTR, sizeof(BSTR), 1, E_INVALIDARG},
      {"other element size", bstrs, VT_BSTR, 4, 1, E_INVALIDARG},
      {"two dimensions", square, VT_BSTR, sizeof(BSTR), 1, E_INVALIDARG},
      {"null array", nullptr, VT_BSTR, sizeof(BSTR), 1, E_POINTER},
      {"null array, nothing read", nullptr, VT_BSTR, sizeof(BSTR), 0, S_OK},
  };
  for (const Case& c : cases) {
    void* data = reinterpret_cast<void*>(1);
    EXPECT_EQ(InputVectorData(c.array, c.vartype, c.element_size, c.count, &data), c.expected) << c.what;
    if (c.expected == S_OK) {
      EXPECT_EQ(data, c.array ? c.array->pvData : nullptr) << c.what;
    } else {
      EXPECT_EQ(data, nullptr) << c.what;
    }
  }
  EXPECT_EQ(InputVectorData(bstrs, VT_BSTR, sizeof(BSTR), 1, nullptr), E_POINTER);
  for (SAFEARRAY* array : {bstrs, shifted, longs, square}) SafeArrayDestroy(array);
}

}  // namespace
}  // namespace quill::test
