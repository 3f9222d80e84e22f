// Command builders byte for byte, value encodings and reply accessors.
#include <gtest/gtest.h>

#include <map>

#include "middleware/transport/commands.h"

namespace quill {
namespace {

using Bytes = std::map<size_t, uint8_t>;  // every byte not listed must be 0

struct BuilderCase {
  const char* name;
  FeatureReport report;
  Bytes bytes;
};

FeatureReport Ok(HResult hr, const FeatureReport& r) {
  EXPECT_EQ(hr, kS_OK);
  return r;
}
FeatureReport MacroNameWrite(uint8_t slot, std::u16string_view name) {
  FeatureReport r{};
  return Ok(BuildMacroNameWrite(slot, name, r), r);
}
FeatureReport ProfileNameWrite(uint8_t slot, std::u16string_view name) {
  FeatureReport r{};
  return Ok(BuildProfileNameWrite(slot, name, r), r);
}
Bytes With(Bytes base, const Bytes& more) {
  for (const auto& [k, v] : more) base[k] = v;
  return base;
}
Bytes Header(uint8_t dir, uint8_t code, uint8_t length) {
  Bytes b{{1, 1}, {3, dir}, {4, code}, {90, 1}};
  if (length) b[5] = length;
  if (!dir) b.erase(3);
  return b;
}
Bytes Range(size_t first, size_t count, uint8_t value) {
  Bytes b;
  for (size_t i = 0; i < count; ++i) b[first + i] = value;
  return b;
}

void PrintTo(const BuilderCase& c, std::ostream* os) { *os << c.name; }

class Builders : public ::testing::TestWithParam<BuilderCase> {};

TEST_P(Builders, FillExactlyTheirBytes) {
  const BuilderCase& c = GetParam();
  for (size_t i = 0; i < kFeatureReportSize; ++i) {
    const auto it = c.bytes.find(i);
    EXPECT_EQ(c.report[i], it == c.bytes.end() ? 0 : it->second) << "byte " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Table, Builders,
    ::testing::Values(
        BuilderCase{"DeviceInfoRead", BuildDeviceInfoRead(), Header(1, 0x02, 1)},
        BuilderCase{"PerformanceRead", BuildPerformanceRead(), Header(1, 0x05, 0)},
        BuilderCase{"ActiveSlotRead", BuildActiveSlotRead(), Header(1, 0x05, 1)},
        BuilderCase{"ProfileRead", BuildProfileRead(4), With(Header(1, 0x06, 1), {{9, 4}})},
        BuilderCase{"ProfileErase", BuildProfileErase(3), With(Header(0, 0x07, 1), {{9, 3}})},
        BuilderCase{"DirectoryPage", BuildMacroDirectoryRead(2),
                    With(Header(1, 0x08, 0), {{8, 2}})},
        BuilderCase{"MacroSize", BuildMacroSizeWrite(12, 0x1234),
                    With(Header(0, 0x08, 4), {{9, 12}, {10, 0x12}, {11, 0x34}})},
        BuilderCase{"MacroDelete", BuildMacroDelete(5), With(Header(0, 0x0C, 1), {{9, 4}})},
        BuilderCase{"MacroDataRead", BuildMacroDataRead(9, 0x0102),
                    With(Header(1, 0x0D, 0), {{6, 1}, {7, 2}, {8, 9}})},
        BuilderCase{"MacroDataWriteShortChunk", BuildMacroDataWrite(3, 0, std::vector<uint8_t>{7, 8}),
                    With(Header(0, 0x0D, 2), {{8, 3}, {9, 7}, {10, 8}})},
        BuilderCase{"MacroNameRead", BuildMacroNameRead(69), With(Header(1, 0x0E, 0), {{8, 69}})},
        BuilderCase{"MacroNameWrite", MacroNameWrite(6, u"Ab\u0142"),
                    With(Header(0, 0x0E, 0), {{8, 6}, {9, 'A'}, {11, 'b'}, {13, 0x42}, {14, 0x01}})},
        BuilderCase{"ProfileNameRead", BuildProfileNameRead(2), With(Header(1, 0x22, 1), {{9, 2}})},
        BuilderCase{"ProfileNameReadPrefilled", BuildProfileNameRead(5, 0xFF),
                    With(With(Header(1, 0x22, 1), Range(10, 40, 0xFF)), {{9, 5}})},
        BuilderCase{"ProfileNameWrite", ProfileNameWrite(1, u"Go"),
                    With(Header(0, 0x22, 41), {{9, 1}, {10, 'G'}, {12, 'o'}})},
        BuilderCase{"ProfileNameErase", BuildProfileNameErase(4),
                    With(With(Header(0, 0x22, 41), Range(10, 40, 0xFF)), {{9, 4}})},
        BuilderCase{"MemorySpaceRead", BuildMemorySpaceRead(), Header(1, 0x23, 0)},
        BuilderCase{"DownloadEnter", BuildDownloadMode(true), With(Header(0, 0x24, 1), {{9, 1}})},
        BuilderCase{"DownloadLeave", BuildDownloadMode(false), With(Header(0, 0x24, 1), {{9, 2}})},
        BuilderCase{"SensorRomRead", BuildSensorRomRead(), Header(1, 0x30, 1)},
        BuilderCase{"DefaultLayout", BuildDefaultLayoutWrite(),
                    With(Header(0, 0x06, 65),
                         {{9, 3}, {10, 2}, {11, 4},
                          {14, 1}, {15, 1}, {18, 2}, {19, 2}, {22, 3}, {23, 3}, {26, 4}, {27, 4},
                          {30, 5}, {31, 5}, {34, 6}, {35, 0x0B}, {38, 7}, {39, 0x0C},
                          {42, 8}, {43, 8}, {46, 9}, {47, 9}})}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Builders, DefaultProfileBlockGoesOutAsAFreshWrite) {
  const FeatureReport r = BuildProfileWrite(DefaultProfileBlock(2));
  const Bytes expected = With(
      Header(0, 0x06, 56),
      {{9, 2}, {10, 7}, {11, 3}, {12, 5},
       {13, 28}, {14, 28}, {15, 44}, {16, 44}, {17, 68}, {18, 68}, {19, 156}, {20, 156},
       {21, 220}, {22, 220},
       {29, 1}, {30, 1}, {33, 2}, {34, 2}, {37, 3}, {38, 3}, {41, 4}, {42, 4}, {45, 5}, {46, 5},
       {49, 6}, {50, 11}, {53, 7}, {54, 12}, {57, 8}, {58, 8}, {61, 9}, {62, 9}});
  for (size_t i = 0; i < kFeatureReportSize; ++i) {
    const auto it = expected.find(i);
    EXPECT_EQ(r[i], it == expected.end() ? 0 : it->second) << "byte " << i;
  }
  // The default stages are 800, 1200, 1800, 4000 and 5600 DPI.
  EXPECT_EQ(CodeToDpi(r[13]), 800u);
  EXPECT_EQ(CodeToDpi(r[21]), 5600u);
}

TEST(Builders, NamesLongerThanNineteenUnitsAreRefused) {
  const std::u16string nineteen(19, u'n');
  FeatureReport r{};
  EXPECT_EQ(BuildMacroNameWrite(1, nineteen, r), kS_OK);
  EXPECT_EQ(r[9 + 2 * 18], 'n');
  EXPECT_EQ(r[9 + 2 * 19], 0);  // terminator
  EXPECT_EQ(BuildProfileNameWrite(1, nineteen, r), kS_OK);

  FeatureReport untouched{};
  untouched[40] = 0x42;
  FeatureReport out = untouched;
  EXPECT_EQ(BuildMacroNameWrite(1, nineteen + u"n", out), kE_FAIL);
  EXPECT_EQ(BuildProfileNameWrite(1, nineteen + u"n", out), kE_FAIL);
  EXPECT_EQ(out, untouched);
}

struct DpiCase {
  uint32_t dpi;
  uint8_t code;
};

TEST(DpiCodes, EncodeTruncates) {
  for (const DpiCase& c : {DpiCase{800, 28}, DpiCase{810, 28}, DpiCase{824, 28}, DpiCase{825, 29},
                           DpiCase{100, 0}, DpiCase{5600, 220}, DpiCase{6475, 255}})
    EXPECT_EQ(DpiToCode(c.dpi), c.code) << c.dpi;
}

TEST(DpiCodes, DecodeAndRange) {
  EXPECT_EQ(CodeToDpi(28), 800u);
  EXPECT_EQ(CodeToDpi(0), 100u);
  EXPECT_EQ(CodeToDpi(220), 5600u);
  EXPECT_EQ(CodeToDpi(255), 6475u);
  EXPECT_TRUE(DpiFitsCode(100));
  EXPECT_TRUE(DpiFitsCode(6475));
  EXPECT_FALSE(DpiFitsCode(99));
  EXPECT_FALSE(DpiFitsCode(6500));
  EXPECT_EQ(DpiToCode(6500), 0);  // the byte wraps, as the protocol defines
}

TEST(PollingRates, MapBothWays) {
  struct Case { uint32_t hz; uint8_t code; };
  for (const Case& c : {Case{1000, 1}, Case{500, 2}, Case{125, 8}}) {
    EXPECT_EQ(PollingRateToCode(c.hz), c.code);
    EXPECT_EQ(PollingCodeToRate(c.code), c.hz);
  }
  EXPECT_EQ(PollingRateToCode(250), std::nullopt);
  EXPECT_EQ(PollingCodeToRate(4), std::nullopt);
  EXPECT_EQ(PollingCodeToRate(0), std::nullopt);
}

TEST(BigEndian, PutAndGet) {
  FeatureReport r{};
  PutBigEndian16(r, 10, 0xABCD);
  EXPECT_EQ(r[10], 0xAB);
  EXPECT_EQ(r[11], 0xCD);
  EXPECT_EQ(GetBigEndian16(r, 10), 0xABCD);
  PutBigEndian16(r, 88, 0x1234);  // would reach the checksum byte: not written
  EXPECT_EQ(r[88], 0);
  EXPECT_EQ(r[89], 0);
  EXPECT_EQ(GetBigEndian16(r, 90), 0);
}

TEST(ReadModifyWrite, PrepareKeepsEveryByteButTheHeaderOnes) {
  FeatureReport reply{};
  for (size_t i = 0; i < reply.size(); ++i) reply[i] = static_cast<uint8_t>(i + 100);
  FeatureReport write = reply;
  PrepareWriteFromReply(write, 5);
  for (size_t i = 0; i < write.size(); ++i) {
    switch (i) {
      case 2: case 3: case 89: EXPECT_EQ(write[i], 0) << i; break;
      case 5: EXPECT_EQ(write[i], 5); break;
      case 90: EXPECT_EQ(write[i], 1); break;
      default: EXPECT_EQ(write[i], reply[i]) << i;
    }
  }
}

TEST(Replies, ProfileNames) {
  FeatureReport r{};
  r[10] = 0xFF;
  r[11] = 'x';
  EXPECT_EQ(ParseProfileName(r), u"");
  r[10] = 'H';
  r[11] = 0;
  r[12] = 'i';
  EXPECT_EQ(ParseProfileName(r), u"Hi");
  // A name without terminator ends with its field (20 units, bytes 10 to 49).
  for (size_t i = 10; i < 89; ++i) r[i] = (i % 2) ? 0 : 'z';
  EXPECT_EQ(ParseProfileName(r), std::u16string(20, u'z'));
}

TEST(Replies, MacroNameEndsAtThePayloadWhateverTheDeviceSends) {
  FeatureReport r{};
  for (size_t i = 9; i < 91; ++i) r[i] = 'q';
  const std::u16string name = ParseMacroName(r);
  EXPECT_EQ(name.size(), 40u);  // bytes 9 to 88
}

TEST(Replies, PayloadLengthIsCutToTheReport) {
  FeatureReport r{};
  r[kLength] = 0xF0;
  EXPECT_EQ(ReplyPayloadLength(r), 80u);
  EXPECT_EQ(ReplyPayload(r).size(), 80u);
  EXPECT_EQ(ReplyBytes(r, 80, 40).size(), 9u);
  EXPECT_TRUE(ReplyBytes(r, 89, 1).empty());
  EXPECT_TRUE(ReplyBytes(r, 2, 1).empty());
}

TEST(Replies, FixedFields) {
  FeatureReport r{};
  for (size_t i = 9; i < 65; ++i) r[i] = static_cast<uint8_t>(i);
  const DeviceInformation info = ParseDeviceInformation(r);
  EXPECT_EQ(info.serial[0], 9);
  EXPECT_EQ(info.serial[31], 40);
  EXPECT_EQ(info.firmware_major, 41);
  EXPECT_EQ(info.firmware_minor, 42);
  EXPECT_EQ(ParsePerformance(r), (Performance{9, 10, 11, 12, 13}));
  EXPECT_EQ(ParseMemorySpace(r).total, 9);
  EXPECT_EQ(ParseMemorySpace(r).used, 10);
  FeatureReport w{};
  StorePerformance(w, Performance{1, 2, 3, 4, 5});
  EXPECT_EQ(ParsePerformance(w), (Performance{1, 2, 3, 4, 5}));
  EXPECT_EQ(ParseProfileBlock(r)[0], 9);
  EXPECT_EQ(ParseProfileBlock(r)[55], 64);
}

}  // namespace
}  // namespace quill
