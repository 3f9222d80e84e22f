// A FeatureChannel whose replies come from a function: for device replies the emulator never
// gives (bogus counts, unterminated names, a directory that claims more than it can hold).
#pragma once
#include <functional>
#include <utility>
#include <vector>

#include "middleware/transport/feature_channel.h"

namespace quill::device::test {

class ScriptedChannel : public FeatureChannel {
 public:
  // Turns the request (in place) into the reply and gives the exchange's result.
  using Responder = std::function<HResult(FeatureReport& report)>;
  explicit ScriptedChannel(Responder responder) : responder_(std::move(responder)) {}

  HResult SetFeatureRaw(FeatureReport& report, size_t, bool) override { return Exchange(report); }
  HResult GetFeatureRaw(FeatureReport& report, size_t, bool) override { return Exchange(report); }

  const std::vector<FeatureReport>& requests() const { return requests_; }

 private:
  HResult Exchange(FeatureReport& report) {
    requests_.push_back(report);
    return responder_(report);
  }
  Responder responder_;
  std::vector<FeatureReport> requests_;
};

}  // namespace quill::device::test
