// Reading and writing the typed values of one item key.
//
// Every read checks the stored type and size: a value of another type, or of a size its layout
// cannot have, is kE_INVALID_DATA; a string longer than the bound the caller gives is not read
// (kE_MORE_DATA). Writes go through a ValueList so that a whole item can be written, and written
// back, from one description.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "middleware/storage/registry_key.h"
#include "middleware/storage/store_names.h"

namespace quill::storage {

struct StoredValue {
  std::u16string name;
  uint32_t type = 0;
  std::vector<uint8_t> data;
};
using ValueList = std::vector<StoredValue>;

void AddDword(ValueList& values, std::u16string_view name, int32_t value);
void AddString(ValueList& values, std::u16string_view name, std::u16string_view text);
void AddBinary(ValueList& values, std::u16string_view name, std::vector<uint8_t> data);

// Writes the values in order; stops at the first failure.
HResult WriteValues(RegistryKey& key, const ValueList& values);

// REG_DWORD of four bytes.
HResult ReadDword(RegistryKey& key, std::u16string_view name, int32_t& value);
// A REG_DWORD that counts something: negative counts are kE_INVALID_DATA.
HResult ReadCount(RegistryKey& key, std::u16string_view name, uint32_t& count);
// REG_SZ of at most `max_units` units before its terminator.
HResult ReadString(RegistryKey& key, std::u16string_view name, size_t max_units, std::u16string& text);
// REG_BINARY at its real size; one larger than `max_size`, the largest its layout allows, is
// kE_INVALID_DATA.
HResult ReadBinary(RegistryKey& key, std::u16string_view name, size_t max_size, std::vector<uint8_t>& data);

// The REG_BINARY values "0000", "0001", … of `count` entries, each at most `max_size` bytes,
// decoded by `decode` (HResult(std::span<const uint8_t>, Entry&)). The count is not trusted for
// the allocation: entries are read until one is missing.
template <class Entry, class Decode>
HResult ReadIndexedEntries(RegistryKey& key, uint32_t count, size_t max_size, Decode&& decode,
                           std::vector<Entry>& entries) {
  entries.clear();
  entries.reserve(count < 4096 ? count : 4096);
  for (uint32_t i = 0; i < count; ++i) {
    std::vector<uint8_t> bytes;
    Entry entry;
    HResult hr = ReadBinary(key, IndexedValueName(i), max_size, bytes);
    if (Succeeded(hr)) hr = decode(bytes, entry);
    if (Failed(hr)) {
      entries.clear();
      return hr;
    }
    entries.push_back(std::move(entry));
  }
  return kS_OK;
}

}  // namespace quill::storage
