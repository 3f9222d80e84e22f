#include "middleware/storage/win/com/tests/store_com_fixture.h"

#include <gtest/gtest.h>

#include "middleware/objects/win/feature_slots.h"
#include "middleware/objects/win/system_driver_handler.h"
#include "middleware/transport/device_ids.h"

namespace quill::test {

// The registration stays in the test prefix: every test of the run needs it.
void StoreComTest::SetUpTestSuite() { ASSERT_EQ(Regsvr32(false), 0); }

void StoreComTest::SetUp() {
  ComTest::SetUp();
  device_ = MakeDeviceType(true);
  ASSERT_TRUE(device_);
  ClearStore();
}

void StoreComTest::ClearStore() {
  macros_.Reset();
  actions_.Reset();
  RemoveDeviceKey();
  ASSERT_EQ(device_->CreateMacroHandlingInterface(macros_.Put()), S_OK);
  ASSERT_EQ(device_->CreateUserActionInterface(actions_.Put()), S_OK);
  ASSERT_TRUE(macros_ && actions_);
}

void StoreComTest::TearDown() {
  macros_.Reset();
  actions_.Reset();
  device_.Reset();
  for (const std::wstring& file : temp_files_) DeleteFileW(file.c_str());
  RemoveDeviceKey();
  ComTest::TearDown();
}

com::ComPtr<server::CDeviceType> StoreComTest::MakeDeviceType(bool open) {
  com::ComPtr<server::CDeviceType> device = com::MakeComObject<server::CDeviceType>(
      &server::MakeSystemDriverHandler, server::ProductFeatureMakers());
  if (device && open) device->OpenDeviceInterface(QUILLFERN_PID);  // no mouse: the search fails
  return device;
}

std::wstring StoreComTest::DeviceKeyPath() { return L"Software\\Torvo\\TorvoControl_0C31"; }

std::wstring StoreComTest::CollectionPath(const wchar_t* collection) {
  return DeviceKeyPath() + L"\\" + collection;
}

void StoreComTest::RemoveDeviceKey() {
  const LSTATUS status = RegDeleteTreeW(HKEY_LOCAL_MACHINE, DeviceKeyPath().c_str());
  ASSERT_TRUE(status == ERROR_SUCCESS || status == ERROR_FILE_NOT_FOUND) << status;
}

int64_t StoreComTest::ReadDword(const wchar_t* collection, const wchar_t* item, const wchar_t* value) {
  DWORD data = 0;
  DWORD size = sizeof data;
  const std::wstring path = CollectionPath(collection) + L"\\" + item;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, path.c_str(), value, RRF_RT_REG_DWORD, nullptr, &data, &size) !=
      ERROR_SUCCESS) {
    return -1;
  }
  return data;
}

bool StoreComTest::WriteDword(const wchar_t* collection, const wchar_t* item, const wchar_t* value,
                              DWORD data) {
  const std::wstring path = CollectionPath(collection) + L"\\" + item;
  return RegSetKeyValueW(HKEY_LOCAL_MACHINE, path.c_str(), value, REG_DWORD, &data, sizeof data) ==
         ERROR_SUCCESS;
}

std::vector<uint8_t> StoreComTest::ReadBinary(const wchar_t* collection, const wchar_t* item,
                                              const wchar_t* value) {
  const std::wstring path = CollectionPath(collection) + L"\\" + item;
  DWORD size = 0;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, path.c_str(), value, RRF_RT_REG_BINARY, nullptr, nullptr, &size) !=
      ERROR_SUCCESS) {
    return {};
  }
  std::vector<uint8_t> data(size);
  if (size > 0 && RegGetValueW(HKEY_LOCAL_MACHINE, path.c_str(), value, RRF_RT_REG_BINARY, nullptr,
                               data.data(), &size) != ERROR_SUCCESS) {
    return {};
  }
  data.resize(size);
  return data;
}

bool StoreComTest::ItemExists(const wchar_t* collection, const wchar_t* item) {
  return KeyExists(HKEY_LOCAL_MACHINE, CollectionPath(collection) + L"\\" + item);
}

std::wstring StoreComTest::TempFile(const wchar_t* stem) {
  wchar_t folder[MAX_PATH + 1] = {};
  GetTempPathW(MAX_PATH, folder);
  std::wstring path = std::wstring(folder) + stem + L"_" + std::to_wstring(GetCurrentProcessId()) + L".xml";
  DeleteFileW(path.c_str());
  temp_files_.push_back(path);
  return path;
}

void FreeNames(std::vector<LPWSTR>& names) {
  for (LPWSTR& name : names) {
    CoTaskMemFree(name);
    name = nullptr;
  }
}

std::vector<std::wstring> TakeBstrVector(SAFEARRAY* array, LONG count) {
  std::vector<std::wstring> names;
  EXPECT_NE(array, nullptr);
  if (!array) return names;
  VARTYPE vartype = VT_EMPTY;
  EXPECT_EQ(SafeArrayGetVartype(array, &vartype), S_OK);
  EXPECT_EQ(vartype, VT_BSTR);
  EXPECT_EQ(SafeArrayGetDim(array), 1u);
  LONG lower = -1;
  LONG upper = -2;
  EXPECT_EQ(SafeArrayGetLBound(array, 1, &lower), S_OK);
  EXPECT_EQ(SafeArrayGetUBound(array, 1, &upper), S_OK);
  EXPECT_EQ(lower, 0);
  EXPECT_EQ(upper, count - 1);
  for (LONG i = 0; i <= upper && i >= lower; ++i) {
    BSTR name = nullptr;
    EXPECT_EQ(SafeArrayGetElement(array, &i, &name), S_OK);  // a copy, the client's to free
    names.emplace_back(name ? name : L"", SysStringLen(name));
    SysFreeString(name);
  }
  EXPECT_EQ(SafeArrayDestroy(array), S_OK);
  return names;
}

}  // namespace quill::test
