// Macro memory: allocation, chunked data with the counter of command 0x0D, names, the
// directory pages, deletion and the memory space.
#include <gtest/gtest.h>

#include <numeric>

#include "emulator/quillfern_model.h"
#include "emulator/tests/report_helpers.h"

namespace quill::emu {
namespace {

using test::Read;
using test::Write;

class MacroTest : public ::testing::Test {
 protected:
  uint8_t Allocate(uint8_t number, size_t size) {
    return model.HandleCommand(Write(kCmdMacroDirectory, 4, {number, static_cast<uint8_t>(size >> 8),
                                                             static_cast<uint8_t>(size & 0xFF)}))[kStatus];
  }
  // Sends `data` the way the middleware does: chunk i carries counter n - 1 - i.
  std::vector<uint8_t> Upload(uint8_t number, const std::vector<uint8_t>& data) {
    std::vector<uint8_t> statuses;
    const size_t n = (data.size() + 79) / 80;
    for (size_t i = 0; i < n; ++i) {
      const size_t len = std::min<size_t>(80, data.size() - 80 * i);
      FeatureReport r = Write(kCmdMacroData, static_cast<uint8_t>(len));
      r[kCounterHigh] = static_cast<uint8_t>((n - 1 - i) >> 8);
      r[kCounterLow] = static_cast<uint8_t>((n - 1 - i) & 0xFF);
      r[kMacroSlot] = number;
      std::copy_n(data.begin() + static_cast<long>(80 * i), len, r.begin() + kPayload);
      statuses.push_back(model.HandleCommand(r)[kStatus]);
    }
    return statuses;
  }
  std::vector<uint8_t> Download(uint8_t number, size_t size) {
    std::vector<uint8_t> out;
    const size_t n = (size + 79) / 80;
    for (size_t i = 0; i < n; ++i) {
      FeatureReport r = Read(kCmdMacroData);
      r[kCounterHigh] = static_cast<uint8_t>((n - 1 - i) >> 8);
      r[kCounterLow] = static_cast<uint8_t>((n - 1 - i) & 0xFF);
      r[kMacroSlot] = number;
      const FeatureReport reply = model.HandleCommand(r);
      EXPECT_EQ(reply[kStatus], kStatusDone);
      const size_t len = std::min<size_t>(80, size - 80 * i);
      out.insert(out.end(), reply.begin() + kPayload, reply.begin() + kPayload + static_cast<long>(len));
      for (size_t k = kPayload + len; k < kChecksum; ++k) EXPECT_EQ(reply[k], 0) << "beyond the chunk";
    }
    return out;
  }
  FeatureReport Page(uint8_t page) {
    FeatureReport r = Read(kCmdMacroDirectory);
    r[kMacroSlot] = page;
    return model.HandleCommand(r);
  }
  static std::vector<uint8_t> Pattern(size_t size, uint8_t seed) {
    std::vector<uint8_t> v(size);
    for (size_t i = 0; i < size; ++i) v[i] = static_cast<uint8_t>(seed + i * 7);
    return v;
  }
  QuillfernModel model;
};

TEST_F(MacroTest, ChunkCountersAddressTheStream) {
  for (size_t size : {40u, 80u, 81u, 160u, 161u, 1000u}) {
    const uint8_t number = static_cast<uint8_t>(size % 70);
    ASSERT_EQ(Allocate(number, size), kStatusDone) << size;
    const std::vector<uint8_t> data = Pattern(size, static_cast<uint8_t>(size));
    const std::vector<uint8_t> statuses = Upload(number, data);
    EXPECT_EQ(statuses.size(), (size + 79) / 80) << size;
    for (uint8_t s : statuses) EXPECT_EQ(s, kStatusDone) << size;
    EXPECT_EQ(model.State().macros[number].data, data) << size;
    EXPECT_EQ(Download(number, size), data) << size;
  }
}

TEST_F(MacroTest, ChunksOutOfShapeAreRefused) {
  ASSERT_EQ(Allocate(0, 161), kStatusDone);
  FeatureReport last = Write(kCmdMacroData, 1, {0xAB});  // counter 0 = the one-byte tail
  EXPECT_EQ(model.HandleCommand(last)[kStatus], kStatusDone);
  EXPECT_EQ(model.State().macros[0].data[160], 0xAB);

  FeatureReport too_long = Write(kCmdMacroData, 80);  // counter 0 holds 1 byte only
  EXPECT_EQ(model.HandleCommand(too_long)[kStatus], kStatusRejected);
  FeatureReport counter3 = Write(kCmdMacroData, 80);
  counter3[kCounterLow] = 3;
  EXPECT_EQ(model.HandleCommand(counter3)[kStatus], kStatusRejected);
  FeatureReport free_macro = Write(kCmdMacroData, 80);
  free_macro[kMacroSlot] = 5;
  EXPECT_EQ(model.HandleCommand(free_macro)[kStatus], kStatusRejected);
}

TEST_F(MacroTest, NameIsTheHeadOfTheStream) {
  ASSERT_EQ(Allocate(4, 40), kStatusDone);
  FeatureReport name = Write(kCmdMacroName, 0);
  name[kMacroSlot] = 4;
  const char16_t* text = u"Jump";
  for (size_t i = 0; text[i]; ++i) name[kPayload + 2 * i] = static_cast<uint8_t>(text[i]);
  ASSERT_EQ(model.HandleCommand(name)[kStatus], kStatusDone);

  FeatureReport read = Read(kCmdMacroName);
  read[kMacroSlot] = 4;
  FeatureReport reply = model.HandleCommand(read);
  EXPECT_EQ(reply[9], 'J');
  EXPECT_EQ(reply[15], 'p');
  for (size_t i = 49; i < kChecksum; ++i) EXPECT_EQ(reply[i], 0);

  // Growing the macro keeps its head; the middleware re-sends the name in the stream.
  ASSERT_EQ(Allocate(4, 120), kStatusDone);
  EXPECT_EQ(model.HandleCommand(read)[9], 'J');
  std::vector<uint8_t> stream = Pattern(120, 1);
  std::copy(reply.begin() + 9, reply.begin() + 49, stream.begin());
  Upload(4, stream);
  EXPECT_EQ(model.HandleCommand(read)[9], 'J');
}

TEST_F(MacroTest, DirectoryPagesHoldTwentyEntries) {
  EXPECT_EQ(Page(0)[kLength], 0) << "no macros";
  for (uint8_t n = 0; n < 20; ++n) ASSERT_EQ(Allocate(n, 40 + n), kStatusDone);
  EXPECT_EQ(Page(0)[kLength], 80);
  EXPECT_EQ(Page(1)[kLength], 0);

  for (uint8_t n = 20; n < kMaxMacros; ++n) ASSERT_EQ(Allocate(n, 40 + n), kStatusDone);
  EXPECT_EQ(Allocate(70, 40), kStatusRejected) << "70 macros at most";
  const uint8_t lengths[] = {80, 80, 80, 40, 0, 0};
  for (uint8_t p = 0; p < 6; ++p) {
    const FeatureReport page = Page(p);
    EXPECT_EQ(page[kLength], lengths[p]) << "page " << int(p);
    EXPECT_EQ(page[kMacroSlot], p);
    for (size_t i = 0; i < page[kLength] / 4u; ++i) {
      const unsigned number = 20u * p + i;
      EXPECT_EQ(page[9 + 4 * i], number);
      EXPECT_EQ(page[10 + 4 * i] << 8 | page[11 + 4 * i], 40 + number);
      EXPECT_EQ(page[12 + 4 * i], 1);
    }
  }
}

TEST_F(MacroTest, FreeNumbersShowSizeZeroUpToTheLastMacro) {
  for (uint8_t n : {0, 1, 2, 3}) ASSERT_EQ(Allocate(n, 300), kStatusDone);
  ASSERT_EQ(model.HandleCommand(Write(kCmdMacroDelete, 1, {2}))[kStatus], kStatusDone);
  FeatureReport page = Page(0);
  ASSERT_EQ(page[kLength], 16);
  EXPECT_EQ(page[9 + 8], 2);
  EXPECT_EQ(page[10 + 8], 0);
  EXPECT_EQ(page[11 + 8], 0);
  EXPECT_EQ(page[12 + 8], 0);
  EXPECT_EQ(page[9 + 12], 3);
  ASSERT_EQ(model.HandleCommand(Write(kCmdMacroDelete, 1, {3}))[kStatus], kStatusDone);
  EXPECT_EQ(Page(0)[kLength], 8) << "the directory ends at the last macro in use";
}

TEST_F(MacroTest, MemorySpaceCountsUnitsOf480Bytes) {
  auto space = [&] {
    const FeatureReport r = model.HandleCommand(Read(kCmdMemorySpace));
    return std::pair<int, int>(r[9], r[10]);
  };
  ASSERT_EQ(Allocate(0, 40), kStatusDone);
  ASSERT_EQ(Allocate(1, 481), kStatusDone);
  EXPECT_EQ(space(), std::make_pair(int{kDefaultTotalSpace}, 3));

  // Fill the memory: 125 units remain; one macro of 125 * 480 bytes fits exactly.
  ASSERT_EQ(Allocate(2, 125 * 480), kStatusDone);
  EXPECT_EQ(space().second, kDefaultTotalSpace);
  EXPECT_EQ(Allocate(3, 1), kStatusNoSpace);
  // The rule (remaining + 1) * 480 >= n: with nothing remaining, the 40-byte macro may
  // grow to 480 bytes within its own unit, but not beyond.
  EXPECT_EQ(Allocate(0, 480), kStatusDone);
  EXPECT_EQ(Allocate(0, 481), kStatusNoSpace);
  EXPECT_EQ(model.State().macros[0].data.size(), 480u) << "a refused allocation keeps the macro";
  ASSERT_EQ(model.HandleCommand(Write(kCmdMacroDelete, 1, {2}))[kStatus], kStatusDone);
  EXPECT_EQ(space().second, 3);
}

TEST_F(MacroTest, AllocatingSizeZeroFreesTheNumber) {
  ASSERT_EQ(Allocate(9, 100), kStatusDone);
  ASSERT_EQ(Allocate(9, 0), kStatusDone);
  EXPECT_FALSE(model.State().macros[9].Used());
  EXPECT_EQ(model.HandleCommand(Write(kCmdMacroDelete, 1, {9}))[kStatus], kStatusDone) << "deleting a free number";
  EXPECT_EQ(model.HandleCommand(Write(kCmdMacroDelete, 1, {70}))[kStatus], kStatusRejected);
}

}  // namespace
}  // namespace quill::emu
