// The control-channel upload blocks of a mapping set and of the macros it names.
#include <gtest/gtest.h>

#include <cstdint>
#include <vector>

#include "middleware/storage/win/com/profile_mapping_upload.h"

namespace quill::test {
namespace {

using server::kUploadEntrySize;
using server::kUploadMacroHeader;
using server::kUploadSetHeader;

int32_t Word(const std::vector<uint8_t>& block, size_t at) {
  uint32_t value = 0;
  for (size_t i = 0; i < 4; ++i) value |= static_cast<uint32_t>(block.at(at + i)) << (8 * i);
  return static_cast<int32_t>(value);
}

storage::ButtonMapping Entry(int32_t button, int32_t type, int32_t action, std::array<int32_t, 3> info,
                             std::u16string name = {}) {
  storage::ButtonMapping m;
  m.button = button;
  m.mapping_type = type;
  m.action_type = action;
  m.info = info;
  m.name = std::move(name);
  return m;
}

TEST(ProfileUploadTest, SetEntriesCarryTheWordsOfTheirTypeAndOrdinalsOfNamedObjects) {
  storage::ProfileRecord set;
  set.version = 7;
  set.mappings = {
      Entry(1, 1, 0, {2, 3, 4}),                // click: two info words
      Entry(2, 1, 1, {0x1E, 0x41, 2}),          // key: three
      Entry(3, 1, 2, {4, 5, 6}),                // property change: three
      Entry(4, 1, 3, {7, 8, 9}),                // interrupt: none
      Entry(5, 2, 0, {1, 2, 3}, u"First"),      // macro 1
      Entry(6, 3, 0, {1, 2, 3}, u"Action"),     // user action 1
      Entry(7, 2, 0, {1, 2, 3}, u"Second"),     // macro 2
      Entry(8, 6, 5, {1, 2, 3}),                // other types: nothing after the type
  };
  const std::vector<uint8_t> block = server::MappingSetUploadBlock(set);
  ASSERT_EQ(block.size(), kUploadSetHeader + 8 * kUploadEntrySize);
  EXPECT_EQ(Word(block, 0), 7);
  EXPECT_EQ(Word(block, 4), 8);
  const struct {
    int32_t word8;
    std::array<int32_t, 3> info;
  } expected[] = {{0, {2, 3, 0}}, {1, {0x1E, 0x41, 2}}, {2, {4, 5, 6}}, {3, {0, 0, 0}},
                  {1, {0, 0, 0}}, {1, {0, 0, 0}},       {2, {0, 0, 0}}, {0, {0, 0, 0}}};
  for (size_t i = 0; i < set.mappings.size(); ++i) {
    const size_t at = kUploadSetHeader + kUploadEntrySize * i;
    EXPECT_EQ(Word(block, at), set.mappings[i].button) << i;
    EXPECT_EQ(Word(block, at + 4), set.mappings[i].mapping_type) << i;
    EXPECT_EQ(Word(block, at + 8), expected[i].word8) << i;
    for (size_t w = 0; w < 3; ++w) EXPECT_EQ(Word(block, at + 12 + 4 * w), expected[i].info[w]) << i << "/" << w;
    for (size_t b = 24; b < kUploadEntrySize; ++b) EXPECT_EQ(block[at + b], 0) << i << "/" << b;
  }
}

TEST(ProfileUploadTest, MacroBlockHasItsHeaderAndElementsWithDelayAndHold) {
  storage::MacroRecord macro;
  macro.version = 9;  // not sent: the block's version word is always 1
  macro.options = 2;
  macro.type = 1;
  macro.repeat = 3;
  macro.elements = {{0, {1, 2, 3}, 300, 40}, {1, {0x1E, 0x41, 2}, 0x010203, 0}};
  const std::vector<uint8_t> block = server::MacroUploadBlock(macro, 2);
  ASSERT_EQ(block.size(), kUploadMacroHeader + 2 * kUploadEntrySize);
  const int32_t header[] = {1, 2, 1, 2, 3, 2};
  for (size_t i = 0; i < 6; ++i) EXPECT_EQ(Word(block, 4 * i), header[i]) << i;
  const size_t first = kUploadMacroHeader;
  EXPECT_EQ(Word(block, first), 0);
  EXPECT_EQ(Word(block, first + 4), 1);
  EXPECT_EQ(Word(block, first + 8), 2);
  EXPECT_EQ(Word(block, first + 12), 0);  // a click sends two info words
  EXPECT_EQ(Word(block, first + 33), 300);
  EXPECT_EQ(Word(block, first + 37), 40);
  const size_t second = first + kUploadEntrySize;
  EXPECT_EQ(Word(block, second + 12), 2);
  EXPECT_EQ(Word(block, second + 33), 0x010203);
  for (size_t b = 16; b < 33; ++b) EXPECT_EQ(block[second + b], 0) << b;
}

}  // namespace
}  // namespace quill::test
