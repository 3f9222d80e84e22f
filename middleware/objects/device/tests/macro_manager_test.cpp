// The macro directory, its compaction, enumeration, creation and deletion.
#include "middleware/objects/device/macro_manager.h"

#include <gtest/gtest.h>

#include "middleware/objects/device/tests/device_fixture.h"
#include "middleware/objects/device/tests/scripted_channel.h"

namespace quill::device::test {
namespace {

using Strings = std::vector<std::string>;

struct Entry {
  int32_t number;
  uint32_t size;
};
MacroDirectory Directory(const std::vector<Entry>& entries) {
  MacroDirectory d;
  for (size_t i = 0; i < entries.size(); ++i) {
    d.numbers[i] = entries[i].number;
    d.sizes[i] = entries[i].size;
  }
  return d;
}

TEST(MacroDirectoryRules, CompactionMovesUsedEntriesUpInOrder) {
  MacroDirectory d = Directory({{0, 0}, {1, 60}, {2, 0}, {3, 0}, {4, 90}, {5, 40}});
  d.numbers[69] = 69;
  d.sizes[69] = 100;
  CompactEntries(d);
  const MacroDirectory expected = Directory({{1, 60}, {4, 90}, {5, 40}, {69, 100}});
  EXPECT_EQ(d.numbers, expected.numbers);
  EXPECT_EQ(d.sizes, expected.sizes);
}

TEST(MacroDirectoryRules, NewNumberFollowsThePreviousEntryUnlessThatNumberIsHeld) {
  struct Case {
    const char* name;
    std::vector<Entry> entries;
    size_t position;
    int32_t number;
  };
  const Case cases[] = {
      {"first position", {{-1, 0}}, 0, 0},
      {"after 0, 1 and before 3", {{0, 40}, {1, 40}, {2, 0}, {3, 40}}, 2, 2},
      {"compacted, next free", {{0, 40}, {1, 40}, {2, 40}}, 3, 3},
      {"next is held further on", {{0, 40}, {2, 40}, {1, 40}, {-1, 0}}, 3, 3},
      {"next is held later", {{5, 40}, {-1, 0}, {6, 40}}, 1, 0},
      {"previous number out of range", {{69, 40}, {-1, 0}}, 1, 0},
      {"previous entry free", {{-1, 0}, {-1, 0}, {0, 40}}, 1, 1},
  };
  for (const Case& c : cases) {
    int32_t number = -7;
    ASSERT_TRUE(NumberForNewMacro(Directory(c.entries), c.position, number)) << c.name;
    EXPECT_EQ(number, c.number) << c.name;
  }
  // A full directory but for position 10, where 10 has moved to position 11: 11 is free.
  MacroDirectory full;
  for (size_t n = 0; n < 70; ++n) {
    full.numbers[n] = static_cast<int32_t>(n);
    full.sizes[n] = 1;
  }
  full.sizes[10] = 0;
  full.numbers[11] = 10;
  int32_t number = -7;
  ASSERT_TRUE(NumberForNewMacro(full, 10, number));
  EXPECT_EQ(number, 11);
}

class MacroManagerOnDevice : public DeviceTest {
 protected:
  void SetUp() override {
    DeviceTest::SetUp();
    // Macros 0, 1 and 3; number 2 is free.
    Edit([](emu::DeviceState& s) {
      for (const size_t n : {0, 1, 3}) s.macros[n].data.assign(40 + n, 0);
    });
    Forget();
  }
  MacroManager manager_;
};

TEST_F(MacroManagerOnDevice, EnumerationCompactsAtIndexZero) {
  int32_t id = 0;
  ASSERT_EQ(manager_.GetMacroByIndex(handler_, 0, id), kS_OK);
  EXPECT_EQ(id, 1);
  EXPECT_EQ(Sequence(), (Strings{"R08"}));
  ASSERT_EQ(manager_.GetMacroByIndex(handler_, 1, id), kS_OK);
  EXPECT_EQ(id, 2);
  ASSERT_EQ(manager_.GetMacroByIndex(handler_, 2, id), kS_OK);
  EXPECT_EQ(id, 4);
  EXPECT_EQ(manager_.GetMacroByIndex(handler_, 3, id), kE_FAIL);
  EXPECT_EQ(manager_.GetMacroByIndex(handler_, 5, id), kE_FAIL);
  EXPECT_EQ(Sequence(), (Strings{"R08"}));  // only index 0 reads
  EXPECT_EQ(manager_.GetMacroByIndex(handler_, -1, id), kE_INVALIDARG);
  EXPECT_EQ(manager_.GetMacroByIndex(handler_, 70, id), kE_INVALIDARG);
}

TEST_F(MacroManagerOnDevice, AFailedDirectoryReadIsReported) {
  model_.SetStatusScript(emu::kCmdMacroDirectory, {{9}});
  int32_t id = 0;
  EXPECT_EQ(manager_.GetMacroByIndex(handler_, 0, id), kE_FAIL);
  EXPECT_EQ(manager_.GetMacroByIndex(handler_, 0, id), kS_OK);
}

TEST_F(MacroManagerOnDevice, CreateTakesTheFirstFreePositionAndClearsTheMacro) {
  int32_t id = 0;
  ASSERT_EQ(manager_.CreateMacro(handler_, id), kS_OK);
  EXPECT_EQ(id, 3);  // number 2
  EXPECT_EQ(Sequence(), (Strings{"R23", "R08", "W08", "W0D"}));
  EXPECT_EQ(State().macros[2].data, std::vector<uint8_t>(40, 0));

  ASSERT_EQ(manager_.CreateMacro(handler_, id), kS_OK);
  EXPECT_EQ(id, 5);  // positions 0 to 3 are used now
}

TEST_F(MacroManagerOnDevice, CreateWritesNothingWithoutSpaceOrWithoutTheDirectory) {
  Edit([](emu::DeviceState& s) { s.total_space = 3; });  // three macros, three units
  int32_t id = 0;
  EXPECT_EQ(manager_.CreateMacro(handler_, id), kE_OUTOFMEMORY);
  EXPECT_EQ(Sequence(), (Strings{"R23"}));

  Edit([](emu::DeviceState& s) { s.total_space = 100; });
  model_.SetStatusScript(emu::kCmdMacroDirectory, {{9}});
  Forget();
  EXPECT_EQ(manager_.CreateMacro(handler_, id), kE_FAIL);
  EXPECT_EQ(Sequence(), (Strings{"R23", "R08"}));
  EXPECT_FALSE(State().macros[2].Used());
}

TEST_F(MacroManagerOnDevice, DeleteSendsTheNumberBelowTheId) {
  ASSERT_EQ(manager_.DeleteMacro(handler_, 4), kS_OK);
  ASSERT_EQ(Sequence(), (Strings{"W0C"}));
  EXPECT_EQ(Exchanges()[0].request[9], 3);
  EXPECT_FALSE(State().macros[3].Used());
  Forget();
  for (const int32_t id : {0, 71, -1, INT32_MIN}) EXPECT_EQ(manager_.DeleteMacro(handler_, id), kE_INVALIDARG);
  EXPECT_TRUE(Sequence().empty());
}

// A directory page as a device might send it: `count` entries from `first_number`, byte 5 as
// given (it may claim more than a page holds).
HResult DirectoryPage(FeatureReport& report, uint8_t length_byte, int count, int first_number) {
  const uint8_t page = report[kMacroSlot];
  report.fill(0);
  report[kLength] = length_byte;
  report[kStatus] = kStatusDone;
  for (int i = 0; i < count && 9 + 4 * i + 2 < 89; ++i) {
    report[9 + 4 * i] = static_cast<uint8_t>(first_number + page * 20 + i);
    report[9 + 4 * i + 2] = 50;
  }
  return kS_OK;
}

TEST(MacroDirectoryReplies, AReaderStopsAtTwentyEntriesAPageAndSeventyInAll) {
  for (const uint8_t length : {uint8_t{80}, uint8_t{255}}) {
    ScriptedChannel device([&](FeatureReport& r) { return DirectoryPage(r, length, 20, 0); });
    MacroManager manager;
    ASSERT_EQ(manager.CompactDirectory(device), kS_OK);
    EXPECT_EQ(device.requests().size(), length == 80 ? 4u : 1u);  // a claim above 80 is no full page
    const size_t entries = length == 80 ? 70 : 20;
    for (size_t i = 0; i < 70; ++i) {
      EXPECT_EQ(manager.directory().sizes[i], i < entries ? 50u : 0u) << i;
      EXPECT_EQ(manager.directory().numbers[i], i < entries ? static_cast<int32_t>(i) : -1) << i;
    }
  }
}

TEST(MacroDirectoryReplies, CreateNeverReusesANumberAnotherMacroHolds) {
  // Positions 0 to 2 hold numbers 0, 2, 1; position 3 is free: "previous + 1" would be 2.
  ScriptedChannel device([](FeatureReport& r) {
    const uint8_t command = r[kCommand];
    const bool read = r[kDirection] == kDirectionRead;
    r[kStatus] = kStatusDone;
    if (command == CMD_MEMORY_SPACE) {
      r[9] = 10;
      r[10] = 3;
    } else if (command == CMD_MACRO_DIRECTORY && read) {
      r.fill(0);
      r[kLength] = 16;
      const uint8_t entries[] = {0, 0, 40, 1, 2, 0, 40, 1, 1, 0, 40, 1, 3, 0, 0, 0};
      std::copy(std::begin(entries), std::end(entries), r.begin() + 9);
    }
    return kS_OK;
  });
  MacroManager manager;
  int32_t id = 0;
  ASSERT_EQ(manager.CreateMacro(device, id), kS_OK);
  EXPECT_EQ(id, 4);  // number 3, the lowest free one
  const FeatureReport& size_write = device.requests()[2];
  EXPECT_EQ(size_write[kCommand], CMD_MACRO_DIRECTORY);
  EXPECT_EQ(size_write[9], 3);
}

}  // namespace
}  // namespace quill::device::test
