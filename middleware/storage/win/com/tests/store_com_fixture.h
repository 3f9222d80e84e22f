// Fixture of the Windows tests of the store's COM objects: the server module registered in the
// prefix (for the record information of its type library), a device type object of this process
// opened on the Quillfern's product ID (no mouse is needed: the store only takes its device key
// name), and the device's registry key removed before and after each test.
#pragma once
#include <ServerLib.h>
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "middleware/objects/tests/win/test_support.h"
#include "middleware/objects/win/device_type.h"
#include "winsupport/com_ptr.h"

namespace quill::test {

class StoreComTest : public ComTest {
 protected:
  static void SetUpTestSuite();
  void SetUp() override;
  void TearDown() override;

  // A device type object of this process, opened (search result ignored) or left closed.
  static com::ComPtr<server::CDeviceType> MakeDeviceType(bool open);

  // "Software\Torvo\TorvoControl_0C31" and one of its collections ("Macros", ...).
  static std::wstring DeviceKeyPath();
  static std::wstring CollectionPath(const wchar_t* collection);
  static void RemoveDeviceKey();
  // Releases the interface objects (which keep their collection keys open), removes the
  // device's key and makes new objects on an empty store.
  void ClearStore();
  // A REG_DWORD of an item; -1 when it cannot be read.
  static int64_t ReadDword(const wchar_t* collection, const wchar_t* item, const wchar_t* value);
  static bool WriteDword(const wchar_t* collection, const wchar_t* item, const wchar_t* value, DWORD data);
  // A REG_BINARY of an item; empty when it cannot be read.
  static std::vector<uint8_t> ReadBinary(const wchar_t* collection, const wchar_t* item, const wchar_t* value);
  static bool ItemExists(const wchar_t* collection, const wchar_t* item);
  // A file name in the temporary folder, removed by TearDown.
  std::wstring TempFile(const wchar_t* stem);

  com::ComPtr<server::CDeviceType> device_;
  com::ComPtr<IMacroHandling> macros_;
  com::ComPtr<IUserAction> actions_;

 private:
  std::vector<std::wstring> temp_files_;
};

// Frees every string of a caller-sized name array the way a client must.
void FreeNames(std::vector<LPWSTR>& names);
// The names of a VT_BSTR SAFEARRAY after checking its shape (one dimension, lower bound 0,
// `count` elements); the array is destroyed.
std::vector<std::wstring> TakeBstrVector(SAFEARRAY* array, LONG count);

}  // namespace quill::test
