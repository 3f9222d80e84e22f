#include <gtest/gtest.h>

#include "middleware/transport/feature_report.h"

namespace quill {
namespace {

TEST(Checksum, AllZeroCoveredBytesGiveZeroWhateverTheExcludedBytesHold) {
  FeatureReport report{};
  report[0] = 0x55;
  report[1] = 1;
  report[2] = 0x77;
  report[89] = 0x99;
  report[90] = 1;
  EXPECT_EQ(ComputeChecksum(report), 0);
}

TEST(Checksum, EveryCoveredByteChangesIt) {
  for (size_t i = kChecksumFirst; i <= kChecksumLast; ++i) {
    FeatureReport report{};
    report[i] = 0x5A;
    EXPECT_EQ(ComputeChecksum(report), 0x5A) << "byte " << i;
  }
}

TEST(Checksum, ExcludedBytesNeverEnterIt) {
  FeatureReport base{};
  base[4] = 0x06;
  base[9] = 0x11;
  const uint8_t expected = ComputeChecksum(base);
  EXPECT_EQ(expected, 0x06 ^ 0x11);
  for (size_t i : {size_t{0}, size_t{1}, size_t{2}, size_t{89}, size_t{90}}) {
    FeatureReport report = base;
    report[i] = 0xFF;
    EXPECT_EQ(ComputeChecksum(report), expected) << "byte " << i;
  }
}

TEST(Checksum, IsStoredInByte89) {
  FeatureReport report{};
  report[3] = 1;
  report[4] = 2;
  report[88] = 0x80;
  ApplyChecksum(report);
  EXPECT_EQ(report[89], 1 ^ 2 ^ 0x80);
}

TEST(ResetReport, HoldsOnlyTheFixedBytes) {
  const FeatureReport reset = MakeResetReport();
  for (size_t i = 0; i < reset.size(); ++i)
    EXPECT_EQ(reset[i], (i == 1 || i == 90) ? 1 : 0) << "byte " << i;
}

}  // namespace
}  // namespace quill
