// DPI stages of a profile as the desktop programs hold them: the fields of the middleware's
// _stDpiStageType with room for the five stages the mouse has.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>

namespace quill {

constexpr uint32_t kMaxDpiStages = 5;

struct SensitivityPair {
  uint32_t ulXSensitivity = 0;
  uint32_t ulYSensitivity = 0;
  bool operator==(const SensitivityPair&) const = default;
};

struct DpiStages {
  uint32_t ulTotalStages = 0;  // 0 to kMaxDpiStages
  SensitivityPair CurrentDpiStage;
  int32_t lCurrentStage = 0;
  int32_t lDefaultStage = 0;
  std::array<SensitivityPair, kMaxDpiStages> Sensitivity{};
  bool operator==(const DpiStages&) const = default;
};

}  // namespace quill
