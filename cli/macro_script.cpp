#include "cli/macro_script.h"

#include <optional>

#include "cli/input_names.h"

namespace quill::cli {
namespace {

constexpr size_t kHeaderBytes = 50;

std::vector<std::string_view> Words(std::string_view line) {
  std::vector<std::string_view> words;
  size_t i = 0;
  while (i < line.size()) {
    while (i < line.size() && (line[i] == ' ' || line[i] == '\t')) ++i;
    const size_t start = i;
    while (i < line.size() && line[i] != ' ' && line[i] != '\t') ++i;
    if (i > start) words.push_back(line.substr(start, i - start));
  }
  return words;
}

std::optional<int64_t> Milliseconds(std::string_view text) {
  std::string_view digits = text;
  if (digits.size() > 2 && LowerAscii(digits.substr(digits.size() - 2)) == "ms")
    digits.remove_suffix(2);
  if (digits.empty() || digits.size() > 9) return std::nullopt;
  int64_t value = 0;
  for (char c : digits) {
    if (c < '0' || c > '9') return std::nullopt;
    value = value * 10 + (c - '0');
  }
  return value;
}

size_t DelayBytes(int32_t delay) {
  if (delay <= 0) return 0;
  if (delay <= 0xFF) return 2;
  if (delay <= 0xFFFF) return 3;
  return 4;
}

class ScriptParser {
 public:
  MacroScriptResult Run(std::string_view text) {
    if (text.size() > kMaxMacroScriptBytes)
      return Fail(0, "the macro text is larger than " + std::to_string(kMaxMacroScriptBytes) + " bytes");
    if (text.size() >= 3 && text.substr(0, 3) == "\xEF\xBB\xBF") text.remove_prefix(3);
    size_t number = 0;
    while (!text.empty() || number == 0) {
      ++number;
      const size_t end = text.find('\n');
      std::string_view line = text.substr(0, end);
      text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
      if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
      if (line.size() > kMaxMacroScriptLineBytes)
        return Fail(number, "longer than " + std::to_string(kMaxMacroScriptLineBytes) + " characters");
      std::string error = Line(line);
      if (!error.empty()) return Fail(number, error);
      if (size_ > kMaxMacroStreamBytes)
        return Fail(number, "the macro needs more than the mouse's " + std::to_string(kMaxMacroStreamBytes) +
                                " bytes");
      if (text.empty()) break;
    }
    if (result_.steps.empty()) return Fail(0, "the macro text holds no events");
    result_.ok = true;
    return std::move(result_);
  }

 private:
  MacroScriptResult Fail(size_t line, const std::string& message) {
    MacroScriptResult failed;
    failed.error = line ? "line " + std::to_string(line) + ": " + message : message;
    return failed;
  }

  // The error of one line, "" when it is fine.
  std::string Line(std::string_view line) {
    const size_t hash = line.find('#');
    const std::vector<std::string_view> words = Words(line.substr(0, hash));
    if (words.empty()) return {};
    const std::string verb = LowerAscii(words[0]);
    if (verb == "delay") {
      if (words.size() != 2) return "usage: delay <milliseconds>";
      return Delay(words[1]);
    }
    if (verb != "down" && verb != "up" && verb != "click")
      return "unknown word \"" + std::string(words[0]) + "\" (down, up, click, delay)";
    if (words.size() != 2) return "usage: " + verb + " <key or mouse button>";
    if (std::optional<int32_t> button = MouseButtonFromName(words[1])) {
      const bool held = (buttons_held_ >> *button) & 1;
      if (verb != "up" && held) return "mouse button " + MouseButtonName(*button) + " is already down";
      if (verb == "up" && !held) return "mouse button " + MouseButtonName(*button) + " is not down";
      if (verb != "up") Add(ButtonStep(*button, false));
      if (verb != "down") Add(ButtonStep(*button, true));
      buttons_held_ ^= verb == "click" ? 0 : 1u << *button;
      return {};
    }
    std::optional<uint8_t> usage = KeyUsageFromName(words[1]);
    if (!usage) return "unknown key or mouse button \"" + std::string(words[1]) + "\"";
    if (verb != "up") Add(KeyStep(*usage, false));
    if (verb != "down") Add(KeyStep(*usage, true));
    return {};
  }

  std::string Delay(std::string_view text) {
    std::optional<int64_t> ms = Milliseconds(text);
    if (!ms) return "delay \"" + std::string(text) + "\" is not a number of milliseconds";
    if (result_.steps.empty()) return "a delay must follow an event";
    MacroStep& last = result_.steps.back();
    const int64_t total = last.delay_ms + *ms;
    if (total > kMaxStepDelayMs)
      return "the delay after an event is at most " + std::to_string(kMaxStepDelayMs) + " ms";
    size_ -= DelayBytes(last.delay_ms);
    last.delay_ms = static_cast<int32_t>(total);
    size_ += DelayBytes(last.delay_ms);
    return {};
  }

  void Add(const MacroStep& step) {
    result_.steps.push_back(step);
    size_ += step.action_type == kStepKey ? 2 : 1;
  }

  MacroScriptResult result_;
  uint32_t buttons_held_ = 0;
  size_t size_ = kHeaderBytes;
};

bool IsRelease(const MacroStep& step) {
  return step.info[step.action_type == kStepKey ? 2 : 1] != 0;
}

}  // namespace

MacroStep KeyStep(uint8_t usage, bool release, int32_t delay_ms) {
  MacroStep step;
  step.action_type = kStepKey;
  step.info = {usage, 0, release ? kStepReleaseOptions : 0};
  step.delay_ms = delay_ms;
  return step;
}

MacroStep ButtonStep(int32_t click_type, bool release, int32_t delay_ms) {
  MacroStep step;
  step.action_type = kStepClick;
  step.info = {click_type, release ? kStepReleaseOptions : 0, 0};
  step.delay_ms = delay_ms;
  return step;
}

MacroScriptResult ParseMacroScript(std::string_view text) { return ScriptParser().Run(text); }

std::string StepEventText(const MacroStep& step) {
  const std::string verb = IsRelease(step) ? "up " : "down ";
  if (step.action_type == kStepKey && step.info[0] >= 0 && step.info[0] <= 0xFF)
    return verb + KeyUsageName(static_cast<uint8_t>(step.info[0]));
  if (step.action_type == kStepClick && step.info[0] >= 0 && step.info[0] < kMouseButtonCount)
    return verb + MouseButtonName(step.info[0]);
  return "action " + std::to_string(step.action_type) + " (" + std::to_string(step.info[0]) + ", " +
         std::to_string(step.info[1]) + ", " + std::to_string(step.info[2]) + ")";
}

std::string FormatMacroScript(const std::vector<MacroStep>& steps) {
  std::string text;
  for (const MacroStep& step : steps) {
    text += StepEventText(step) + "\n";
    if (step.delay_ms > 0) text += "delay " + std::to_string(step.delay_ms) + "\n";
  }
  return text;
}

size_t EncodedMacroSize(const std::vector<MacroStep>& steps) {
  size_t size = kHeaderBytes;
  for (const MacroStep& step : steps) size += (step.action_type == kStepKey ? 2 : 1) + DelayBytes(step.delay_ms);
  return size;
}

}  // namespace quill::cli
