// The loaded module: its handle (set by DllMain) and its file path.
#pragma once
#include <windows.h>

#include <string>

namespace quill::server {

void SetModuleHandle(HINSTANCE module);
HINSTANCE ModuleHandle();
// Full path of the module file; empty when it cannot be read.
std::wstring ModulePath();

}  // namespace quill::server
