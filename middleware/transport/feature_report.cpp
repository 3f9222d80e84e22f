#include "middleware/transport/feature_report.h"

namespace quill {

uint8_t ComputeChecksum(const FeatureReport& report) {
  uint8_t sum = 0;
  for (size_t i = kChecksumFirst; i <= kChecksumLast; ++i) sum ^= report[i];
  return sum;
}

void ApplyChecksum(FeatureReport& report) { report[kChecksum] = ComputeChecksum(report); }

FeatureReport MakeResetReport() {
  FeatureReport report{};
  report[kFixedOne] = 1;
  report[kTrailer] = 1;
  return report;
}

}  // namespace quill
