// Fixture of the IProfile tests: the emulated mouse and an opened device type object (the
// feature tests' fixture), the profile object made by its factory, and the store of the
// Quillfern's device key in the test prefix's registry, emptied before and after each test.
#pragma once
#include <ServerLib.h>
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "middleware/objects/tests/win/feature_fixture.h"
#include "middleware/storage/group_store.h"
#include "middleware/storage/profile_store.h"
#include "middleware/storage/registry_key.h"

namespace quill::test {

// "Software\Torvo\TorvoControl_0C31", the Quillfern's store below HKEY_LOCAL_MACHINE.
extern const wchar_t kStoreKey[];

class ProfileTest : public FeatureTest {
 protected:
  // The record information of the mapping record comes from the registered type library: the
  // module's is registered for the tests of the suite and unregistered after them.
  static void SetUpTestSuite();
  static void TearDownTestSuite();
  void SetUp() override;
  void TearDown() override;

  // Removes every collection of the Quillfern's store.
  static void ClearStore();
  // Empties the store under a new profile object (the old one's collection keys are gone with
  // the store).
  void EmptyStore();

  // Direct access to the store, for setting up and checking what the object wrote.
  storage::ProfileGroupStore& Groups() { return *groups_; }
  storage::ProfileStore& Profiles() { return groups_->profiles(); }
  storage::MacroStore& Macros() { return groups_->profiles().macros(); }
  storage::UserActionStore& UserActions() { return groups_->profiles().user_actions(); }
  // The stored "LastActive" (empty record and false when there is none).
  bool LoadLastActive(storage::ProfileRecord& record);
  void StoreMacro(const std::u16string& name);
  void StoreUserAction(const std::u16string& name);
  void StoreProfile(const std::u16string& name, const std::vector<storage::ButtonMapping>& mappings = {});
  int32_t RefCount(storage::RefCountedStore& store, const std::u16string& name);

  // A file name in the temporary folder, removed in TearDown.
  std::wstring TempFile(const wchar_t* stem);
  // Requests of command `cmd` whose byte 5 is `length`, since the log was last cleared.
  int RequestsWith(int cmd, int length);

  com::ComPtr<IProfile> profile_;

 private:
  std::unique_ptr<storage::RegistryKey> machine_;
  std::unique_ptr<storage::ProfileGroupStore> groups_;
  std::vector<std::wstring> files_;
};

// Takes over the CoTaskMem strings of `count` slots (freeing them) and returns them.
std::vector<std::wstring> TakeStrings(LPWSTR* slots, LONG count);

// Mapping records of the portable store.
storage::ButtonMapping Mapping(int32_t button, int32_t type, int32_t action, std::array<int32_t, 3> info,
                               std::u16string name = {});

inline std::wstring Wide(const std::u16string& text) { return {text.begin(), text.end()}; }

}  // namespace quill::test
