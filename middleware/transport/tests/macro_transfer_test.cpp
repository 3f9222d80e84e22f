// Chunked macro data, the macro directory and read-modify-write over a channel.
#include <gtest/gtest.h>

#include <functional>
#include <numeric>

#include "middleware/transport/commands.h"
#include "middleware/transport/tests/transport_fixture.h"

namespace quill {
namespace {

// Records every request; answers each with `reply` (default: the request with status 2) and
// the result `results(i)` for the i-th call (default S_OK).
class RecordingChannel : public FeatureChannel {
 public:
  HResult SetFeatureRaw(FeatureReport& r, size_t, bool recover) override { return Take(r, recover); }
  HResult GetFeatureRaw(FeatureReport& r, size_t, bool recover) override { return Take(r, recover); }

  std::vector<FeatureReport> sent;
  std::vector<bool> recover_flags;
  std::function<HResult(size_t)> results;
  std::function<void(size_t, FeatureReport&)> reply;

 private:
  HResult Take(FeatureReport& r, bool recover) {
    const size_t i = sent.size();
    sent.push_back(r);
    recover_flags.push_back(recover);
    r[kStatus] = kStatusDone;
    if (reply) reply(i, r);
    return results ? results(i) : kS_OK;
  }
};

std::vector<uint8_t> Pattern(size_t n) {
  std::vector<uint8_t> data(n);
  std::iota(data.begin(), data.end(), uint8_t{1});
  return data;
}

struct ChunkCase {
  size_t length;
  std::vector<uint16_t> counters;
  uint8_t last_length;
};

void PrintTo(const ChunkCase& c, std::ostream* os) { *os << c.length << " bytes"; }

class Chunks : public ::testing::TestWithParam<ChunkCase> {};

TEST_P(Chunks, CountDownToZeroAndCarryTheirData) {
  const ChunkCase& c = GetParam();
  const std::vector<uint8_t> data = Pattern(c.length);
  RecordingChannel channel;
  ASSERT_EQ(WriteMacroData(channel, 17, data), kS_OK);
  ASSERT_EQ(channel.sent.size(), c.counters.size());
  for (size_t i = 0; i < channel.sent.size(); ++i) {
    const FeatureReport& r = channel.sent[i];
    EXPECT_EQ(r[kCommand], CMD_MACRO_DATA);
    EXPECT_EQ(r[kDirection], kDirectionWrite);
    EXPECT_EQ(GetBigEndian16(r, kCounterHigh), c.counters[i]);
    EXPECT_EQ(r[kMacroSlot], 17);
    const bool last = i + 1 == channel.sent.size();
    const size_t length = last ? c.last_length : 80;
    EXPECT_EQ(r[kLength], length);
    EXPECT_EQ(r[kPayload], data[80 * i]);
    EXPECT_EQ(r[kPayload + length - 1], data[80 * i + length - 1]);
    if (length < 80) {
      EXPECT_EQ(r[kPayload + length], 0);
    }
    EXPECT_FALSE(channel.recover_flags[i]);
  }
  std::vector<uint8_t> back;
  RecordingChannel reader;
  reader.reply = [&](size_t i, FeatureReport& r) {
    std::fill(r.begin() + kPayload, r.begin() + kPayload + 80, uint8_t{0xEE});
    const size_t n = std::min<size_t>(80, data.size() - 80 * i);
    std::copy_n(data.begin() + 80 * i, n, r.begin() + kPayload);
  };
  ASSERT_EQ(ReadMacroData(reader, 17, c.length, back), kS_OK);
  EXPECT_EQ(back, data);
  ASSERT_EQ(reader.sent.size(), c.counters.size());
  EXPECT_EQ(GetBigEndian16(reader.sent.front(), kCounterHigh), c.counters.front());
  EXPECT_EQ(reader.sent.front()[kLength], 0);
}

INSTANTIATE_TEST_SUITE_P(Lengths, Chunks,
                         ::testing::Values(ChunkCase{1, {0}, 1}, ChunkCase{80, {0}, 80},
                                           ChunkCase{81, {1, 0}, 1}, ChunkCase{160, {1, 0}, 80},
                                           ChunkCase{161, {2, 1, 0}, 1},
                                           ChunkCase{250, {3, 2, 1, 0}, 10}));

TEST(MacroData, ZeroLengthSendsNothing) {
  RecordingChannel channel;
  std::vector<uint8_t> data{1};
  EXPECT_EQ(WriteMacroData(channel, 1, {}), kE_FAIL);
  EXPECT_EQ(ReadMacroData(channel, 1, 0, data), kE_FAIL);
  EXPECT_TRUE(data.empty());
  EXPECT_TRUE(channel.sent.empty());
}

TEST(MacroData, MoreThanTheSizeFieldHoldsIsRefused) {
  RecordingChannel channel;
  std::vector<uint8_t> data(kMaxMacroSize + 1);
  EXPECT_EQ(WriteMacroData(channel, 1, data), kE_INVALIDARG);
  EXPECT_EQ(ReadMacroData(channel, 1, data.size(), data), kE_INVALIDARG);
  EXPECT_TRUE(channel.sent.empty());
}

TEST(MacroData, WriteStopsAtTheFirstFailedChunkAndReportsIt) {
  RecordingChannel channel;
  channel.results = [](size_t i) { return i == 1 ? kE_ABORT : kS_OK; };
  EXPECT_EQ(WriteMacroData(channel, 1, Pattern(300)), kE_ABORT);
  EXPECT_EQ(channel.sent.size(), 2u);
}

TEST(MacroData, ReadStopsAtTheFirstFailureAndKeepsNothing) {
  RecordingChannel channel;
  channel.results = [](size_t i) { return i == 1 ? kE_FAIL : kS_OK; };
  std::vector<uint8_t> data{9, 9};
  EXPECT_EQ(ReadMacroData(channel, 1, 300, data), kE_FAIL);
  EXPECT_EQ(channel.sent.size(), 2u);
  EXPECT_TRUE(data.empty());
}

// A directory page: `count` entries (number i, size 0x100 + i) and byte 5 as claimed.
void Page(FeatureReport& r, uint8_t claimed, size_t count, uint8_t first_number) {
  r[kLength] = claimed;
  for (size_t k = 0; k < count && kPayload + 4 * k + 3 < kChecksum; ++k) {
    const size_t at = kPayload + 4 * k;
    r[at] = static_cast<uint8_t>(first_number + k);
    r[at + 1] = 0x01;
    r[at + 2] = static_cast<uint8_t>(first_number + k);
    r[at + 3] = 0x77;
  }
}

TEST(MacroDirectory, PagesWhileFullAndPlacesEntriesByPage) {
  RecordingChannel channel;
  channel.reply = [](size_t i, FeatureReport& r) {
    if (i < 2) Page(r, 80, 20, static_cast<uint8_t>(20 * i));
    else Page(r, 12, 3, 40);
  };
  MacroDirectory dir;
  EXPECT_EQ(ReadMacroDirectory(channel, dir), kS_OK);
  ASSERT_EQ(channel.sent.size(), 3u);
  for (size_t p = 0; p < 3; ++p) {
    EXPECT_EQ(channel.sent[p][kCommand], CMD_MACRO_DIRECTORY);
    EXPECT_EQ(channel.sent[p][kMacroSlot], p);
    EXPECT_EQ(channel.sent[p][kDirection], kDirectionRead);
  }
  EXPECT_EQ(dir.numbers[0], 0);
  EXPECT_EQ(dir.sizes[0], 0x100u);
  EXPECT_EQ(dir.numbers[42], 42);
  EXPECT_EQ(dir.sizes[42], 0x12Au);
  EXPECT_EQ(dir.numbers[43], -1);
  EXPECT_EQ(dir.sizes[43], 0u);
}

struct ClampCase {
  const char* name;
  uint8_t claimed;          // byte 5 of every page
  size_t pages_read;
  size_t entries;           // filled positions
};

void PrintTo(const ClampCase& c, std::ostream* os) { *os << c.name; }

class DirectoryClamp : public ::testing::TestWithParam<ClampCase> {};

TEST_P(DirectoryClamp, NeverReadsPastSeventyEntries) {
  const ClampCase& c = GetParam();
  RecordingChannel channel;
  channel.reply = [&](size_t i, FeatureReport& r) {
    Page(r, c.claimed, 20, static_cast<uint8_t>(20 * i));
  };
  MacroDirectory dir;
  EXPECT_EQ(ReadMacroDirectory(channel, dir), kS_OK);
  EXPECT_EQ(channel.sent.size(), c.pages_read);
  size_t filled = 0;
  for (size_t i = 0; i < kMaxMacros; ++i) filled += dir.sizes[i] != 0;
  EXPECT_EQ(filled, c.entries);
}

INSTANTIATE_TEST_SUITE_P(
    Claims, DirectoryClamp,
    ::testing::Values(ClampCase{"FullPagesForever", 80, 4, 70},
                      ClampCase{"OverlongPageCountsTwenty", 200, 1, 20},
                      ClampCase{"ShortPage", 8, 1, 2},
                      ClampCase{"TooShortForAnEntry", 3, 1, 0}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(MacroDirectory, FailedPageEndsTheDirectory) {
  RecordingChannel channel;
  channel.reply = [](size_t i, FeatureReport& r) { Page(r, 80, 20, static_cast<uint8_t>(20 * i)); };
  channel.results = [](size_t i) { return i == 1 ? kE_ABORT : kS_OK; };
  MacroDirectory dir;
  EXPECT_EQ(ReadMacroDirectory(channel, dir), kE_ABORT);
  EXPECT_EQ(channel.sent.size(), 2u);
  EXPECT_EQ(dir.sizes[19], 0x113u);
  EXPECT_EQ(dir.sizes[20], 0u);  // the failed page's buffer is not taken as entries
}

TEST(ReadModifyWriteCall, FailedReadWritesNothing) {
  RecordingChannel channel;
  channel.results = [](size_t) { return kE_ABORT; };
  bool modified = false;
  EXPECT_EQ(ReadModifyWrite(channel, BuildPerformanceRead(), 5,
                            [&](FeatureReport&) { modified = true; }),
            kE_ABORT);
  EXPECT_EQ(channel.sent.size(), 1u);
  EXPECT_FALSE(modified);
}

// Against the emulated mouse: after SetRate-like read-modify-write the device receives
// command 0x05 with byte 10 = 2 and every other payload byte as it reported them.
class CommandsOnMouse : public test::TransportTest {};

TEST_F(CommandsOnMouse, ReadModifyWriteChangesOnlyTheCallersByte) {
  Open();
  emu::DeviceState state = model_.State();
  state.performance.polling_rate_code = 1;
  model_.SetState(state);
  FeatureReport last{};
  EXPECT_EQ(ReadModifyWrite(handler_, BuildPerformanceRead(), 5,
                            [](FeatureReport& r) { r[10] = *PollingRateToCode(500); },
                            /*recover_read=*/true, &last),
            kS_OK);
  const auto requests = Requests();
  ASSERT_EQ(requests.size(), 2u);
  const FeatureReport read_reply = model_.LogEntries()[1].bytes;  // first poll answer
  const FeatureReport& write = requests[1].bytes;
  EXPECT_EQ(write[kDirection], kDirectionWrite);
  EXPECT_EQ(write[kLength], 5);
  EXPECT_EQ(write[kStatus], 0);
  EXPECT_EQ(write[10], 2);
  for (size_t i = kPayload; i < kChecksum; ++i)
    if (i != 10) {
      EXPECT_EQ(write[i], read_reply[i]) << i;
    }
  EXPECT_EQ(model_.State().performance.polling_rate_code, 2);
  EXPECT_EQ(model_.State().performance.dpi_x_code, state.performance.dpi_x_code);
}

TEST_F(CommandsOnMouse, MacroRoundTripThroughTheMouse) {
  Open();
  const std::vector<uint8_t> data = Pattern(161);
  FeatureReport size = BuildMacroSizeWrite(4, static_cast<uint16_t>(data.size()));
  ASSERT_EQ(handler_.SetFeatureRaw(size, size.size(), false), kS_OK);
  ASSERT_EQ(WriteMacroData(handler_, 4, data), kS_OK);
  EXPECT_EQ(model_.LoggedRequests(CMD_MACRO_DATA).size(), 3u);

  std::vector<uint8_t> back;
  ASSERT_EQ(ReadMacroData(handler_, 4, data.size(), back), kS_OK);
  EXPECT_EQ(back, data);

  MacroDirectory dir;
  ASSERT_EQ(ReadMacroDirectory(handler_, dir), kS_OK);
  bool listed = false;
  for (size_t i = 0; i < kMaxMacros; ++i) listed |= dir.numbers[i] == 4 && dir.sizes[i] == 161;
  EXPECT_TRUE(listed);
}

}  // namespace
}  // namespace quill
