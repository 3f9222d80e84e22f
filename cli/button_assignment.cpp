#include "cli/button_assignment.h"

#include <algorithm>

#include "cli/button_text.h"
#include "cli/input_names.h"
#include "common/key_names.h"

namespace quill::cli {
namespace {

using buttons::ButtonInfo;
using buttons::FunctionKind;

// The word of each catalogue function, in function index order.
constexpr std::array<std::string_view, buttons::kFunctionCount> kFunctionWords = {
    "click",   "menu",     "universal-scrolling", "double-click", "macro",     "dpi-up",      "dpi-down", "forward",
    "backward", "on-the-fly", "key",              "profile",      "scroll-up", "scroll-down", "off"};

bool Offers(const ButtonInfo& button, int function) {
  const std::span<const int> list = buttons::CatalogueFunctions(button.catalogue);
  return std::find(list.begin(), list.end(), function) != list.end();
}

std::string OfferedWords(const ButtonInfo& button) {
  std::string words;
  for (int f : buttons::CatalogueFunctions(button.catalogue))
    words += (words.empty() ? "" : ", ") + std::string(kFunctionWords[static_cast<size_t>(f)]);
  return words;
}

// A key by the client's names (or 0xNN), else by the key-cap names of the key tables.
std::optional<uint8_t> KeyOf(std::string_view name) {
  if (std::optional<uint8_t> usage = KeyUsageFromName(name)) return usage;
  std::u16string wide;
  for (char c : name) {
    if (static_cast<unsigned char>(c) >= 0x80) return std::nullopt;
    wide += static_cast<char16_t>(c);
  }
  const uint16_t code = KeyCodeFromName(wide);
  const uint8_t usage = code ? HidUsageFromKeyCode(code) : 0;
  if (usage == 0) return std::nullopt;
  return usage;
}

}  // namespace

const ButtonInfo* ButtonByName(std::string_view name) {
  const std::string lower = LowerAscii(name);
  for (const ButtonInfo& button : buttons::Buttons())
    if (ButtonName(button.lButton) == lower) return &button;
  return nullptr;
}

std::string NameOfButton(const ButtonInfo& button) { return ButtonName(button.lButton); }

std::optional<ButtonAssignment> ParseAssignment(const ButtonInfo& button, std::string_view word, std::string& error) {
  const size_t colon = word.find(':');
  const std::string head = LowerAscii(word.substr(0, colon));
  const std::string_view rest = colon == std::string_view::npos ? std::string_view() : word.substr(colon + 1);
  const auto found = std::find(kFunctionWords.begin(), kFunctionWords.end(), head);
  if (found == kFunctionWords.end()) {
    error = "'" + std::string(word) + "' is not a function (" + OfferedWords(button) + ")";
    return std::nullopt;
  }
  ButtonAssignment a;
  a.function = static_cast<int>(found - kFunctionWords.begin());
  const buttons::FunctionKind kind = buttons::FunctionByIndex(a.function)->kind;
  if (!Offers(button, a.function)) {
    error = NameOfButton(button) + " cannot be " + std::string(head) + " (it offers " + OfferedWords(button) + ")";
    return std::nullopt;
  }
  if (kind == FunctionKind::Fixed) {
    if (colon != std::string_view::npos) {
      error = "'" + std::string(word) + "': " + head + " takes nothing after ':'";
      return std::nullopt;
    }
    return a;
  }
  if (rest.empty()) {
    error = "'" + std::string(word) + "': " + head + " needs " +
            (kind == FunctionKind::SingleKey ? "a key name" : kind == FunctionKind::Macro ? "a macro" : "a profile") +
            " after ':' (" + head + ":...)";
    return std::nullopt;
  }
  if (kind == FunctionKind::SingleKey) {
    std::optional<uint8_t> usage = KeyOf(rest);
    if (!usage || *usage == 0) {
      error = "unknown key \"" + std::string(rest) + "\" (QuillfernCli help upload lists the key names)";
      return std::nullopt;
    }
    a.key = *usage;
    return a;
  }
  a.target = std::string(rest);
  return a;
}

std::optional<ButtonAssignment> ParseButtonAssignment(std::string_view text, const ButtonInfo*& button,
                                                      std::string& error) {
  const size_t equals = text.find('=');
  if (equals == std::string_view::npos) {
    error = "'" + std::string(text) + "' is not <button>=<function>";
    return std::nullopt;
  }
  button = ButtonByName(text.substr(0, equals));
  if (!button) {
    error = "'" + std::string(text.substr(0, equals)) +
            "' is not a button (left, right, middle, button4, button5, dpi-up, dpi-down, scroll-up, scroll-down)";
    return std::nullopt;
  }
  return ParseAssignment(*button, text.substr(equals + 1), error);
}

std::string AssignmentWord(const ButtonAssignment& a) {
  if (a.function < 0 || a.function >= buttons::kFunctionCount) return "function " + std::to_string(a.function);
  std::string word(kFunctionWords[static_cast<size_t>(a.function)]);
  switch (buttons::FunctionByIndex(a.function)->kind) {
    case FunctionKind::SingleKey: return word + ":" + KeyUsageName(a.key);
    case FunctionKind::Macro:
    case FunctionKind::Profile: return word + ":" + a.target;
    case FunctionKind::Fixed: break;
  }
  return word;
}

buttons::MappingWords MappingOf(const ButtonInfo& button, const ButtonAssignment& a) {
  switch (buttons::FunctionByIndex(a.function)->kind) {
    case FunctionKind::SingleKey: return buttons::SingleKeyMapping(button.lButton, a.key);
    case FunctionKind::Macro: return buttons::MacroMapping(button.lButton, a.number);
    case FunctionKind::Profile: return buttons::ProfileMapping(button.lButton, a.number);
    case FunctionKind::Fixed: break;
  }
  return *buttons::FixedMapping(button, a.function);
}

std::optional<ButtonAssignment> AssignmentOf(const buttons::MappingWords& mapping) {
  ButtonAssignment a;
  a.function = buttons::FunctionForMapping(mapping);
  if (a.function < 0) return std::nullopt;
  switch (buttons::FunctionByIndex(a.function)->kind) {
    case FunctionKind::SingleKey:
      if (mapping.info[0] <= 0 || mapping.info[0] > 0xFF) return std::nullopt;
      a.key = static_cast<uint8_t>(mapping.info[0]);
      break;
    case FunctionKind::Macro: a.number = mapping.info[0]; break;
    case FunctionKind::Profile: a.number = mapping.info[2]; break;
    case FunctionKind::Fixed: break;
  }
  return a;
}

std::string AssignmentHelp() {
  std::string text = "Buttons:";
  for (const ButtonInfo& button : buttons::Buttons()) text += " " + NameOfButton(button);
  text += "\nFunctions:\n";
  const char* meanings[buttons::kFunctionCount] = {
      "the primary click",       "the context menu (right click)", "universal scrolling (middle click)",
      "a double click",          "play a macro, by number or name", "the next DPI stage",
      "the previous DPI stage",  "the browser's forward button",   "the browser's back button",
      "on-the-fly sensitivity",  "a single key, by name or 0xNN",  "switch to the profile of that slot",
      "scroll up",               "scroll down",                    "does nothing"};
  for (int f = 0; f < buttons::kFunctionCount; ++f) {
    std::string word(kFunctionWords[static_cast<size_t>(f)]);
    const FunctionKind kind = buttons::FunctionByIndex(f)->kind;
    if (kind == FunctionKind::SingleKey) word += ":<key>";
    if (kind == FunctionKind::Macro) word += ":<number|name>";
    if (kind == FunctionKind::Profile) word += ":<slot>";
    text += "  " + word + std::string(word.size() < 22 ? 22 - word.size() : 1, ' ') + meanings[f] + "\n";
  }
  text += "scroll-up and scroll-down offer only " + OfferedWords(*ButtonByName("scroll-up")) + ".\n";
  return text;
}

}  // namespace quill::cli
