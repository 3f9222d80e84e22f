// Macro events between the macro text's steps and the middleware's _TMacroElement records (the
// same records for macros in the mouse and macros in the store).
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "ServerLib.h"
#include "cli/macro_script.h"
#include "cli/win/commands.h"

namespace quill::cli {

// The steps of `count` records (none for a null array). Hold times are not part of a step.
std::vector<MacroStep> StepsOf(const _TMacroElement* elements, LONG count);

// One record per step, hold time 0.
std::vector<_TMacroElement> ElementsOf(const std::vector<MacroStep>& steps);

// A macro's events as the middleware decodes them.
HRESULT ReadSteps(IMeridexMacroObject* macro, std::vector<MacroStep>& steps);
// Stores the events (fixed delay, repeat and options as the mouse's defaults).
HRESULT WriteSteps(IMeridexMacroObject* macro, const std::vector<MacroStep>& steps);
// Names the macro, then stores its events.
HRESULT WriteMacro(IMeridexMacroObject* macro, const std::wstring& name, const std::vector<MacroStep>& steps);

// The steps of the macro text in a file (or standard input for "-"). On failure it prints why
// and gives the exit code: 1 when the file cannot be read, 2 for a text error.
std::optional<int> ReadMacroText(Output& out, const std::string& path, std::vector<MacroStep>& steps);

}  // namespace quill::cli
