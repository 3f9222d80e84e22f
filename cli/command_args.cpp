#include "cli/command_args.h"

namespace quill::cli {

std::optional<int64_t> ParseBounded(std::string_view text, int64_t min, int64_t max) {
  if (text.empty() || text.size() > 12) return std::nullopt;
  int64_t value = 0;
  for (char c : text) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  if (value < min || value > max) return std::nullopt;
  return value;
}

std::string CheckDpi(int64_t dpi) {
  if (dpi < kMinDpi || dpi > kMaxDpi)
    return std::to_string(dpi) + " DPI is out of range (" + std::to_string(kMinDpi) + " to " +
           std::to_string(kMaxDpi) + ")";
  if ((dpi - kMinDpi) % kDpiStep != 0)
    return std::to_string(dpi) + " DPI is not a multiple of " + std::to_string(kDpiStep);
  return {};
}

StageArgs ParseStageArgs(const std::vector<std::string>& args) {
  StageArgs out;
  auto fail = [&](std::string message) {
    out.error = std::move(message);
    return out;
  };
  std::string list;
  std::string default_text;
  for (size_t i = 0; i < args.size(); ++i) {
    if (args[i] == "--default") {
      if (i + 1 >= args.size() || !default_text.empty()) return fail("--default needs one stage number");
      default_text = args[++i];
    } else if (list.empty()) {
      list = args[i];
    } else {
      return fail("unexpected argument '" + args[i] + "'");
    }
  }
  if (list.empty()) return fail("no DPI values given (for example 400,800,1600)");
  size_t start = 0;
  for (;;) {
    const size_t comma = list.find(',', start);
    const std::string item = list.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
    if (out.dpis.size() == kMaxDpiStages)
      return fail("more than " + std::to_string(kMaxDpiStages) + " stages (the mouse holds at most " +
                  std::to_string(kMaxDpiStages) + ")");
    std::optional<int64_t> dpi = ParseBounded(item, 0, 1000000);
    if (!dpi) return fail("'" + item + "' is not a DPI value");
    if (std::string why = CheckDpi(*dpi); !why.empty()) return fail(why);
    out.dpis.push_back(*dpi);
    if (comma == std::string::npos) break;
    start = comma + 1;
  }
  if (!default_text.empty()) {
    out.default_stage = ParseBounded(default_text, 1, static_cast<int64_t>(out.dpis.size()));
    if (!out.default_stage)
      return fail("--default " + default_text + " names no stage (1 to " + std::to_string(out.dpis.size()) + ")");
  }
  return out;
}

std::optional<int64_t> ParseSlot(std::string_view text, std::string& error) {
  std::optional<int64_t> slot = ParseBounded(text, kFirstProfileSlot, kLastProfileSlot);
  if (!slot) error = "profile slot '" + std::string(text) + "' is not 1 to 5";
  return slot;
}

}  // namespace quill::cli
