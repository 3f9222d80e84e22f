// A fresh in-memory registry with every store of one device, and small record makers.
#pragma once
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "middleware/storage/group_store.h"
#include "middleware/storage/memory_registry.h"
#include "middleware/storage/profile_store.h"
#include "middleware/storage/store_names.h"

namespace quill::storage::testing {

inline constexpr std::u16string_view kDevice = u"TorvoControl_0C31";

inline ButtonMapping KeyMapping(int32_t button, int32_t key) {
  ButtonMapping mapping;
  mapping.button = button;
  mapping.mapping_type = 1;
  mapping.action_type = 4;
  mapping.info = {key, 0, -1};
  return mapping;
}

inline ButtonMapping MacroMapping(int32_t button, std::u16string macro) {
  ButtonMapping mapping;
  mapping.button = button;
  mapping.mapping_type = kMappingTypeMacro;
  mapping.info = {7, 8, 9};
  mapping.name = std::move(macro);
  return mapping;
}

inline ButtonMapping UserActionMapping(int32_t button, std::u16string action) {
  ButtonMapping mapping = MacroMapping(button, std::move(action));
  mapping.mapping_type = kMappingTypeUserAction;
  return mapping;
}

inline MacroRecord SampleMacro(int elements, int32_t seed = 1) {
  MacroRecord macro;
  macro.version = 3;
  macro.options = 2;
  macro.type = 1;
  macro.repeat = seed;
  macro.icon_file = u"icons\\key.png";
  for (int i = 0; i < elements; ++i) {
    macro.elements.push_back({i + 1, {seed, i, -i}, 10 * i, 5});
  }
  return macro;
}

inline ProfileRecord SampleProfile(std::vector<ButtonMapping> mappings, int32_t version = 1) {
  return ProfileRecord{version, std::move(mappings)};
}

class StoreTest : public ::testing::Test {
 public:  // table-driven cases reach the stores through the fixture
  void SetUp() override { OpenStores(); }

  void OpenStores() {
    ASSERT_EQ(ProfileGroupStore::Create(*machine, kDevice, groups), kS_OK);
    ASSERT_EQ(SpellBookStore::Create(*machine, kDevice, books), kS_OK);
    ASSERT_EQ(PrivateProfileStore::Create(*machine, kDevice, privates), kS_OK);
  }

  ProfileStore& profiles() { return groups->profiles(); }
  MacroStore& macros() { return books->macros(); }
  UserActionStore& actions() { return profiles().user_actions(); }

  // The item's "RefCount", or -1 when it cannot be read.
  int32_t RefCount(RefCountedStore& store, std::u16string_view name) {
    int32_t count = 0;
    return Succeeded(store.ReadRefCount(name, count)) ? count : -1;
  }

  // The raw value of an item: `collection` is a suffix such as kMacrosSuffix.
  std::vector<uint8_t> RawValue(std::u16string_view collection, std::u16string_view item,
                                std::u16string_view value, uint32_t& type) {
    std::unique_ptr<RegistryKey> key;
    std::vector<uint8_t> data;
    type = 0;
    if (Succeeded(machine->OpenSubkey(CollectionPath(kDevice, collection) + u"\\" + std::u16string(item), key))) {
      key->QueryValue(value, 1 << 20, type, data);
    }
    return data;
  }

  void PutRawValue(std::u16string_view collection, std::u16string_view item, std::u16string_view value,
                   uint32_t type, std::vector<uint8_t> data) {
    std::unique_ptr<RegistryKey> key;
    ASSERT_EQ(machine->OpenSubkey(CollectionPath(kDevice, collection) + u"\\" + std::u16string(item), key), kS_OK);
    ASSERT_EQ(key->SetValue(value, type, data), kS_OK);
  }

  // Three macros, a user action and two profiles that name them, a group and a spell book.
  void StoreSampleSet() {
    ASSERT_EQ(macros().Save(u"Alpha", SampleMacro(2, 1)), kS_OK);
    ASSERT_EQ(macros().Save(u"Beta", SampleMacro(0, 2)), kS_OK);
    ASSERT_EQ(macros().Save(u"Gamma", SampleMacro(3, 3)), kS_OK);
    ASSERT_EQ(actions().Save(u"Launch", UserActionRecord{5, {1, 2, 3}}), kS_OK);
    ASSERT_EQ(profiles().Save(u"Game", SampleProfile({KeyMapping(0, 30), MacroMapping(1, u"Alpha"),
                                                      UserActionMapping(2, u"Launch")})),
              kS_OK);
    ASSERT_EQ(profiles().Save(u"Work", SampleProfile({MacroMapping(3, u"Beta")}, 2)), kS_OK);
    ASSERT_EQ(groups->Save(u"All", {u"Game", u"Work"}), kS_OK);
    ASSERT_EQ(books->Save(u"Book", {u"Alpha", u"Gamma"}), kS_OK);
  }

  MemoryRegistry registry;
  std::unique_ptr<RegistryKey> machine = registry.Root();
  std::unique_ptr<ProfileGroupStore> groups;
  std::unique_ptr<SpellBookStore> books;
  std::unique_ptr<PrivateProfileStore> privates;
};

// Little-endian bytes of 32-bit words.
inline std::vector<uint8_t> Words(std::initializer_list<int32_t> words) {
  std::vector<uint8_t> bytes;
  for (int32_t word : words) {
    for (int shift = 0; shift < 32; shift += 8) bytes.push_back(static_cast<uint8_t>(static_cast<uint32_t>(word) >> shift));
  }
  return bytes;
}

inline std::vector<uint8_t> Utf16Z(std::u16string_view text) {
  std::vector<uint8_t> bytes;
  for (char16_t c : text) {
    bytes.push_back(static_cast<uint8_t>(c));
    bytes.push_back(static_cast<uint8_t>(c >> 8));
  }
  bytes.push_back(0);
  bytes.push_back(0);
  return bytes;
}

}  // namespace quill::storage::testing
