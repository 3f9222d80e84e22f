// The seam between the store and the registry: one open key and the calls the store makes on it.
//
// Implementations: the Windows registry (middleware/storage/win/, under HKEY_LOCAL_MACHINE) and
// the in-memory tree of memory_registry.h for tests. Every call mirrors the Windows one it is
// written against; names compare without regard to case, as the registry does.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "middleware/typelib/hresult_codes.h"

namespace quill::storage {

// Registry value types (REG_*). Values are raw so that any stored type can be reported.
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegExpandSz = 2;
constexpr uint32_t kRegBinary = 3;
constexpr uint32_t kRegDword = 4;
constexpr uint32_t kRegMultiSz = 7;

// Longest key name the registry holds, in UTF-16 units.
constexpr size_t kMaxKeyNameLength = 255;

class RegistryKey {
 public:
  virtual ~RegistryKey() = default;

  // RegCreateKeyExW (options 0, KEY_ALL_ACCESS): the subkey at `path` (names separated by
  // backslashes), created with any missing parents.
  virtual HResult CreateSubkey(std::u16string_view path, std::unique_ptr<RegistryKey>& key) = 0;
  // RegOpenKeyExW (KEY_ALL_ACCESS): an existing subkey only; 0x80070002 when it is missing.
  virtual HResult OpenSubkey(std::u16string_view path, std::unique_ptr<RegistryKey>& key) = 0;
  // RegDeleteKeyW: a direct subkey that has no subkeys of its own.
  virtual HResult DeleteSubkey(std::u16string_view name) = 0;
  // RegQueryInfoKeyW: number of direct subkeys.
  virtual HResult CountSubkeys(uint32_t& count) = 0;
  // RegEnumKeyExW: name of the subkey at `index`; kE_NO_MORE_ITEMS past the last one.
  virtual HResult SubkeyName(uint32_t index, std::u16string& name) = 0;

  // RegQueryValueExW: type and bytes of a value at their real size. A value larger than
  // `max_size` bytes is not read (0x800700EA, `data` left empty).
  virtual HResult QueryValue(std::u16string_view name, size_t max_size, uint32_t& type,
                             std::vector<uint8_t>& data) = 0;
  // RegSetValueExW with the given type and bytes.
  virtual HResult SetValue(std::u16string_view name, uint32_t type,
                           std::span<const uint8_t> data) = 0;
  // RegDeleteValueW.
  virtual HResult DeleteValue(std::u16string_view name) = 0;

  // Held by a store operation from its first read to its last write (reference counts are
  // read, changed and written back), so that operations of other processes on the same
  // registry cannot interleave with it and lose an update. Recursive within a thread. Null
  // when there is nothing to serialise with (the in-memory tree lives in one thread).
  class WriteLock {
   public:
    virtual ~WriteLock() = default;
  };
  virtual std::unique_ptr<WriteLock> LockWrites() { return nullptr; }
};

}  // namespace quill::storage
