// buttons: a profile's nine button assignments, shown or set through the profile object's
// mappings (all nine in one write).
#include <algorithm>

#include "cli/button_assignment.h"
#include "cli/command_args.h"
#include "cli/win/commands.h"
#include "cli/win/profile_view.h"
#include "winsupport/com_ptr.h"

namespace quill::cli {
namespace {

constexpr int64_t kMaxMacroId = 70;

struct Change {
  const buttons::ButtonInfo* button = nullptr;
  ButtonAssignment assignment;
  bool macro_by_name = false;
};

bool IsMacro(const ButtonAssignment& a) {
  return buttons::FunctionByIndex(a.function)->kind == buttons::FunctionKind::Macro;
}
bool IsProfile(const ButtonAssignment& a) {
  return buttons::FunctionByIndex(a.function)->kind == buttons::FunctionKind::Profile;
}

// The arguments after "set", checked without the mouse. "" when they are fine.
std::string ParseChanges(const std::vector<std::string>& args, std::vector<Change>& changes) {
  for (const std::string& arg : args) {
    Change c;
    std::string error;
    std::optional<ButtonAssignment> a = ParseButtonAssignment(arg, c.button, error);
    if (!a) return error;
    for (const Change& earlier : changes)
      if (earlier.button == c.button) return NameOfButton(*c.button) + " is set twice";
    if (IsMacro(*a)) {
      const bool digits = std::all_of(a->target.begin(), a->target.end(), [](char ch) { return ch >= '0' && ch <= '9'; });
      if (digits) {
        std::optional<int64_t> id = ParseBounded(a->target, 1, kMaxMacroId);
        if (!id) return "macro number '" + a->target + "' is not 1 to 70";
        a->number = static_cast<int32_t>(*id);
      } else {
        c.macro_by_name = true;
      }
    } else if (IsProfile(*a)) {
      std::optional<int64_t> slot = ParseSlot(a->target, error);
      if (!slot) return error;
      a->number = static_cast<int32_t>(*slot);
    }
    c.assignment = *a;
    changes.push_back(std::move(c));
  }
  // When the arguments name every button that can click, they alone decide the click rule.
  const auto names_it = [&](const buttons::ButtonInfo& b) {
    return b.catalogue == buttons::Catalogue::Wheel ||
           std::any_of(changes.begin(), changes.end(), [&](const Change& c) { return c.button == &b; });
  };
  const bool all_named = std::all_of(buttons::Buttons().begin(), buttons::Buttons().end(), names_it);
  const bool clicks = std::any_of(changes.begin(), changes.end(),
                                  [](const Change& c) { return c.assignment.function == buttons::kFunctionClick; });
  if (all_named && !clicks) return "at least one button must stay on click";
  return {};
}

// Macro names and numbers, and target profiles, checked against the mouse (reads only). The exit
// code when one is not there.
std::optional<int> Resolve(Onboard& onboard, Output& out, std::vector<Change>& changes) {
  const bool macros = std::any_of(changes.begin(), changes.end(), [](const Change& c) { return IsMacro(c.assignment); });
  std::vector<std::pair<LONG, LONG>> list;
  std::vector<std::string> names;
  if (macros) {
    if (!onboard.ListMacros(list)) return kExitFailed;
    for (const auto& [id, size] : list) {
      names.emplace_back();
      if (!onboard.MacroName(id, names.back())) return kExitFailed;
    }
  }
  for (Change& c : changes) {
    ButtonAssignment& a = c.assignment;
    if (IsMacro(a) && c.macro_by_name) {
      const auto count = std::count(names.begin(), names.end(), a.target);
      if (count == 0) return UsageError(out, "buttons", "the mouse holds no macro named \"" + a.target + "\"");
      if (count > 1)
        return UsageError(out, "buttons", "more than one macro is named \"" + a.target + "\"; give its number");
      a.number = list[static_cast<size_t>(std::find(names.begin(), names.end(), a.target) - names.begin())].first;
    } else if (IsMacro(a)) {
      if (std::none_of(list.begin(), list.end(), [&](const auto& m) { return m.first == a.number; }))
        return UsageError(out, "buttons", "the mouse holds no macro " + std::to_string(a.number));
    } else if (IsProfile(a) && onboard.profiles()->ProfileExists(a.number) != S_OK) {
      return UsageError(out, "buttons", "profile slot " + std::to_string(a.number) + " is empty");
    }
  }
  return std::nullopt;
}

int PrintButtons(Onboard& onboard, Output& out, IMeridexProfileObject* profile, int64_t slot) {
  ProfileView view;
  HRESULT hr = ReadProfile(profile, view);
  if (FAILED(hr)) return Failure(out, "could not read profile " + std::to_string(slot), hr);
  std::vector<std::vector<Record>> per_profile;
  std::vector<Record> rows;
  if (!DescribeButtons(onboard, {view}, per_profile, rows)) return kExitFailed;
  if (!out.json()) {
    out.PrintTable(rows);
    return kExitOk;
  }
  Record head;
  head.Number("slot", slot).Records("buttons", per_profile.front());
  out.Print(head);
  return kExitOk;
}

}  // namespace

int RunButtons(DeviceSession& session, const std::vector<std::string>& args, Output& out) {
  if (args.empty() || (args.size() >= 2 && args[1] != "set") || args.size() == 2)
    return UsageError(out, "buttons", "buttons takes a profile slot, then optionally set and <button>=<function>...");
  std::string error;
  std::optional<int64_t> slot = ParseSlot(args[0], error);
  if (!slot) return UsageError(out, "buttons", error);
  std::vector<Change> changes;
  if (args.size() > 2) {
    error = ParseChanges(std::vector<std::string>(args.begin() + 2, args.end()), changes);
    if (!error.empty()) return UsageError(out, "buttons", error);
  }

  Onboard onboard(session, out);
  com::ComPtr<IMeridexProfileObject> profile;
  if (!onboard.Open() || !onboard.Profile(*slot, profile)) return kExitFailed;
  if (changes.empty()) return PrintButtons(onboard, out, profile.Get(), *slot);

  if (std::optional<int> failed = Resolve(onboard, out, changes)) return *failed;
  ProfileView view;
  HRESULT hr = ReadProfile(profile.Get(), view);
  if (FAILED(hr)) return Failure(out, "could not read profile " + std::to_string(*slot), hr);
  // The nine records in slot order: what the mouse holds, then the changes.
  std::array<buttons::MappingWords, buttons::kButtonCount> slots = buttons::DefaultMappings();
  for (const ButtonMapping& m : view.buttons)
    if (const buttons::ButtonInfo* b = buttons::ButtonForSlot(m.button - 1); b && b->lButton == m.button)
      slots[static_cast<size_t>(b->slot)] = WordsOf(m);
  for (const Change& c : changes) slots[static_cast<size_t>(c.button->slot)] = MappingOf(*c.button, c.assignment);
  if (!buttons::KeepsAClick(slots, 0, slots[0]))
    return UsageError(out, "buttons", "at least one button must stay on click");
  hr = WriteMappings(profile.Get(), std::vector<buttons::MappingWords>(slots.begin(), slots.end()));
  if (FAILED(hr)) return Failure(out, "could not set the buttons of profile " + std::to_string(*slot), hr);
  return PrintButtons(onboard, out, profile.Get(), *slot);
}

}  // namespace quill::cli
