#include "middleware/storage/win/com/tests/profile_fixture.h"

#include <cstdio>
#include <sstream>

#include "middleware/objects/tests/win/test_support.h"
#include "middleware/storage/store_names.h"
#include "middleware/storage/win/win_registry_key.h"

namespace quill::test {

const wchar_t kStoreKey[] = L"Software\\Torvo\\TorvoControl_0C31";
namespace {
constexpr std::u16string_view kDeviceKey = u"TorvoControl_0C31";
}

void ProfileTest::SetUpTestSuite() {
  ITypeLib* library = nullptr;
  if (SUCCEEDED(LoadTypeLibEx(ServerPath().c_str(), REGKIND_REGISTER, &library))) library->Release();
}

void ProfileTest::TearDownTestSuite() {
  UnRegisterTypeLib(LIBID_ServerLib, 1, 0, LOCALE_NEUTRAL, SYS_WIN64);
}

void ProfileTest::ClearStore() { RegDeleteTreeW(HKEY_LOCAL_MACHINE, kStoreKey); }

void ProfileTest::SetUp() {
  FeatureTest::SetUp();
  if (HasFatalFailure()) return;
  machine_ = storage::LocalMachineKey();
  EmptyStore();
}

void ProfileTest::EmptyStore() {
  profile_.Reset();
  groups_.reset();
  ClearStore();
  ASSERT_EQ(storage::ProfileGroupStore::Create(*machine_, kDeviceKey, groups_), S_OK);
  ASSERT_EQ(open_->CreateProfileInterface(profile_.Put()), S_OK);
  ASSERT_TRUE(profile_);
}

void ProfileTest::TearDown() {
  profile_.Reset();
  groups_.reset();
  machine_.reset();
  ClearStore();
  for (const std::wstring& file : files_) DeleteFileW(file.c_str());
  FeatureTest::TearDown();
}

bool ProfileTest::LoadLastActive(storage::ProfileRecord& record) {
  record = {};
  std::unique_ptr<storage::PrivateProfileStore> store;
  if (Failed(storage::PrivateProfileStore::Create(*machine_, kDeviceKey, store))) return false;
  return Succeeded(store->Load(storage::kLastActiveProfile, record));
}

void ProfileTest::StoreMacro(const std::u16string& name) {
  storage::MacroRecord macro;
  macro.version = 1;
  macro.repeat = 2;
  macro.elements.push_back({1, {0x1E, 0, 0}, 10, 0});
  ASSERT_EQ(Macros().Save(name, macro), S_OK);
}

void ProfileTest::StoreUserAction(const std::u16string& name) {
  storage::UserActionRecord action;
  action.code = 7;
  action.data = {1, 2, 3};
  ASSERT_EQ(UserActions().Save(name, action), S_OK);
}

void ProfileTest::StoreProfile(const std::u16string& name, const std::vector<storage::ButtonMapping>& mappings) {
  storage::ProfileRecord profile;
  profile.version = 4;
  profile.mappings = mappings;
  ASSERT_EQ(Profiles().Save(name, profile), S_OK);
}

int32_t ProfileTest::RefCount(storage::RefCountedStore& store, const std::u16string& name) {
  int32_t count = -1;
  return Succeeded(store.ReadRefCount(name, count)) ? count : -1;
}

std::wstring ProfileTest::TempFile(const wchar_t* stem) {
  wchar_t folder[MAX_PATH];
  GetTempPathW(MAX_PATH, folder);
  std::wstring path = std::wstring(folder) + stem + std::to_wstring(GetCurrentProcessId()) + L".xml";
  DeleteFileW(path.c_str());
  files_.push_back(path);
  return path;
}

int ProfileTest::RequestsWith(int cmd, int length) {
  char needle[32];
  std::snprintf(needle, sizeof needle, " request cmd=%02x ", cmd);
  std::istringstream lines(Ctl("log").output);
  int count = 0;
  for (std::string line; std::getline(lines, line);) {
    const size_t bytes = line.find("bytes=");
    if (line.find(needle) == std::string::npos || bytes == std::string::npos) continue;
    // Each byte is two digits and a space: byte 5 starts 15 characters after "bytes=".
    count += std::stoi(line.substr(bytes + 6 + 15, 2), nullptr, 16) == length;
  }
  return count;
}

std::vector<std::wstring> TakeStrings(LPWSTR* slots, LONG count) {
  std::vector<std::wstring> out;
  for (LONG i = 0; i < count; ++i) {
    out.push_back(slots[i] ? slots[i] : L"(null)");
    CoTaskMemFree(slots[i]);
    slots[i] = nullptr;
  }
  return out;
}

storage::ButtonMapping Mapping(int32_t button, int32_t type, int32_t action, std::array<int32_t, 3> info,
                               std::u16string name) {
  storage::ButtonMapping m;
  m.button = button;
  m.mapping_type = type;
  m.action_type = action;
  m.info = info;
  m.name = std::move(name);
  return m;
}

}  // namespace quill::test
