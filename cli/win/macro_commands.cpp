// macros, macro, upload: the macros in the mouse through the macro manager and macro objects.
#include <algorithm>
#include <cstdio>

#include "cli/command_args.h"
#include "cli/macro_script.h"
#include "cli/win/commands.h"
#include "cli/win/onboard.h"

namespace quill::cli {
namespace {

constexpr int64_t kMaxMacroId = 70;

// Reads the whole of a file, or of standard input for "-", refusing more than `limit` bytes.
bool ReadInput(const std::string& path, size_t limit, std::string& text, std::string& error) {
  HANDLE file = path == "-" ? GetStdHandle(STD_INPUT_HANDLE)
                            : CreateFileW(WideFromUtf8(path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                          OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE || file == nullptr) {
    error = "cannot open " + (path == "-" ? std::string("standard input") : "'" + path + "'") + " (" +
            DescribeResult(HRESULT_FROM_WIN32(GetLastError())) + ")";
    return false;
  }
  text.clear();
  char buffer[4096];
  bool ok = true;
  for (;;) {
    DWORD got = 0;
    if (!ReadFile(file, buffer, sizeof buffer, &got, nullptr)) {
      const DWORD code = GetLastError();
      if (code == ERROR_BROKEN_PIPE || code == ERROR_HANDLE_EOF) break;  // the writer is done
      error = "cannot read " + path + " (" + DescribeResult(HRESULT_FROM_WIN32(code)) + ")";
      ok = false;
      break;
    }
    if (got == 0) break;
    if (text.size() + got > limit) {
      error = (path == "-" ? std::string("standard input") : "'" + path + "'") + " is larger than " +
              std::to_string(limit) + " bytes";
      ok = false;
      break;
    }
    text.append(buffer, got);
  }
  if (path != "-") CloseHandle(file);
  return ok;
}

std::vector<MacroStep> StepsOf(const _TMacroElement* elements, LONG count) {
  std::vector<MacroStep> steps;
  for (LONG i = 0; elements && i < count; ++i) {
    MacroStep s;
    s.action_type = elements[i].action.actionType;
    for (size_t w = 0; w < 3; ++w) s.info[w] = elements[i].action.info.alWords[w];
    s.delay_ms = elements[i].lDelayMs;
    steps.push_back(s);
  }
  return steps;
}

// The macro's events as the middleware decodes them.
HRESULT ReadSteps(IMeridexMacroObject* macro, std::vector<MacroStep>& steps) {
  _TMacroElement* elements = nullptr;
  LPWSTR icon = nullptr;
  _TMacroParams params{};
  params.ppElements = &elements;
  params.ppszIconFile = &icon;
  HRESULT hr = macro->GetMacro(&params);
  if (SUCCEEDED(hr)) steps = StepsOf(elements, params.lNumElements);
  CoTaskMemFree(elements);
  CoTaskMemFree(icon);
  return hr;
}

HRESULT WriteSteps(IMeridexMacroObject* macro, const std::vector<MacroStep>& steps) {
  std::vector<_TMacroElement> elements(steps.size());
  for (size_t i = 0; i < steps.size(); ++i) {
    elements[i].action.actionType = static_cast<_TButtonActionType>(steps[i].action_type);
    for (size_t w = 0; w < 3; ++w) elements[i].action.info.alWords[w] = steps[i].info[w];
    elements[i].lDelayMs = steps[i].delay_ms;
  }
  _TMacroElement* first = elements.data();
  _TMacroParams params{};  // fixed delay, repeat and options as the mouse's defaults
  params.lNumElements = static_cast<LONG>(elements.size());
  params.ppElements = &first;
  return macro->SetMacro(&params);
}

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
  if (out.json()) {
    if (script) head.Text("script", FormatMacroScript(steps));
    head.Records("events", events);
    out.Print(head);
  } else {
    out.Print(head);
    out.Gap();
    out.PrintTable(rows);
  }
  return kExitOk;
}

int RunUpload(DeviceSession& session, const std::vector<std::string>& args, Output& out) {
  if (args.size() != 2) return UsageError(out, "upload", "upload takes a macro name and a file (or -)");
  std::wstring name;
  if (std::string why = CheckDeviceName(args[0], name); !why.empty()) return UsageError(out, "upload", why);
  std::string text, error;
  if (!ReadInput(args[1], kMaxMacroScriptBytes, text, error)) {
    out.Error(error);
    return kExitFailed;
  }
  const MacroScriptResult parsed = ParseMacroScript(text);
  if (!parsed.ok) {
    out.Error((args[1] == "-" ? std::string("standard input") : args[1]) + " " + parsed.error +
              " (QuillfernCli help upload describes the format)");
    return kExitUsage;
  }

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
  BSTR bstr = SysAllocStringLen(name.data(), static_cast<UINT>(name.size()));
  HRESULT hr = bstr ? macro->SetMacroName(bstr) : E_OUTOFMEMORY;
  SysFreeString(bstr);
  if (SUCCEEDED(hr)) hr = WriteSteps(macro.Get(), parsed.steps);
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
      .Number("events", static_cast<int64_t>(parsed.steps.size()))
      .Number("size", static_cast<int64_t>(EncodedMacroSize(parsed.steps)))
      .Flag("replaced", replaced);
  out.Print(r);
  return kExitOk;
}

}  // namespace quill::cli
