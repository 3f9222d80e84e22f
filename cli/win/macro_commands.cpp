// macros, macro, upload: the macros in the mouse through the macro manager and macro objects.
#include <algorithm>
#include <cstdio>

#include "cli/command_args.h"
#include "cli/macro_script.h"
#include "cli/win/commands.h"
#include "cli/win/macro_elements.h"
#include "cli/win/onboard.h"

namespace quill::cli {
namespace {

constexpr int64_t kMaxMacroId = 70;

}  // namespace

int RunMacros(DeviceSession& session, const std::vector<std::string>& args, Output& out) {
  if (!args.empty()) return UsageError(out, "macros", "macros takes no arguments");
  Onboard onboard(session, out);
  std::vector<std::pair<LONG, LONG>> list;
  if (!onboard.Open() || !onboard.ListMacros(list)) return kExitFailed;
  std::vector<Record> rows;
  for (const auto& [id, size] : list) {
    std::string name;
    if (!onboard.MacroName(id, name)) return kExitFailed;
    Record r;
    r.Number("number", id).Text("name", name).Number("size", size);
    rows.push_back(r);
  }
  out.PrintTable(rows);
  return kExitOk;
}

int RunMacro(DeviceSession& session, const std::vector<std::string>& args, Output& out) {
  if (args.empty() || args.size() > 2 || (args.size() == 2 && args[1] != "--script"))
    return UsageError(out, "macro", "macro takes a macro number and optionally --script");
  std::optional<int64_t> id = ParseBounded(args[0], 1, kMaxMacroId);
  if (!id) return UsageError(out, "macro", "macro number '" + args[0] + "' is not 1 to 70");
  const bool script = args.size() == 2;
  Onboard onboard(session, out);
  std::vector<std::pair<LONG, LONG>> list;
  if (!onboard.Open() || !onboard.ListMacros(list)) return kExitFailed;
  auto stored = std::find_if(list.begin(), list.end(), [&](const auto& m) { return m.first == *id; });
  if (stored == list.end()) return Failure(out, "the mouse holds no macro " + std::to_string(*id), E_FAIL);
  std::string name;
  if (!onboard.MacroName(static_cast<LONG>(*id), name)) return kExitFailed;
  com::ComPtr<IMeridexMacroObject> macro;
  HRESULT hr = onboard.macros()->OpenMacro(static_cast<LONG>(*id), macro.Put());
  std::vector<MacroStep> steps;
  if (SUCCEEDED(hr)) hr = ReadSteps(macro.Get(), steps);
  if (FAILED(hr)) return Failure(out, "could not read macro " + std::to_string(*id), hr);

  if (script && !out.json()) {
    const std::string text = "# macro " + std::to_string(*id) + ": " + name + "\n" + FormatMacroScript(steps);
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fflush(stdout);
    return kExitOk;
  }
  Record head;
  head.Number("number", *id)
      .Text("name", name)
      .Number("size", stored->second)
      .Number("event count", static_cast<int64_t>(steps.size()));
  std::vector<Record> rows, events;
  for (size_t i = 0; i < steps.size(); ++i) {
    Record row;
    row.Number("step", static_cast<int64_t>(i + 1)).Text("event", StepEventText(steps[i])).Number("delay ms", steps[i].delay_ms);
    rows.push_back(row);
    Record event;
    event.Text("event", StepEventText(steps[i])).Number("delay ms", steps[i].delay_ms);
    events.push_back(event);
  }
  if (script) head.Text("script", FormatMacroScript(steps));  // JSON only: text printed it above
  out.PrintWithParts(head, "events", events, rows);
  return kExitOk;
}

int RunUpload(DeviceSession& session, const std::vector<std::string>& args, Output& out) {
  if (args.size() != 2) return UsageError(out, "upload", "upload takes a macro name and a file (or -)");
  std::wstring name;
  if (std::string why = CheckDeviceName(args[0], name); !why.empty()) return UsageError(out, "upload", why);
  std::vector<MacroStep> steps;
  if (std::optional<int> failed = ReadMacroText(out, args[1], steps)) return *failed;

  Onboard onboard(session, out);
  std::vector<std::pair<LONG, LONG>> list;
  if (!onboard.Open() || !onboard.ListMacros(list)) return kExitFailed;
  IMeridexMacroManager* manager = onboard.macros();
  com::ComPtr<IMeridexMacroObject> macro;
  for (const auto& [id, size] : list) {
    std::string stored;
    if (!onboard.MacroName(id, stored)) return kExitFailed;
    if (stored == args[0]) {
      HRESULT hr = manager->OpenMacro(id, macro.Put());
      if (FAILED(hr)) return Failure(out, "could not open macro " + std::to_string(id), hr);
      break;
    }
  }
  const bool replaced = static_cast<bool>(macro);
  if (!replaced) {
    HRESULT hr = manager->CreateMacro(macro.Put());
    if (hr == E_OUTOFMEMORY) return Failure(out, "the mouse has no room for another macro", hr);
    if (FAILED(hr)) return Failure(out, "could not create a macro", hr);
  }
  LONG id = 0;
  macro->GetMacroId(&id);
  HRESULT hr = WriteMacro(macro.Get(), name, steps);
  if (FAILED(hr)) {
    // A macro made for this upload goes again rather than stay behind empty.
    if (!replaced) manager->DeleteMacro(macro.Get());
    return Failure(out,
                   hr == E_OUTOFMEMORY ? std::string("the macro does not fit in the mouse's remaining memory")
                                       : "could not store macro " + std::to_string(id),
                   hr);
  }
  Record r;
  r.Number("number", id)
      .Text("name", args[0])
      .Number("events", static_cast<int64_t>(steps.size()))
      .Number("size", static_cast<int64_t>(EncodedMacroSize(steps)))
      .Flag("replaced", replaced);
  out.Print(r);
  return kExitOk;
}

}  // namespace quill::cli
