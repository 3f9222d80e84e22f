// Arguments of the client's commands, checked before anything is sent to the mouse.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quill::cli {

// Decimal integer without sign in [min, max]; nullopt otherwise.
std::optional<int64_t> ParseBounded(std::string_view text, int64_t min, int64_t max);

// What the mouse stores: DPI values are codes of one byte, DPI = code * 25 + 100.
constexpr int64_t kMinDpi = 100;
constexpr int64_t kMaxDpi = 255 * 25 + 100;  // 6475
constexpr int64_t kDpiStep = 25;
constexpr size_t kMaxDpiStages = 5;
constexpr int64_t kFirstProfileSlot = 1;
constexpr int64_t kLastProfileSlot = 5;

// A DPI value the mouse can hold, or the reason it cannot ("" on success).
std::string CheckDpi(int64_t dpi);

struct StageArgs {
  std::vector<int64_t> dpis;                 // one per stage
  std::optional<int64_t> default_stage;      // 1-based; nullopt when not given
  std::string error;                         // not empty: a usage error
};

// "<dpi,...> [--default N]": 1 to 5 comma-separated DPI values, each a multiple of 25 from 100 to
// 6475, and N from 1 to the number of stages.
StageArgs ParseStageArgs(const std::vector<std::string>& args);

// A profile slot 1 to 5, or the usage error.
std::optional<int64_t> ParseSlot(std::string_view text, std::string& error);

}  // namespace quill::cli
