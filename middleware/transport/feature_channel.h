// The two exchange operations the command layer needs. DriverHandler implements them; feature
// objects may be tested against a recording implementation.
#pragma once
#include <cstddef>

#include "middleware/transport/feature_report.h"
#include "middleware/typelib/hresult_codes.h"

namespace quill {

class FeatureChannel {
 public:
  virtual ~FeatureChannel() = default;
  // Write request: the report goes out with its checksum; on return it holds the last reply.
  virtual HResult SetFeatureRaw(FeatureReport& report, size_t length, bool recover) = 0;
  // Read request: the same exchange.
  virtual HResult GetFeatureRaw(FeatureReport& report, size_t length, bool recover) = 0;
};

}  // namespace quill
