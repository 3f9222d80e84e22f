#include "cli/win/macro_elements.h"

#include "winsupport/bstr.h"

namespace quill::cli {

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

std::vector<_TMacroElement> ElementsOf(const std::vector<MacroStep>& steps) {
  std::vector<_TMacroElement> elements(steps.size());
  for (size_t i = 0; i < steps.size(); ++i) {
    elements[i].action.actionType = static_cast<_TButtonActionType>(steps[i].action_type);
    for (size_t w = 0; w < 3; ++w) elements[i].action.info.alWords[w] = steps[i].info[w];
    elements[i].lDelayMs = steps[i].delay_ms;
  }
  return elements;
}

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
  std::vector<_TMacroElement> elements = ElementsOf(steps);
  _TMacroElement* first = elements.data();
  _TMacroParams params{};
  params.lNumElements = static_cast<LONG>(elements.size());
  params.ppElements = &first;
  return macro->SetMacro(&params);
}

HRESULT WriteMacro(IMeridexMacroObject* macro, const std::wstring& name, const std::vector<MacroStep>& steps) {
  const com::Bstr bstr = com::Bstr::FromText({reinterpret_cast<const char16_t*>(name.data()), name.size()});
  HRESULT hr = bstr ? macro->SetMacroName(bstr.Get()) : E_OUTOFMEMORY;
  if (SUCCEEDED(hr)) hr = WriteSteps(macro, steps);
  return hr;
}

std::optional<int> ReadMacroText(Output& out, const std::string& path, std::vector<MacroStep>& steps) {
  std::string text, error;
  if (!ReadInput(path, kMaxMacroScriptBytes, text, error)) {
    out.Error(error);
    return kExitFailed;
  }
  MacroScriptResult parsed = ParseMacroScript(text);
  if (!parsed.ok) {
    out.Error((path == "-" ? std::string("standard input") : path) + " " + parsed.error +
              " (QuillfernCli help upload describes the format)");
    return kExitUsage;
  }
  steps = std::move(parsed.steps);
  return std::nullopt;
}

}  // namespace quill::cli
