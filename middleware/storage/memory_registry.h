// An in-memory registry tree behind the RegistryKey seam, for tests and benchmarks.
//
// It keeps the registry's rules that the store relies on: key and value names compare without
// regard to case (upper-case folding of ASCII and Latin-1), subkeys enumerate in that folded
// order, a key with subkeys cannot be deleted, a deleted key's handles fail with
// ERROR_KEY_DELETED. A fault hook lets a test fail any call on any key.
#pragma once
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "middleware/storage/registry_key.h"

namespace quill::storage {

enum class RegistryOperation {
  kCreateSubkey,
  kOpenSubkey,
  kDeleteSubkey,
  kCountSubkeys,
  kSubkeyName,
  kQueryValue,
  kSetValue,
  kDeleteValue,
};

class MemoryRegistry {
 public:
  // Called before every operation with the key's full path (names joined by backslashes, empty
  // for the root) and the subkey path or value name it names. A non-zero Windows error makes
  // the operation fail with that error and change nothing.
  using FaultHook =
      std::function<uint32_t(RegistryOperation, std::u16string_view key_path, std::u16string_view name)>;

  MemoryRegistry();
  ~MemoryRegistry();
  MemoryRegistry(const MemoryRegistry&) = delete;
  MemoryRegistry& operator=(const MemoryRegistry&) = delete;

  // A new handle on the root of the tree (the store's HKEY_LOCAL_MACHINE). Handles may outlive
  // the registry object.
  std::unique_ptr<RegistryKey> Root();

  void SetFaultHook(FaultHook hook);

  // Every key path, value name, type and bytes, in enumeration order: two trees are equal when
  // their dumps are.
  std::string Dump() const;

  struct State;

 private:
  std::shared_ptr<State> state_;
};

// Upper-case folding used for name comparison (ASCII and Latin-1 letters).
char16_t FoldRegistryCase(char16_t c);
bool RegistryNamesEqual(std::u16string_view a, std::u16string_view b);

}  // namespace quill::storage
